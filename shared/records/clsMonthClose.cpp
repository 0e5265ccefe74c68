#include "shared/records/clsMonthClose.h"

#include "shared/base/AppClock.h"
#include "shared/config/PasswordModule.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"

namespace {

using Result = clsMonthClose::Result;
const QString kLockTable = QStringLiteral("MonthClose");

Result failed(const Error& why, Error* error) {
    why.Report(error);
    return Result::Failed;
}

bool isClosed(DbSession& session, const QString& key, bool* closed, Error* error) {
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT COUNT(*) FROM MonthClose WHERE YEARMONTH = ?"),
                           {key}, error);
    if (!q || !q->next())
        return q ? Error::Fail(error, QStringLiteral("the closed months could not be read"))
                 : false;
    *closed = q->value(0).toLongLong() > 0;
    return true;
}

// Closes (`close`) or reopens the month with its row of the trail.
Result change(DbSession& session, int year, int month, bool close,
              const clsCorrection::Operator& who, Error* error) {
    const QString key = clsMonthClose::Key(year, month);
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    if (!tx.IsActive() || !tx.LockKey(kLockTable, key))
        return failed(tx.Error(), error);
    bool closed = false;
    Error why;
    if (!isClosed(session, key, &closed, &why))
        return failed(why, error);
    if (closed == close)
        return close ? Result::AlreadyClosed : Result::NotClosed;
    if (clsCorrection::ServerWritesTrail(session)) {
        // The server's function writes the month's row and its trail row.
        auto done =
            DbQuery::Read(session, DbDialect::MonthCloseCallStatement(session.Engine(), close),
                          {key, who.login + QLatin1Char('@') + who.host, who.program}, &why);
        if (!done || !done->next())
            return failed(why, error);
        done = {};
        return tx.Commit() ? Result::Done : failed(tx.Error(), error);
    }
    const QDateTime now = AppClock::now();
    const int n =
        close ? tx.Exec(QStringLiteral("INSERT INTO MonthClose(YEARMONTH, CTIME, OPERATOR) "
                                       "VALUES(?, ?, ?)"),
                        {key, DbDateTime::ToText(now), who.login})
              : tx.Exec(QStringLiteral("DELETE FROM MonthClose WHERE YEARMONTH = ?"), {key});
    if (n != 1)
        return failed(tx.Error(), error);
    clsCorrection::TrailRow row;
    row.when = now;
    row.login = who.login;
    row.host = who.host;
    row.program = who.program;
    row.action = close ? clsCorrection::Action::Close : clsCorrection::Action::Reopen;
    row.newArrival = QDateTime(QDate(year, month, 1), QTime(0, 0));
    if (!clsCorrection::WriteTrail(session, row, &why))
        return failed(why, error);
    return tx.Commit() ? Result::Done : failed(tx.Error(), error);
}

} // namespace

QString clsMonthClose::Key(int year, int month) {
    return QStringLiteral("%1-%2")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'));
}

clsMonthClose::Result clsMonthClose::Close(DbSession& session, int year, int month,
                                           const clsCorrection::Operator& who, Error* error) {
    const QDate today = AppClock::now().date();
    if (QDate(year, month, 1) >= QDate(today.year(), today.month(), 1))
        return Result::CurrentMonth;
    return change(session, year, month, true, who, error);
}

clsMonthClose::Result clsMonthClose::Reopen(DbSession& session, int year, int month,
                                            const QString& adminPassword,
                                            const clsCorrection::Operator& who, Error* error) {
    if (!CheckPassword(adminPassword))
        return Result::WrongPassword;
    return change(session, year, month, false, who, error);
}

bool clsMonthClose::HoldOpen(DbSession& session, const QDate& day, bool* closed, Error* error) {
    const QString key = Key(day.year(), day.month());
    // The key held shared by the writer's transaction, to its end. Taken in
    // it directly: a savepoint would cost a server two more round trips a
    // scan, and a failure here fails the writer whatever.
    if (session.Depth() > 0)
        return DbTransaction::LockKey(session.Connection(), kLockTable, key, error, true) &&
               isClosed(session, key, closed, error);
    DbTransaction tx(session);
    if (!tx.IsActive() || !tx.ShareKey(kLockTable, key))
        return tx.Error().Report(error);
    return isClosed(session, key, closed, error) && (tx.Commit() || tx.Error().Report(error));
}

bool clsMonthClose::ClosedMonths(DbSession& session, QStringList* out, Error* error) {
    auto q = DbQuery::Read(
        session, QStringLiteral("SELECT YEARMONTH FROM MonthClose ORDER BY YEARMONTH"), {}, error);
    if (!q)
        return false;
    out->clear();
    while (q->next())
        out->append(q->value(0).toString());
    return true;
}
