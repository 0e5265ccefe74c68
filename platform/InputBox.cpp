#include "platform/InputBox.h"

#include <QInputDialog>

namespace InputBox {

std::optional<QString> GetText(QWidget* parent, const QString& title, const QString& prompt,
                               const QString& text) {
    if (Seam::Active())
        return Seam::Call(Request{title, prompt, text});
    QInputDialog dlgInputBox(parent);
    dlgInputBox.setObjectName(QStringLiteral("dlgInputBox"));
    dlgInputBox.setInputMode(QInputDialog::TextInput);
    dlgInputBox.setWindowTitle(title);
    dlgInputBox.setLabelText(prompt);
    dlgInputBox.setTextValue(text);
    if (dlgInputBox.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlgInputBox.textValue();
}

} // namespace InputBox
