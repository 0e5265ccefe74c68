#pragma once

#include "error/Error.h"

#include "shared/rowset/RowSet.h"

#include <QByteArray>
#include <QString>

// Encodes a row set in the row-set XML persistence format (UTF-8, CRLF, tabs,
// no BOM; one AttributeType per column, z:row elements, bin.hex binaries,
// dateTime values, null as an absent attribute).
class RowSetXmlWriter {
public:
    // The format's bytes. A value the format cannot carry faithfully is
    // written as a well-formed stand-in; *firstProblem then describes the
    // first such value (it stays empty otherwise).
    static QByteArray Serialize(const RowSet& rs, Error* firstProblem = nullptr);
};
