#pragma once

#include <QDateTime>
#include <QString>

// Date-times are stored as text "yyyy-MM-dd HH:mm:ss". Rows written by other
// tools may hold any text form SQLite's date functions read: a date alone,
// minutes without seconds, fractions of a second, a 'T' between date and
// time, a one-digit hour, or a time alone (read as 2000-01-01, as SQLite
// does). A day is the set of values whose text starts with "yyyy-MM-dd", so
// day ranges run from the day's date text (which sorts before every value of
// that day, the date alone included) up to, not including, the next day's.
namespace DbDateTime {

// 1899-12-30 00:00:00: "no time" (no departure, no record that day).
QDateTime Zero();
bool IsZero(const QDateTime& t);

QString ToText(const QDateTime& t);   // "yyyy-MM-dd HH:mm:ss"
QString DayText(const QDate& d);      // "yyyy-MM-dd"
QDateTime FromText(const QString& s); // invalid QDateTime when unreadable

// Lower bound of the day (inclusive) and of the next day (exclusive) for
// comparisons on the stored text: "yyyy-MM-dd" of the day and of the next day.
QString DayStart(const QDate& d);
QString DayEnd(const QDate& d);

// The decimal digits s[from, from + n) as a number, or -1 (s holds them).
int Digits(const QString& s, int from, int n);

} // namespace DbDateTime
