#include "shared/records/clsCorrection.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/records/PresenceDay.h"
#include "shared/records/PresenceWriter.h"
#include "shared/records/clsMonthClose.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

using Action = clsCorrection::Action;
using Result = clsCorrection::Result;

constexpr const char* kActionKeys[] = {"add",    "change", "remove",  "close",
                                       "reopen", "replay", "password"};

QVariant timeValue(const QDateTime& t) {
    return DbQuery::TextOrNull(t.isValid() ? DbDateTime::ToText(t) : QString());
}

QDateTime timeOf(const QVariant& v) {
    return v.isNull() ? QDateTime() : DbDateTime::FromText(v.toString());
}

// The employee's own spelling of a number given without regard to case;
// empty when there is none.
bool employeeNumber(DbSession& session, const QString& given, QString* number, Error* error) {
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT ENUMBER FROM Employee WHERE ") +
                               DbDialect::NoCaseEquals(session.Engine(), QStringLiteral("ENUMBER"),
                                                       QStringLiteral("?")) +
                               QStringLiteral(" ORDER BY ENUMBER"),
                           {given}, error);
    if (!q)
        return false;
    *number = q->next() ? q->value(0).toString() : QString();
    return true;
}

// The day's first record by time: the one a correction changes (the others
// of the day stay as they are). Arrival invalid: none.
bool firstOfDay(DbSession& session, const QString& number, const QDate& date,
                PresenceDay::Record* first, Error* error) {
    PresenceDay day;
    if (!PresenceDay::Read(session, number, date, &day, error))
        return false;
    *first = day.First() ? *day.First() : PresenceDay::Record();
    return true;
}

// The day's new arrival and departure, or why the request is refused.
Result decide(const clsCorrection::Request& r, const QDateTime& oldIn, const QDateTime& oldOut,
              QDateTime* newIn, QDateTime* newOut) {
    const QDateTime in = r.arrival.isValid() ? QDateTime(r.date, r.arrival) : QDateTime();
    const QDateTime out = r.departure.isValid() ? QDateTime(r.date, r.departure) : QDateTime();
    if (r.action != Action::Remove && !in.isValid() && !out.isValid())
        return Result::NothingGiven;
    if (r.action != Action::Add && !oldIn.isValid())
        return Result::NoRecord;
    *newIn = *newOut = QDateTime();
    if (r.action == Action::Add) {
        if (in.isValid() && oldIn.isValid())
            return Result::SecondArrival;
        if (out.isValid() && oldOut.isValid())
            return Result::DepartureExists;
        *newIn = in.isValid() ? in : oldIn;
        *newOut = out.isValid() ? out : oldOut;
    } else if (r.action == Action::Change) {
        *newIn = in.isValid() ? in : oldIn;
        *newOut = out.isValid() ? out : oldOut;
    }
    if (newOut->isValid() && !newIn->isValid())
        return Result::NoArrival;
    if (newOut->isValid() && *newOut <= *newIn)
        return Result::DepartureBeforeArrival;
    const QDateTime now = AppClock::now();
    if ((newIn->isValid() && *newIn > now) || (newOut->isValid() && *newOut > now))
        return Result::FutureTime;
    return Result::Done;
}

// Writes the day's new record: an arrival on a day without one is inserted;
// otherwise the day's first record alone gets the departure added, its times
// changed, or is removed.
bool writeDay(PresenceWriter& writer, const clsCorrection::Request& r,
              const PresenceDay::Record& first, const clsCorrection::TrailRow& row) {
    if (!first.arrival.isValid())
        return writer.Insert(row.newArrival, row.newDeparture);
    if (r.action == Action::Remove)
        return writer.Remove(first);
    if (r.action == Action::Add)
        return writer.SetDeparture(first, row.newDeparture);
    return writer.Change(first, row.newArrival, row.newDeparture);
}

Result failed(const Error& why, Error* error) {
    why.Report(error);
    return Result::Failed;
}

} // namespace

QString clsCorrection::ActionKey(Action action) {
    return QLatin1String(kActionKeys[int(action)]);
}

bool clsCorrection::ParseAction(const QString& key, Action* out) {
    for (int i = 0; i < int(std::size(kActionKeys)); ++i)
        if (key == QLatin1String(kActionKeys[i])) {
            *out = Action(i);
            return true;
        }
    return false;
}

