#include "shared/attendance/AttendanceStore.h"

#include "shared/base/PlainText.h"
#include "shared/db/DbCatalog.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/clsDbConn.h"

#include <QSqlError>

namespace AttendanceStore {

namespace {

const QString kUnit = QStringLiteral("*");

// A failed read of a table that an older, read-only database lacks reads as
// empty (true); any other failure is one.
bool absentTable(DbSession& session, const DbCatalog::Table& table, const Error& failure,
                 Error* error) {
    if (!clsDbConn::HasTable(session.Connection(), table))
        return true;
    return failure.Report(error);
}

bool insertWeek(DbTransaction& tx, const QString& dept, const WorkSchedule& week) {
    const QString sql = QStringLiteral("INSERT INTO WorkSchedule(%1) VALUES (?, ?, ?, ?, ?, ?, ?)")
                            .arg(DbCatalog::ScheduleTable().ColumnList());
    for (int d = 1; d <= 7; ++d) {
        const DaySchedule& s = week.Day(d);
        if (tx.Exec(sql, {dept, d, s.working ? 1 : 0, DaySchedule::TimeText(s.start),
                          DaySchedule::TimeText(s.end), s.lateGrace, s.earlyGrace}) < 0)
            return false;
    }
    return true;
}

// KIND holds the kind's key; a make-up workday that works another
// weekday's hours adds it: "workday:6".
QString kindText(const CalendarDay& d) {
    const QString key = CalendarKindKey(d.kind);
    return d.kind == CalendarKind::Workday && d.asWeekday >= 1 && d.asWeekday <= 7
               ? key + QLatin1Char(':') + QString::number(d.asWeekday)
               : key;
}

bool parseKind(const QString& text, CalendarDay* day) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (!ParseCalendarKind(colon < 0 ? text : text.left(colon), &day->kind))
        return false;
    bool number = false;
    const int weekday = colon < 0 ? 0 : text.mid(colon + 1).toInt(&number);
    day->asWeekday =
        day->kind == CalendarKind::Workday && number && weekday >= 1 && weekday <= 7 ? weekday : 0;
    return true;
}

} // namespace

bool LoadSchedules(DbSession& session, ScheduleBook* out, Error* error) {
    *out = ScheduleBook();
    Error failure;
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT %1 FROM WorkSchedule ORDER BY DNAME, WEEKDAY")
                               .arg(DbCatalog::ScheduleTable().ColumnList()),
                           {}, &failure);
    if (!q)
        return absentTable(session, DbCatalog::ScheduleTable(), failure, error);
    std::map<QString, std::vector<std::pair<int, DaySchedule>>> rows;
    while (q->next()) {
        const int weekday = q->value(1).toInt();
        if (weekday < 1 || weekday > 7)
            continue;
        DaySchedule s{q->value(2).toInt() != 0,
                      QTime::fromString(q->value(3).toString(), QStringLiteral("HH:mm")),
                      QTime::fromString(q->value(4).toString(), QStringLiteral("HH:mm")),
                      q->value(5).toInt(), q->value(6).toInt()};
        rows[q->value(0).toString()].emplace_back(weekday, s);
    }
    if (q->lastError().isValid())
        return DbErrors::From(q->lastError()).Report(error);
    for (const auto& [weekday, day] : rows[kUnit])
        out->unit.Day(weekday) = day;
    for (const auto& [dept, days] : rows) {
        if (dept == kUnit)
            continue;
        WorkSchedule week = out->unit;
        for (const auto& [weekday, day] : days)
            week.Day(weekday) = day;
        out->departments[dept] = week;
    }
    return true;
}

bool ReplaceSchedules(DbSession& session, const ScheduleBook& book, Error* error) {
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    if (!tx.IsActive() || !tx.LockKey(QStringLiteral("WorkSchedule"), kUnit) ||
        tx.Exec(QStringLiteral("DELETE FROM WorkSchedule")) < 0 ||
        !insertWeek(tx, kUnit, book.unit))
        return tx.Error().Report(error);
    for (const auto& [dept, week] : book.departments)
        if (!insertWeek(tx, dept, week))
            return tx.Error().Report(error);
    return tx.Commit() || tx.Error().Report(error);
}

bool LoadCalendar(DbSession& session, const QDate& from, const QDate& to, WorkCalendar* out,
                  Error* error) {
    Error failure;
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT CALDATE, KIND, NAME FROM WorkCalendar WHERE "
                                          "CALDATE >= ? AND CALDATE < ? ORDER BY CALDATE"),
                           {DbDateTime::DayStart(from), DbDateTime::DayEnd(to)}, &failure);
    if (!q)
        return absentTable(session, DbCatalog::CalendarTable(), failure, error);
    while (q->next()) {
        CalendarDay day;
        day.date = QDate::fromString(q->value(0).toString().left(10), Qt::ISODate);
        if (!day.date.isValid() || !parseKind(q->value(1).toString(), &day))
            continue;
        day.name = q->value(2).toString();
        out->Set(day);
    }
    return !q->lastError().isValid() || DbErrors::From(q->lastError()).Report(error);
}

bool ReplaceCalendarYears(DbSession& session, const QList<int>& years,
                          const std::vector<CalendarDay>& days, Error* error) {
    for (const CalendarDay& d : days)
        if (PlainText::HasControl(d.name) || d.name.size() > kMaxCalendarName)
            return Error::Fail(error, QStringLiteral("the name of %1 holds a control character "
                                                     "or more than %2 characters: \"%3\"")
                                          .arg(d.date.toString(Qt::ISODate))
                                          .arg(kMaxCalendarName)
                                          .arg(PlainText::Echo(d.name)));
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    if (!tx.IsActive() || !tx.LockKey(QStringLiteral("WorkCalendar"), kUnit))
        return tx.Error().Report(error);
    for (int year : years)
        if (tx.Exec(QStringLiteral("DELETE FROM WorkCalendar WHERE CALDATE >= ? AND CALDATE < ?"),
                    {DbDateTime::DayStart(QDate(year, 1, 1)),
                     DbDateTime::DayStart(QDate(year + 1, 1, 1))}) < 0)
            return tx.Error().Report(error);
    for (const CalendarDay& d : days)
        if (tx.Exec(
                QStringLiteral("INSERT INTO WorkCalendar(CALDATE, KIND, NAME) VALUES (?, ?, ?)"),
                {DbDateTime::DayText(d.date), kindText(d), d.name}) < 0)
            return tx.Error().Report(error);
    return tx.Commit() || tx.Error().Report(error);
}

} // namespace AttendanceStore
