#pragma once

#include "error/Error.h"

#include "shared/rowset/RowSet.h"

#include <QByteArray>
#include <QString>

// Reads the row-set XML persistence format: rows inside rs:insert and
// rs:update (merged with its original and rs:forcenull) are visible, rows
// inside rs:delete are checked but hidden. Anything that is not such a row set
// gives false and a message naming the line.
class RowSetXmlReader {
public:
    static bool Parse(const QByteArray& bytes, RowSet* out, Error* error = nullptr);
};
