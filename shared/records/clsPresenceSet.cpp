#include "shared/records/clsPresenceSet.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"

#include <QHash>
#include <QSqlError>
#include <algorithm>
#include <vector>

bool clsPresenceSet::LoadSet(DbSession& session, const QDateTime& startDate,
                             const QDateTime& endDate) {
    // Half-open range on the stored text: from the start day up to the day
    // after the end. Callers pass dates at midnight. A record finds its
    // employee whatever the case of the number's letters.
    auto q = DbQuery::Read(
        session,
        QStringLiteral("SELECT Employee.ENAME, Employee.ENUMBER, Presence.ENUMBER, "
                       "Presence.ENTERTIME, Presence.EXITTIME "
                       "FROM Presence, Employee WHERE %1 AND Presence.ENTERTIME >= ? AND "
                       "Presence.ENTERTIME < ? ORDER BY Presence.ENTERTIME, Presence.ENUMBER")
            .arg(DbDialect::NoCaseEquals(session.Engine(), QStringLiteral("Employee.ENUMBER"),
                                         QStringLiteral("Presence.ENUMBER"))),
        {DbDateTime::DayStart(startDate.date()), DbDateTime::DayEnd(endDate.date())});
    if (!q)
        return false;
    struct Row {
        QString name, employee, number;
        QDateTime enter, exit;
        qint64 order; // the arrival as milliseconds, without time-zone work
    };
    std::vector<Row> rows;
    // Numbers whose rows also found an employee spelled otherwise: the one
    // spelled alike wins, else the first of the others by number, so numbers
    // that differ only in case never share rows.
    QHash<QString, QString> otherSpelling;
    while (q->next()) {
        QDateTime enter = DbDateTime::FromText(q->value(3).toString());
        QDateTime exit =
            q->isNull(4) ? DbDateTime::Zero() : DbDateTime::FromText(q->value(4).toString());
        enter = enter.isValid() ? enter : DbDateTime::Zero();
        exit = exit.isValid() ? exit : DbDateTime::Zero();
        const qint64 order =
            enter.date().toJulianDay() * 86400000 + enter.time().msecsSinceStartOfDay();
        Row r{q->value(0).toString(),
              q->value(1).toString(),
              q->value(2).toString(),
              enter,
              exit,
              order};
        if (r.employee != r.number) {
            auto it = otherSpelling.find(r.number);
            if (it == otherSpelling.end() || r.employee < *it)
                otherSpelling.insert(r.number, r.employee);
        }
        rows.push_back(std::move(r));
    }
    if (!otherSpelling.isEmpty())
        for (const Row& r : rows)
            if (r.employee == r.number && otherSpelling.contains(r.number))
                otherSpelling.insert(r.number, r.number);
    // In order of arrival by time, not by text ("8:30" comes before
    // "10:00:00"): the first record of a day is the one that counts.
    const auto byTime = [](const Row& a, const Row& b) { return a.order < b.order; };
    if (!std::is_sorted(rows.begin(), rows.end(), byTime))
        std::stable_sort(rows.begin(), rows.end(), byTime);
    for (const Row& r : rows)
        if (r.employee == otherSpelling.value(r.number, r.number))
            Add(r.employee, r.enter, r.exit, r.name);
    // A read that failed part-way is a failure, not a shorter list.
    return !q->lastError().isValid();
}

bool clsPresenceSet::LoadToday(DbSession& session) {
    const QDateTime midnight(AppClock::now().date(), QTime(0, 0, 0));
    return LoadSet(session, midnight, midnight);
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
