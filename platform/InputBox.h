#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Every one-line question to the user goes through here, so tests can give
// the answer without a human. The dialog is a QInputDialog named dlgInputBox.
namespace InputBox {

// The text entered (`text` proposed), or nothing when cancelled.
std::optional<QString> GetText(QWidget* parent, const QString& title, const QString& prompt,
                               const QString& text = QString());

// Tests: every request goes to the handler instead of a dialog.
struct Request {
    QString title;
    QString prompt;
    QString text;
};
using Handler = std::function<std::optional<QString>(const Request&)>;
void SetHandler(Handler handler);
void ClearHandler();

} // namespace InputBox
