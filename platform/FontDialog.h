#pragma once

#include "platform/Seam.h"

#include <QFont>
#include <QString>
#include <optional>

class QWidget;

// Every font dialog of the programs goes through here, so tests can
// give the answer without a human. The dialog is a QFontDialog named dlgFont.
namespace FontDialog {

// The font chosen, starting from `initial`; nothing when cancelled.
std::optional<QFont> GetFont(QWidget* parent, const QFont& initial,
                             const QString& title = QString());

// Tests: while a Seam::Override lives, its function answers instead.
struct Request {
    QFont initial;
    QString title;
};
using Seam = ::Seam<struct FontDialogTag, std::optional<QFont>(const Request&)>;

} // namespace FontDialog
