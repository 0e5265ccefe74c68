#include "platform/ColorDialog.h"

#include <QColorDialog>

namespace ColorDialog {

std::optional<QColor> GetColor(QWidget* parent, const QColor& initial, const QString& title) {
    if (Seam::Active())
        return Seam::Call(Request{initial, title});
    QColorDialog dlgColor(initial, parent);
    dlgColor.setObjectName(QStringLiteral("dlgColor"));
    if (!title.isEmpty())
        dlgColor.setWindowTitle(title);
    if (dlgColor.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlgColor.selectedColor();
}

} // namespace ColorDialog
