#include "manage/FontDialog.h"

#include <QFontDialog>

namespace FontDialog {

namespace {
Handler& currentHandler() {
    static Handler handler;
    return handler;
}
} // namespace

std::optional<QFont> GetFont(QWidget* parent, const QFont& initial, const QString& title) {
    if (const Handler& handler = currentHandler())
        return handler(Request{initial, title});
    QFontDialog dlgFont(initial, parent);
    dlgFont.setObjectName(QStringLiteral("dlgFont"));
    if (!title.isEmpty())
        dlgFont.setWindowTitle(title);
    if (dlgFont.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlgFont.selectedFont();
}

void SetHandler(Handler handler) {
    currentHandler() = std::move(handler);
}

void ClearHandler() {
    currentHandler() = nullptr;
}

} // namespace FontDialog
