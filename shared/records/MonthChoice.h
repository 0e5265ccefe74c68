#pragma once

#include <QDate>
#include <QStringList>

// The month choice of the monthly report and the monthly export: the year
// and month lists, the default (the previous calendar month), the days of a
// month, and a month read from what the user or a command line gave.
namespace MonthChoice {

struct YearMonth {
    int year = 0;
    int month = 0; // 1..12
    bool IsValid() const { return year != 0 && month != 0; }
};

// Gregorian rule: every fourth year, except centuries not divisible by 400.
bool IsLeapYear(int year);
// 28 to 31; 0 for a month outside 1..12.
int LastDay(int year, int month);
// The calendar month before the one of `today`.
YearMonth PreviousMonth(const QDate& today);
// "2007" to "2010", then every later year up to `currentYear`.
QStringList YearList(int currentYear);
// "1" to "12", without leading zeros.
QStringList MonthList();
// First and last day of a month (invalid dates for a month outside 1..12).
QDate FirstDate(int year, int month);
QDate LastDate(int year, int month);

// The month named by the text of its year and of its month ("2024" and "3"
// or "03"; spaces around allowed). A part that is no number, a year outside
// [firstYear, lastYear] or a month outside 1..12 reads as 0, so that the
// caller can say which part is wrong.
YearMonth Parse(const QString& year, const QString& month, int firstYear = 1, int lastYear = 9999);
// A month written "yyyy-M" ("2024-3", "2024-03"; spaces around allowed),
// its parts read as Parse reads them; invalid (both 0) for any other text.
YearMonth ParseText(const QString& text);

} // namespace MonthChoice
