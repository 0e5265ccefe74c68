#pragma once

#include "clsCollection.h"
#include "clsPresence.h"

// Presence records of a range of days, joined with the employee's name.
class clsPresenceSet : public clsCollection<clsPresence> {
public:
    // Appends the records whose arrival lies on a day from startDate to
    // endDate inclusive (date parts only). False on a database error.
    bool LoadSet(const QDateTime& startDate, const QDateTime& endDate);
    bool LoadToday();

    clsPresence& Add(const QString& ENUMBER, const QDateTime& enterTime,
                     const QDateTime& exitTime, const QString& ENAME,
                     const QString& sKey = QString());
};
