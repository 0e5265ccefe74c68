#include "platform/InputBox.h"

#include <QInputDialog>
#include <QLineEdit>

namespace InputBox {

namespace {

std::optional<QString> ask(QWidget* parent, const Request& r) {
    if (Seam::Active())
        return Seam::Call(r);
    QInputDialog dlgInputBox(parent);
    dlgInputBox.setObjectName(QStringLiteral("dlgInputBox"));
    dlgInputBox.setInputMode(QInputDialog::TextInput);
    if (r.password)
        dlgInputBox.setTextEchoMode(QLineEdit::Password);
    dlgInputBox.setWindowTitle(r.title);
    dlgInputBox.setLabelText(r.prompt);
    dlgInputBox.setTextValue(r.text);
    if (dlgInputBox.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlgInputBox.textValue();
}

} // namespace

std::optional<QString> GetText(QWidget* parent, const QString& title, const QString& prompt,
                               const QString& text) {
    return ask(parent, Request{title, prompt, text});
}

std::optional<QString> GetPassword(QWidget* parent, const QString& title, const QString& prompt) {
    return ask(parent, Request{title, prompt, QString(), true});
}

} // namespace InputBox
