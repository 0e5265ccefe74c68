#pragma once

#include "shared/db/DbErrors.h"

#include <QByteArray>
#include <QString>

class MonthSummary;

// The month's summary as CSV (UTF-8 with a byte-order mark, CRLF lines): a
// header line, then one line per employee with number, name, department,
// working days, days present, late count and minutes, early-departure count
// and minutes, missing departures, absent days and the worked time (H:mm).
namespace SummaryCsv {
QByteArray Bytes(const MonthSummary& summary);
// Writes the file whole or not at all; an existing file is never replaced.
bool Write(const MonthSummary& summary, const QString& path, Error* error);
} // namespace SummaryCsv
