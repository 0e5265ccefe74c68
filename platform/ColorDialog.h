#pragma once

#include "platform/Seam.h"

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

// Every colour dialog of the programs goes through here, so tests can
// give the answer without a human. The dialog is a QColorDialog named dlgColor.
namespace ColorDialog {

// The colour chosen, starting on `initial`; nothing when cancelled.
std::optional<QColor> GetColor(QWidget* parent, const QColor& initial,
                               const QString& title = QString());

// Tests: while a Seam::Override lives, its function answers instead.
struct Request {
    QColor initial;
    QString title;
};
using Seam = ::Seam<struct ColorDialogTag, std::optional<QColor>(const Request&)>;

} // namespace ColorDialog
