#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Every font dialog of the office program goes through here, so tests can
// give the answer without a human. The dialog is a QFontDialog named dlgFont.
namespace FontDialog {

// The font chosen, starting from `initial`; nothing when cancelled.
std::optional<QFont> GetFont(QWidget* parent, const QFont& initial,
                             const QString& title = QString());

// Tests: every request goes to the handler instead of a dialog.
struct Request {
    QFont initial;
    QString title;
};
using Handler = std::function<std::optional<QFont>(const Request&)>;
void SetHandler(Handler handler);
void ClearHandler();

} // namespace FontDialog
