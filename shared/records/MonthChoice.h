#pragma once

#include <QDate>
#include <QStringList>

// The month choice of the monthly report and the monthly export: the year
// and month lists, the default (the previous calendar month) and the days of
// a month.
namespace MonthChoice {

struct YearMonth {
    int year = 0;
    int month = 0; // 1..12
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

} // namespace MonthChoice
