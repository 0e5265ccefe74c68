#pragma once

#include "shared/db/DbErrors.h"

#include "shared/attendance/WorkSchedule.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The working hours as CSV (UTF-8, a header line): one line per department
// (by name, "*" for the unit) and weekday,
// dept,weekday,working,start,end,late_grace,early_grace
// with weekday 1 = Monday ... 7 = Sunday, working 0/1, HH:MM times and
// grace minutes (0-240). A department without lines follows the unit. A
// rest day's times are not used: they may be empty and are not checked.
// Texts hold no control characters and at most 100 characters.
namespace ScheduleFile {
QString Header();
// The unit's seven lines, then each department's, by name.
QByteArray Bytes(const ScheduleBook& book);
// Reads a whole file; `departments` are the known department names. On the
// first fault false with "line N: reason" in *error and *out unchanged.
bool Parse(const QByteArray& bytes, const QStringList& departments, ScheduleBook* out,
           Error* error);
} // namespace ScheduleFile
