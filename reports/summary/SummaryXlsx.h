#pragma once

#include <QString>

class MonthSummary;

// The month's summary as a spreadsheet: sheet "汇总" with one row per
// employee (counts as numbers, the worked time as a duration), a total row
// of SUM formulas and each department's total; sheet "明细" with one row per
// employee and day (arrival and departure as date-times, the worked time as a
// duration, the day's verdict). Texts are always written as text, never as
// formulas. The file appears whole under its name or not at all and never
// replaces an existing one.
namespace SummaryXlsx {
bool Write(const MonthSummary& summary, const QString& unitName, const QString& path,
           QString* error);
} // namespace SummaryXlsx