clsCorrection::Operator clsCorrection::Operator::Current() {
    Operator who;
    if (const passwd* pw = ::getpwuid(::getuid()))
        who.login = QString::fromLocal8Bit(pw->pw_name);
    else
        who.login = QString::number(::getuid());
    who.host = QSysInfo::machineHostName();
    who.program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return who;
}

clsCorrection::Result clsCorrection::Apply(DbSession& session, const Request& r,
                                           const Operator& who, Error* error) {
    if (r.reason.trimmed().isEmpty())
        return Result::EmptyReason;
    if (r.action != Action::Add && r.action != Action::Change && r.action != Action::Remove)
        return failed(Error(QStringLiteral("not a correction of a day")), error);
    if (!session.Connection().isValid())
        return failed(Error(QStringLiteral("no database")), error);
    // The number held as a scan holds it, so a station's sign-in of the
    // same employee comes wholly before or after the correction.
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    if (!tx.IsActive() || !tx.LockKey(QStringLiteral("Presence"), r.number))
        return failed(tx.Error(), error);
    QString number;
    Error why;
    if (!employeeNumber(session, r.number, &number, &why))
        return failed(why, error);
    if (number.isEmpty())
        return Result::NoEmployee;
    PresenceWriter writer(session, PresenceWriter::Source::Correction, number, r.date);
    switch (writer.CheckMonth()) {
    case PresenceWriter::Month::Writable:
        break;
    case PresenceWriter::Month::Closed:
        return Result::MonthClosed;
    case PresenceWriter::Month::Failed:
        return failed(writer.Error(), error);
    }
    TrailRow row;
    PresenceDay::Record first;
    if (!firstOfDay(session, number, r.date, &first, &why))
        return failed(why, error);
    row.oldArrival = first.arrival;
    row.oldDeparture = first.departure;
    const Result verdict =
        decide(r, row.oldArrival, row.oldDeparture, &row.newArrival, &row.newDeparture);
    if (verdict != Result::Done)
        return verdict;
    const QString reason = r.reason.trimmed();
    if (ServerWritesTrail(session)) {
        // The server's function writes the record and its trail row, with
        // its clock and the session's login as the operator.
        auto done = DbQuery::Read(session, DbDialect::CorrectCallStatement(session.Engine()),
                                  {number, ActionKey(r.action), DbDateTime::DayText(r.date),
                                   DbQuery::TextOrNull(first.storedIn), timeValue(row.newArrival),
                                   timeValue(row.newDeparture), reason,
                                   who.login + QLatin1Char('@') + who.host, who.program},
                                  &why);
        if (!done || !done->next())
            return failed(why, error);
        done = {};
        return tx.Commit() ? Result::Done : failed(tx.Error(), error);
    }
    if (!writeDay(writer, r, first, row))
        return failed(writer.Error(), error);
    row.when = AppClock::now();
    row.login = who.login;
    row.host = who.host;
    row.program = who.program;
    row.number = number;
    row.action = r.action;
    row.reason = reason;
    if (!WriteTrail(session, row, &why))
        return failed(why, error);
    return tx.Commit() ? Result::Done : failed(tx.Error(), error);
}

clsCorrection::Result clsCorrection::Check(DbSession& session, const Request& r, Error* error) {
    if (r.action != Action::Add && r.action != Action::Change && r.action != Action::Remove)
        return failed(Error(QStringLiteral("not a correction of a day")), error);
    if (!session.Connection().isValid())
        return failed(Error(QStringLiteral("no database")), error);
    QString number;
    QStringList closed;
    Error why;
    if (!employeeNumber(session, r.number, &number, &why) ||
        !clsMonthClose::ClosedMonths(session, &closed, &why))
        return failed(why, error);
    if (number.isEmpty())
        return Result::NoEmployee;
    if (!PresenceWriter::MayWrite(
            PresenceWriter::Source::Correction,
            closed.contains(clsMonthClose::Key(r.date.year(), r.date.month()))))
        return Result::MonthClosed;
    PresenceDay::Record first;
    if (!firstOfDay(session, number, r.date, &first, &why))
        return failed(why, error);
    QDateTime newIn, newOut;
    return decide(r, first.arrival, first.departure, &newIn, &newOut);
}

