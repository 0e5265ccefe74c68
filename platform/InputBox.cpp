#include "platform/InputBox.h"

#include <QInputDialog>

namespace InputBox {

namespace {
Handler& currentHandler() {
    static Handler handler;
    return handler;
}
} // namespace

std::optional<QString> GetText(QWidget* parent, const QString& title, const QString& prompt,
                               const QString& text) {
    if (const Handler& handler = currentHandler())
        return handler(Request{title, prompt, text});
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

void SetHandler(Handler handler) {
    currentHandler() = std::move(handler);
}

void ClearHandler() {
    currentHandler() = nullptr;
}

} // namespace InputBox
