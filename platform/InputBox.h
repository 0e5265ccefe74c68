#pragma once

#include "platform/Seam.h"

#include <QString>
#include <optional>

class QWidget;

// Every one-line question to the user goes through here, so tests can give
// the answer without a human. The dialog is a QInputDialog named dlgInputBox.
namespace InputBox {

// The text entered (`text` proposed), or nothing when cancelled.
std::optional<QString> GetText(QWidget* parent, const QString& title, const QString& prompt,
                               const QString& text = QString());

// The same with the typed text hidden (a password).
std::optional<QString> GetPassword(QWidget* parent, const QString& title, const QString& prompt);

// Tests: while a Seam::Override lives, its function answers instead.
struct Request {
    QString title;
    QString prompt;
    QString text;
    bool password = false;
};
using Seam = ::Seam<struct InputBoxTag, std::optional<QString>(const Request&)>;

} // namespace InputBox