bool clsCorrection::WriteTrail(DbSession& session, const TrailRow& row, Error* error) {
    DbTransaction tx(session);
    return (tx.Exec(QStringLiteral("INSERT INTO Correction(CTIME, OPERATOR, HOST, PROGRAM, "
                                   "ENUMBER, ACTION, OLDENTER, OLDEXIT, NEWENTER, NEWEXIT, "
                                   "REASON) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {DbDateTime::ToText(row.when), row.login, row.host, row.program,
                     DbQuery::TextOrNull(row.number), ActionKey(row.action),
                     timeValue(row.oldArrival), timeValue(row.oldDeparture),
                     timeValue(row.newArrival), timeValue(row.newDeparture),
                     DbQuery::TextOrNull(row.reason)}) == 1 &&
            tx.Commit()) ||
           tx.Error().Report(error);
}

bool clsCorrection::ServerWritesTrail(DbSession& session) {
    const DbDialect::Engine engine = session.Engine();
    if (DbDialect::CorrectCallStatement(engine).isEmpty())
        return false;
    auto q = DbQuery::Read(session, DbDialect::GuardStateStatement(engine), {});
    return q && q->next() && q->value(2).toBool();
}

bool clsCorrection::WritePasswordTrail(DbSession& session, const Operator& who, Error* error) {
    if (ServerWritesTrail(session)) {
        DbTransaction tx(session);
        if (!tx.IsActive())
            return tx.Error().Report(error);
        auto q = DbQuery::Read(session, DbDialect::PasswordTrailCallStatement(session.Engine()),
                               {who.login + QLatin1Char('@') + who.host, who.program}, error);
        if (!q || !q->next())
            return false;
        q = {};
        return tx.Commit() || tx.Error().Report(error);
    }
    TrailRow row;
    row.when = AppClock::now();
    row.login = who.login;
    row.host = who.host;
    row.program = who.program;
    row.action = Action::Password;
    return WriteTrail(session, row, error);
}

bool clsCorrection::WriteReplayTrail(DbSession& session, const ReplayChange& c, Error* error) {
    const Operator who = Operator::Current();
    if (ServerWritesTrail(session)) {
        auto q = DbQuery::Read(session, DbDialect::ReplayTrailCallStatement(session.Engine()),
                               {c.number, DbQuery::TextOrNull(c.oldEnter),
                                DbQuery::TextOrNull(c.oldExit), DbQuery::TextOrNull(c.newEnter),
                                DbQuery::TextOrNull(c.newExit), c.scanId,
                                who.login + QLatin1Char('@') + who.host, who.program},
                               error);
        return q && q->next();
    }
    return DbQuery::Exec(session,
                         QStringLiteral("INSERT INTO Correction(CTIME, OPERATOR, HOST, PROGRAM, "
                                        "ENUMBER, ACTION, OLDENTER, OLDEXIT, NEWENTER, NEWEXIT, "
                                        "REASON) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         {DbDateTime::ToText(AppClock::now()), who.login, who.host, who.program,
                          c.number, ActionKey(Action::Replay), DbQuery::TextOrNull(c.oldEnter),
                          DbQuery::TextOrNull(c.oldExit), DbQuery::TextOrNull(c.newEnter),
                          DbQuery::TextOrNull(c.newExit), c.scanId},
                         error) == 1;
}

namespace {

// Days of the employees in `rows` (number, name) from `from` to `to`, with
// the first record of each day.
bool fillDays(DbSession& session, const std::vector<std::pair<QString, QString>>& employees,
              const QDate& from, const QDate& to, std::vector<clsCorrection::Day>* out,
              Error* error) {
    struct Record {
        QDateTime in, out;
        int rows = 0;
    };
    std::map<std::pair<QString, QDate>, Record> records;
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT ENUMBER, ENTERTIME, EXITTIME FROM Presence "
                                          "WHERE ENTERTIME >= ? AND ENTERTIME < ? "
                                          "ORDER BY ENUMBER, ENTERTIME"),
                           {DbDateTime::DayStart(from), DbDateTime::DayEnd(to)}, error);
    if (!q)
        return false;
    while (q->next()) {
        const QDateTime in = timeOf(q->value(1));
        if (!in.isValid())
            continue;
        Record& rec = records[{q->value(0).toString(), in.date()}];
        if (PresenceDay::Precedes(in, rec.in)) {
            rec.in = in;
            rec.out = timeOf(q->value(2));
        }
        ++rec.rows;
    }
    out->clear();
    for (QDate d = from; d.isValid() && d <= to; d = d.addDays(1))
        for (const auto& [number, name] : employees) {
            const auto it = records.find({number, d});
            if (it == records.end())
                out->push_back({number, name, d, QDateTime(), QDateTime(), 0});
            else
                out->push_back(
                    {number, name, d, it->second.in, it->second.out, it->second.rows - 1});
        }
    return true;
}

} // namespace

