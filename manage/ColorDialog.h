#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Every colour dialog of the office program goes through here, so tests can
// give the answer without a human. The dialog is a QColorDialog named dlgColor.
namespace ColorDialog {

// The colour chosen, starting on `initial`; nothing when cancelled.
std::optional<QColor> GetColor(QWidget* parent, const QColor& initial,
                               const QString& title = QString());

// Tests: every request goes to the handler instead of a dialog.
struct Request {
    QColor initial;
    QString title;
};
using Handler = std::function<std::optional<QColor>(const Request&)>;
void SetHandler(Handler handler);
void ClearHandler();

} // namespace ColorDialog
