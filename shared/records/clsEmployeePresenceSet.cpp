#include "shared/records/clsEmployeePresenceSet.h"

#include "shared/records/clsPresenceSet.h"

bool clsEmployeePresenceSet::LoadByDate(const QDateTime& startDate, const QDateTime& endDate) {
    clsPresenceSet records;
    if (!records.LoadSet(startDate, endDate))
        return false;
    for (const clsPresence& p : records) {
        clsSingleEmployeeMonPresence* entry = Find(p.ENUMBER());
        if (!entry)
            entry = &Add(p.ENUMBER(), p.ENAME(), p.ENUMBER());
        entry->AddPresence(p.enterTime(), p.exitTime());
    }
    return true;
}

clsSingleEmployeeMonPresence&
clsEmployeePresenceSet::Add(const QString& ENUMBER, const QString& ENAME, const QString& sKey) {
    auto e = std::make_unique<clsSingleEmployeeMonPresence>();
    e->setENUMBER(ENUMBER);
    e->setENAME(ENAME);
    return Append(std::move(e), sKey);
}
