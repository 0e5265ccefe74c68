#include "manage/ColorDialog.h"

#include <QColorDialog>

namespace ColorDialog {

namespace {
Handler& currentHandler() {
    static Handler handler;
    return handler;
}
} // namespace

std::optional<QColor> GetColor(QWidget* parent, const QColor& initial, const QString& title) {
    if (const Handler& handler = currentHandler())
        return handler(Request{initial, title});
    QColorDialog dlgColor(initial, parent);
    dlgColor.setObjectName(QStringLiteral("dlgColor"));
    if (!title.isEmpty())
        dlgColor.setWindowTitle(title);
    if (dlgColor.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlgColor.selectedColor();
}

void SetHandler(Handler handler) {
    currentHandler() = std::move(handler);
}

void ClearHandler() {
    currentHandler() = nullptr;
}

} // namespace ColorDialog
