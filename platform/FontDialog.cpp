#include "platform/FontDialog.h"

#include <QFontDialog>

namespace FontDialog {

std::optional<QFont> GetFont(QWidget* parent, const QFont& initial, const QString& title) {
    if (Seam::Active())
        return Seam::Call(Request{initial, title});
    QFontDialog dlgFont(initial, parent);
    dlgFont.setObjectName(QStringLiteral("dlgFont"));
    if (!title.isEmpty())
        dlgFont.setWindowTitle(title);
    if (dlgFont.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlgFont.selectedFont();
}

} // namespace FontDialog
