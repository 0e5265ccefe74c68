#pragma once

#include "RowSet.h"

#include <QString>

// Prints a row set as text: its columns with their types, then its rows as
// an aligned table. Binary values appear as their byte count and SHA-256.
namespace RowSetDump {

QString Format(const RowSet& rs);
// One value as it appears in the table.
QString FormatValue(const RowSetColumn& column, const QVariant& value);
// Columns a text occupies on a terminal (East Asian wide characters count two).
int DisplayWidth(const QString& text);

} // namespace RowSetDump
