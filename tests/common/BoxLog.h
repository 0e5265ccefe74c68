#pragma once

#include "platform/MsgBox.h"

#include <QList>
#include <QString>

// Takes every message box instead of showing it, while it lives, and keeps
// what the user would have seen.
class BoxLog {
public:
    BoxLog() { install(); }
    ~BoxLog();
    BoxLog(const BoxLog&) = delete;
    BoxLog& operator=(const BoxLog&) = delete;

    // Takes the boxes again after a test has shown real ones.
    void install();
    void clear() { shown.clear(); }
    bool isEmpty() const { return shown.isEmpty(); }
    qsizetype size() const { return shown.size(); }
    // Every box so far, one box() line each, so that one comparison checks
    // the number of boxes, their texts, titles and icons.
    QString lines() const;

    QList<MsgBox::Shown> shown;
};

// One line of BoxLog::lines().
QString box(const QString& title, const QString& text,
            MsgBox::Icon icon = MsgBox::Icon::Exclamation);
