#include "shared/records/clsEmployeePresenceSet.h"

#include "shared/db/DbDateTime.h"
#include "shared/records/clsPresenceSet.h"

#include <QHash>
#include <map>
#include <utility>
#include <vector>

bool clsEmployeePresenceSet::LoadByDate(DbSession& session, const QDateTime& startDate,
                                        const QDateTime& endDate) {
    clsPresenceSet records;
    if (!records.LoadSet(session, startDate, endDate))
        return false;
    // Each employee's records by day (an unreadable arrival is the zero
    // date-time's day), in the order of each employee's first record.
    std::vector<std::pair<clsSingleEmployeeMonPresence*, std::map<QDate, PresenceDay>>> days;
    QHash<QString, size_t> index;
    for (const clsPresence& p : records) {
        auto it = index.constFind(p.ENUMBER());
        if (it == index.cend()) {
            clsSingleEmployeeMonPresence* entry = Find(p.ENUMBER());
            if (!entry)
                entry = &Add(p.ENUMBER(), p.ENAME(), p.ENUMBER());
            it = index.insert(p.ENUMBER(), days.size());
            days.emplace_back(entry, std::map<QDate, PresenceDay>());
        }
        const QDate date = p.enterTime().date();
        auto& byDate = days[*it].second;
        auto day = byDate.try_emplace(date, date).first;
        day->second.Add(
            {p.enterTime(), p.exitTime(), !DbDateTime::IsZero(p.exitTime()), {}, {}, {}});
    }
    for (auto& [entry, byDate] : days)
        for (const auto& [date, day] : byDate)
            entry->AddDay(day);
    return true;
}

clsSingleEmployeeMonPresence&
clsEmployeePresenceSet::Add(const QString& ENUMBER, const QString& ENAME, const QString& sKey) {
    auto e = std::make_unique<clsSingleEmployeeMonPresence>();
    e->setENUMBER(ENUMBER);
    e->setENAME(ENAME);
    return Append(std::move(e), sKey);
}
