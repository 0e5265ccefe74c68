#pragma once

#include "error/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The CSV conventions of every file the programs write and read for
// spreadsheets: UTF-8, comma-separated, CRLF lines.
namespace CsvText {
// One field: a leading = + - @ tab or carriage return gets an apostrophe so
// that a spreadsheet never runs it as a formula; quoted when it holds a
// separator, a quote or a line break.
QString Field(const QString& value);
// The fields of one line, joined, with the line end.
QString Line(const QStringList& fields);
// The fields of one line as Field wrote them: quotes removed, and the
// apostrophe Field put before a formula-like text taken away again.
QStringList Split(const QString& line);
// The lines of a file's bytes without a byte-order mark and line ends; the
// text in *text must be UTF-8 (false otherwise).
bool Lines(const QByteArray& bytes, QStringList* lines);
// Lines, and the first must be `header` (without regard to case); false with
// the reason in *error otherwise, for bytes that are not UTF-8 naming the line
// and the byte in it (counted from 1) where the fault starts.
bool LinesUnder(const QByteArray& bytes, const QString& header, QStringList* lines, Error* error);
// As above, with any of `headers` first; *which is its index.
bool LinesUnder(const QByteArray& bytes, const QStringList& headers, QStringList* lines, int* which,
                Error* error);
// Why an imported field cannot be stored: a control character in it, or
// more than `maxLength` characters; empty when it can. Values are echoed
// escaped and cut (PlainText::Echo).
QString FieldProblem(const QString& field, int maxLength = 100);
} // namespace CsvText
