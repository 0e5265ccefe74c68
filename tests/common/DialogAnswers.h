#pragma once

#include "platform/FileDialog.h"
#include "platform/InputBox.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

class QWidget;

// Answers every file dialog and input box instead of showing it, while it
// lives: the queued answers in order, then cancel. Keeps each request.
class DialogAnswers {
public:
    DialogAnswers();
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    // The next answer: a path (also of an input box, as its text), several paths, cancel.
    void path(const QString& path) { m_answers.push_back(QStringList{path}); }
    void paths(const QStringList& paths) { m_answers.push_back(paths); }
    void text(const QString& text) { path(text); }
    void cancel() { m_answers.push_back(std::nullopt); }

    QList<FileDialog::Request> files;
    QList<InputBox::Request> inputs;

private:
    std::optional<QStringList> next();
    std::deque<std::optional<QStringList>> m_answers;
    FileDialog::Seam::Override m_files;
    InputBox::Seam::Override m_inputs;
};

// Runs `action` on the next modal window (other than one of class `skip`) as
// soon as it is up: how tests drive a real dialog's own event loop.
void OnNextModal(std::function<void(QWidget*)> action, const char* skip = nullptr);
