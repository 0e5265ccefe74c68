#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsSingleEmployeeMonPresence.h"

class DbSession;

// The month table: one member per employee with a record in the range, in
// the order of each employee's first record, keyed by ENUMBER.
class clsEmployeePresenceSet : public clsCollection<clsSingleEmployeeMonPresence> {
public:
    // The records on `session` as clsPresenceSet::LoadSet reads them.
    bool LoadByDate(DbSession& session, const QDateTime& startDate, const QDateTime& endDate);
    clsSingleEmployeeMonPresence& Add(const QString& ENUMBER, const QString& ENAME,
                                      const QString& sKey = QString());
};
