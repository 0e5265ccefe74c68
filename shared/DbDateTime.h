#pragma once

#include <QDateTime>
#include <QString>

// Date-times are stored as text "yyyy-MM-dd HH:mm:ss". A day is the set of
// values whose text starts with "yyyy-MM-dd"; day ranges are half-open.
namespace DbDateTime {

// 1899-12-30 00:00:00: "no time" (no departure, no record that day).
QDateTime Zero();
bool IsZero(const QDateTime& t);

QString ToText(const QDateTime& t);   // "yyyy-MM-dd HH:mm:ss"
QString DayText(const QDate& d);      // "yyyy-MM-dd"
QDateTime FromText(const QString& s); // invalid QDateTime when unreadable

// Lower bound of the day (inclusive) and of the next day (exclusive), as stored text.
QString DayStart(const QDate& d);
QString DayEnd(const QDate& d);

} // namespace DbDateTime
