#include "shared/records/clsPresenceSet.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/clsDbConn.h"

#include <QSqlError>

bool clsPresenceSet::LoadSet(const QDateTime& startDate, const QDateTime& endDate) {
    // Half-open range on the stored text: from the start day up to the day
    // after the end. Callers pass dates at midnight. In order of arrival (the
    // first record of a day is the one that counts), on every engine. A
    // record finds its employee whatever the case of the number's letters.
    auto q = DbQuery::Read(
        QStringLiteral(
            "SELECT Employee.ENAME, Presence.ENUMBER, Presence.ENTERTIME, Presence.EXITTIME "
            "FROM Presence, Employee WHERE %1 AND Presence.ENTERTIME >= ? AND "
            "Presence.ENTERTIME < ? ORDER BY Presence.ENTERTIME, Presence.ENUMBER")
            .arg(DbDialect::NoCaseEquals(clsDbConn::SharedEngine(),
                                         QStringLiteral("Employee.ENUMBER"),
                                         QStringLiteral("Presence.ENUMBER"))),
        {DbDateTime::DayStart(startDate.date()), DbDateTime::DayEnd(endDate.date())});
    if (!q)
        return false;
    while (q->next()) {
        const QDateTime enter = DbDateTime::FromText(q->value(2).toString());
        const QDateTime exit =
            q->isNull(3) ? DbDateTime::Zero() : DbDateTime::FromText(q->value(3).toString());
        Add(q->value(1).toString(), enter.isValid() ? enter : DbDateTime::Zero(),
            exit.isValid() ? exit : DbDateTime::Zero(), q->value(0).toString());
    }
    // A read that failed part-way is a failure, not a shorter list.
    return !q->lastError().isValid();
}

bool clsPresenceSet::LoadToday() {
    const QDateTime midnight(AppClock::now().date(), QTime(0, 0, 0));
    return LoadSet(midnight, midnight);
}

clsPresence& clsPresenceSet::Add(const QString& ENUMBER, const QDateTime& enterTime,
                                 const QDateTime& exitTime, const QString& ENAME,
                                 const QString& sKey) {
    auto p = std::make_unique<clsPresence>();
    p->setENUMBER(ENUMBER);
    p->setenterTime(enterTime);
    p->setexitTime(exitTime);
    p->setENAME(ENAME);
    return Append(std::move(p), sKey);
}
