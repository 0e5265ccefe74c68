#pragma once

#include "platform/MsgBox.h"

#include <QList>
#include <QString>

// Takes every message box instead of showing it, while it lives, and keeps
// what the user would have seen. Ok boxes get Ok, questions the queued
// answers in order, then No.
class BoxLog {
public:
    BoxLog();
    BoxLog(const BoxLog&) = delete;
    BoxLog& operator=(const BoxLog&) = delete;

    // Forgets the boxes and the answers not given yet.
    void clear() {
        shown.clear();
        m_answers.clear();
    }
    void answer(const QList<MsgBox::Result>& answers) { m_answers += answers; }
    bool isEmpty() const { return shown.isEmpty(); }
    qsizetype size() const { return shown.size(); }
    // Every box so far, one box() line each, so that one comparison checks
    // the number of boxes, their texts, titles and icons.
    QString lines() const;

    QList<MsgBox::Shown> shown;

private:
    QList<MsgBox::Result> m_answers;
    MsgBox::Seam::Override m_seam;
};

// One line of BoxLog::lines().
QString box(const QString& title, const QString& text,
            MsgBox::Icon icon = MsgBox::Icon::Exclamation);
