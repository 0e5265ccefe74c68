#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsPresence.h"

class DbSession;

// Presence records of a range of days, joined with the employee's name, in
// order of arrival time. ENUMBER is the employee's own spelling of the number.
class clsPresenceSet : public clsCollection<clsPresence> {
public:
    // Appends the records on `session` whose arrival lies from startDate up
    // to, not including, endDate + 1 day (callers pass dates at midnight, so
    // whole days). False on a database error, also one part-way through the
    // rows; records read before it stay.
    bool LoadSet(DbSession& session, const QDateTime& startDate, const QDateTime& endDate);
    bool LoadToday(DbSession& session);

    clsPresence& Add(const QString& ENUMBER, const QDateTime& enterTime, const QDateTime& exitTime,
                     const QString& ENAME, const QString& sKey = QString());
};
