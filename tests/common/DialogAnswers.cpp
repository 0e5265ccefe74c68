#include "tests/common/DialogAnswers.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

DialogAnswers::DialogAnswers()
    : m_files([this](const FileDialog::Request& r) {
          files << r;
          return next().value_or(QStringList());
      }),
      m_inputs([this](const InputBox::Request& r) -> std::optional<QString> {
          inputs << r;
          const std::optional<QStringList> answer = next();
          return answer ? std::optional<QString>(answer->value(0)) : std::nullopt;
      }) {}

std::optional<QStringList> DialogAnswers::next() {
    if (m_answers.empty())
        return std::nullopt;
    std::optional<QStringList> answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

void OnNextModal(std::function<void(QWidget*)> action, const char* skip) {
    // Owned by the application until the window is found.
    auto* poll = new QTimer(QCoreApplication::instance());
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action = std::move(action), skip] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || (skip && w->inherits(skip)))
            return;
        poll->stop();
        poll->deleteLater();
        action(w);
    });
    poll->start();
}
