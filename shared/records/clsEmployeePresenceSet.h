#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsSingleEmployeeMonPresence.h"

// The month table: one member per employee with a record in the range, in
// the order of each employee's first record, keyed by ENUMBER.
class clsEmployeePresenceSet : public clsCollection<clsSingleEmployeeMonPresence> {
public:
    bool LoadByDate(const QDateTime& startDate, const QDateTime& endDate);
    clsSingleEmployeeMonPresence& Add(const QString& ENUMBER, const QString& ENAME,
                                      const QString& sKey = QString());
};
