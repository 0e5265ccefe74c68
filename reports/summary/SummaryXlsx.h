#pragma once

#include "shared/db/DbErrors.h"

#include <QString>

class MonthSummary;

// The month's summary as a spreadsheet: sheet "汇总" with one row per
// employee (counts as numbers, the worked time as a duration), a total row
// of SUM formulas and each department's total; sheet "明细" with one row per
// employee and day (arrival and departure as date-times, the worked time as a
// duration, the day's verdict). Texts are always written as text, never as
// formulas. Like the CSV's columns, its texts are the source texts (Chinese)
// in every language: a file that other workbooks and scripts read. It is made in a private folder
// beside `path` (a folder left by a killed run is removed by the next) and appears whole under its
// name or not at all, never replacing an existing one; a failure names `path`. Its creation time is
// SOURCE_DATE_EPOCH when set, so the same records give the same bytes.
namespace SummaryXlsx {
bool Write(const MonthSummary& summary, const QString& unitName, const QString& path,
           Error* error);
} // namespace SummaryXlsx