bool clsCorrection::EmployeeDays(DbSession& session, const QString& number, const QDate& from,
                                 const QDate& to, std::vector<Day>* out, Error* error) {
    const DbDialect::Engine engine = session.Engine();
    auto q = DbQuery::Read(
        session,
        QStringLiteral("SELECT ENUMBER, ENAME FROM Employee WHERE ") +
            DbDialect::NoCaseEquals(engine, QStringLiteral("ENUMBER"), QStringLiteral("?")) +
            QStringLiteral(" ORDER BY ENUMBER"),
        {number}, error);
    if (!q)
        return false;
    std::vector<std::pair<QString, QString>> employees;
    if (q->next())
        employees.emplace_back(q->value(0).toString(), q->value(1).toString());
    return fillDays(session, employees, from, to, out, error);
}

bool clsCorrection::DepartmentDay(DbSession& session, int deptId, const QDate& day,
                                  std::vector<Day>* out, Error* error) {
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT ENUMBER, ENAME FROM Employee WHERE DID = ? "
                                          "ORDER BY ENUMBER"),
                           {deptId}, error);
    if (!q)
        return false;
    std::vector<std::pair<QString, QString>> employees;
    while (q->next())
        employees.emplace_back(q->value(0).toString(), q->value(1).toString());
    return fillDays(session, employees, day, day, out, error);
}

bool clsCorrection::Trail(DbSession& session, const QDate& from, const QDate& to,
                          const QString& number, std::vector<TrailRow>* out, Error* error) {
    QString sql = QStringLiteral("SELECT ID, CTIME, OPERATOR, HOST, PROGRAM, ENUMBER, ACTION, "
                                 "OLDENTER, OLDEXIT, NEWENTER, NEWEXIT, REASON FROM Correction "
                                 "WHERE CTIME >= ? AND CTIME < ?");
    QVariantList params{from.isValid() ? DbDateTime::DayStart(from) : QStringLiteral("0"),
                        to.isValid() ? DbDateTime::DayEnd(to) : QStringLiteral("A")};
    if (!number.isEmpty()) {
        sql += QStringLiteral(" AND ") + DbDialect::NoCaseEquals(session.Engine(),
                                                                 QStringLiteral("ENUMBER"),
                                                                 QStringLiteral("?"));
        params << number;
    }
    auto q = DbQuery::Read(session, sql + QStringLiteral(" ORDER BY ID"), params, error);
    if (!q)
        return false;
    out->clear();
    while (q->next()) {
        TrailRow row;
        row.id = q->value(0).toLongLong();
        row.when = timeOf(q->value(1));
        row.login = q->value(2).toString();
        row.host = q->value(3).toString();
        row.program = q->value(4).toString();
        row.number = q->value(5).toString();
        if (!ParseAction(q->value(6).toString(), &row.action))
            continue;
        row.oldArrival = timeOf(q->value(7));
        row.oldDeparture = timeOf(q->value(8));
        row.newArrival = timeOf(q->value(9));
        row.newDeparture = timeOf(q->value(10));
        row.reason = q->value(11).toString();
        out->push_back(row);
    }
    return true;
}

bool clsCorrection::MonthMarks(DbSession& session, int year, int month, Marks* out, Error* error) {
    const QDate first(year, month, 1);
    const QDate last = first.addMonths(1).addDays(-1);
    // The corrected day is the new arrival's, or the old one's for a removal.
    auto q = DbQuery::Read(
        session,
        QStringLiteral("SELECT ENUMBER, ACTION, COALESCE(NEWENTER, OLDENTER) AS D FROM "
                       "Correction WHERE ACTION IN ('add', 'change', 'remove') AND "
                       "COALESCE(NEWENTER, OLDENTER) >= ? AND COALESCE(NEWENTER, OLDENTER) < ? "
                       "ORDER BY ID"),
        {DbDateTime::DayStart(first), DbDateTime::DayEnd(last)}, error);
    if (!q)
        return false;
    out->clear();
    while (q->next()) {
        Action action = Action::Add;
        const QDateTime day = timeOf(q->value(2));
        if (ParseAction(q->value(1).toString(), &action) && day.isValid())
            (*out)[q->value(0).toString()][day.date().day()] = action;
    }
    return true;
}
