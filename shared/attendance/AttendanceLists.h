#pragma once

#include "shared/db/DbErrors.h"

#include <QDateTime>
#include <QString>

#include <vector>

class DbSession;

struct ListedEmployee {
    QString number, name, dept;
    QDateTime arrival;
};

// The lists the office looks at during the day.
namespace AttendanceLists {
// Employees for whom `now`'s date is a working day (by their department's
// hours and the calendar, from their entry date on) and who have no arrival
// yet today, by department, then number.
bool NotArrivedToday(DbSession& session, const QDateTime& now, std::vector<ListedEmployee>* out,
                     Error* error = nullptr);
// Records without departure whose arrival lies in [from, to] and not after
// today (AppClock), in arrival order.
bool MissingDepartures(DbSession& session, const QDate& from, const QDate& to,
                       std::vector<ListedEmployee>* out, Error* error = nullptr);
} // namespace AttendanceLists
