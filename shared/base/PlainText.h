#pragma once

#include <QString>

// Texts shown on a terminal or in a message: control characters written as
// escapes, so that a value can neither start a line of its own nor send
// the terminal a command, and long values cut.
namespace PlainText {
// A C0 control character, DEL or a C1 control character.
bool IsControl(QChar c);
bool HasControl(const QString& text);
// Backslash doubled, \n, \r and \t as such, every other control character as
// \xHH (ESC as \x1b); the rest unchanged.
QString Escaped(const QString& text);
// Escaped, cut to `max` characters with "..." where it is longer: a value
// echoed in an error message.
QString Echo(const QString& text, int max = 80);
} // namespace PlainText
