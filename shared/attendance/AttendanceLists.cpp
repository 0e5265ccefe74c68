#include "shared/attendance/AttendanceLists.h"

#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"

#include <QSqlError>

#include <algorithm>

namespace AttendanceLists {

bool NotArrivedToday(DbSession& session, const QDateTime& now, std::vector<ListedEmployee>* out,
                     Error* error) {
    const QDate today = now.date();
    MonthSummary month;
    if (!MonthSummary::Load(session, today.year(), today.month(), today, &month, error))
        return false;
    out->clear();
    for (const EmployeeSummary& e : month.employees) {
        const DayVerdict& v = e.days[today.day() - 1];
        if (v.kind == DayKind::Working && !v.present)
            out->push_back(ListedEmployee{e.number, e.name, e.dept, QDateTime()});
    }
    return true;
}

bool MissingDepartures(DbSession& session, const QDate& from, const QDate& to,
                       std::vector<ListedEmployee>* out, Error* error) {
    // A record finds its employee whatever the case of the number's letters.
    auto q = DbQuery::Read(
        session,
        QStringLiteral("SELECT Presence.ENUMBER, Presence.ENTERTIME, Presence.EXITTIME, "
                       "Employee.ENUMBER, Employee.ENAME, Dept.DNAME FROM Presence "
                       "LEFT JOIN Employee ON %1 LEFT JOIN Dept ON Dept.ID = Employee.DID "
                       "WHERE Presence.ENTERTIME >= ? AND Presence.ENTERTIME < ?")
            .arg(DbDialect::NoCaseEquals(session.Engine(), QStringLiteral("Employee.ENUMBER"),
                                         QStringLiteral("Presence.ENUMBER"))),
        {DbDateTime::DayStart(from), DbDateTime::DayEnd(to)}, error);
    if (!q)
        return false;
    // A record dated after today (a clock set wrong) is ignored, as the
    // month summary ignores it.
    const QDate today = AppClock::now().date();
    // Rows by record (number and arrival text): the employee spelled alike wins.
    std::map<std::pair<QString, QString>, ListedEmployee> found;
    while (q->next()) {
        const QString exit = q->value(2).toString();
        const QDateTime departure = DbDateTime::FromText(exit);
        if (departure.isValid() && !DbDateTime::IsZero(departure))
            continue;
        const QString number = q->value(0).toString();
        const QDateTime arrival = DbDateTime::FromText(q->value(1).toString());
        if (!arrival.isValid() || arrival.date() < from || arrival.date() > to ||
            arrival.date() > today)
            continue;
        const auto key = std::make_pair(number, q->value(1).toString());
        const auto it = found.find(key);
        const bool alike = q->value(3).toString() == number;
        if (it != found.end() && !alike)
            continue;
        found[key] = ListedEmployee{q->isNull(3) ? number : q->value(3).toString(),
                                    q->value(4).toString(), q->value(5).toString(), arrival};
    }
    if (q->lastError().isValid())
        return DbErrors::From(q->lastError()).Report(error);
    out->clear();
    for (auto& [key, row] : found)
        out->push_back(std::move(row));
    std::stable_sort(
        out->begin(), out->end(), [](const ListedEmployee& a, const ListedEmployee& b) {
            return a.arrival != b.arrival ? a.arrival < b.arrival : a.number < b.number;
        });
    return true;
}

} // namespace AttendanceLists
