#pragma once

#include "shared/rowset/RowSet.h"

#include <QString>

#include <QTextStream>

// Prints a row set as text: its columns with their types, then its rows as
// an aligned table. Binary values appear as their byte count and SHA-256;
// longer texts are cut at MaxValueWidth columns (a note line says so), so one
// huge value cannot blow up every row.
namespace RowSetDump {

constexpr int MaxValueWidth = 60;

// Writes the table line by line; no formatted row is kept.
void Write(const RowSet& rs, QTextStream& out);
QString Format(const RowSet& rs);
// One value as it appears in the table.
QString FormatValue(const RowSetColumn& column, const QVariant& value);
// Columns a text occupies on a terminal (East Asian wide characters count two).
int DisplayWidth(const QString& text);

} // namespace RowSetDump
