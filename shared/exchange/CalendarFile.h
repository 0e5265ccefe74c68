#pragma once

#include "shared/db/DbErrors.h"

#include "shared/attendance/WorkCalendar.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// The calendar as CSV (UTF-8, a header line): date,kind,name,as_weekday with
// the date as YYYY-MM-DD (1900-2100), kind holiday, workday or rest, the name
// of the holiday (a make-up workday names the holiday it belongs to) and, for
// a make-up workday, the weekday whose hours it works (1-7, may be empty).
// Files of the three columns date,kind,name are read too. Texts hold no
// control characters and at most 100 characters.
namespace CalendarFile {
QString Header();
QByteArray Bytes(const std::vector<CalendarDay>& days);
// Reads a whole file: its dates in order and the years they name. On the
// first fault false with "line N: reason" in *error and the outputs unchanged.
bool Parse(const QByteArray& bytes, std::vector<CalendarDay>* days, QList<int>* years,
           Error* error);
} // namespace CalendarFile
