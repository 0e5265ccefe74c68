#pragma once

#include "shared/attendance/WorkCalendar.h"
#include "shared/attendance/WorkSchedule.h"
#include "shared/db/DbErrors.h"

#include <QDate>
#include <QList>

#include <vector>

class DbSession;

// Reads and replaces the working hours and the calendar on the shared
// connection, each in one transaction, on either engine. A database without
// the rule tables (a read-only older file) reads as the defaults.
namespace AttendanceStore {
// The unit's hours ('*' rows over the default) and each department's (its
// rows over the unit's hours).
bool LoadSchedules(DbSession& session, ScheduleBook* out, Error* error = nullptr);
// Replaces every stored schedule with `book`: the unit's seven days and
// seven for each department in it.
bool ReplaceSchedules(DbSession& session, const ScheduleBook& book, Error* error = nullptr);
// The calendar's dates from `from` to `to` (both included) into *out.
bool LoadCalendar(DbSession& session, const QDate& from, const QDate& to, WorkCalendar* out,
                  Error* error = nullptr);
constexpr int kMaxCalendarName = 100; // characters
// Removes the dates of `years` and stores `days` (of those years), all or
// nothing; nothing when a name holds a control character or more than
// kMaxCalendarName characters.
bool ReplaceCalendarYears(DbSession& session, const QList<int>& years,
                          const std::vector<CalendarDay>& days, Error* error = nullptr);
} // namespace AttendanceStore
