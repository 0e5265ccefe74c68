#include "shared/records/clsPresence.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/clsDbConn.h"

namespace {

// The day's rows of an employee: arrivals from 00:00:00 of the day up to,
// not including, 00:00:00 of the next day.
const char* kTodayCondition = "ENUMBER = ? AND ENTERTIME >= ? AND ENTERTIME < ?";

qint16 stateOf(QSqlDatabase db, const QString& number, const QDateTime& now) {
    const QDate today = now.date();
    auto q = DbQuery::Read(db,
                           QStringLiteral("SELECT ENTERTIME, EXITTIME FROM Presence WHERE ") +
                               QLatin1String(kTodayCondition),
                           {number, DbDateTime::DayStart(today), DbDateTime::DayEnd(today)});
    if (!q)
        return clsPresence::Error;
    // The day's first record by time decides (rows other tools wrote may
    // spell the time so that text order differs from time order).
    QDateTime arrival;
    bool departed = false;
    bool any = false;
    while (q->next()) {
        const QDateTime enter = DbDateTime::FromText(q->value(0).toString());
        if (!any || (enter.isValid() && (!arrival.isValid() || enter < arrival))) {
            arrival = enter;
            departed = !q->isNull(1);
        }
        any = true;
    }
    if (!any)
        return clsPresence::Arrival;
    if (departed)
        return clsPresence::AlreadyDeparted;
    if (!arrival.isValid())
        return clsPresence::Error;
    return arrival.secsTo(now) <= clsPresence::RepeatSeconds ? clsPresence::Repeated
                                                             : clsPresence::Departure;
}

} // namespace

qint16 clsPresence::CheckState() {
    return stateOf(clsDbConn().GetDbConn(), m_enumber, AppClock::now());
}

qint16 clsPresence::Add() {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid())
        return Error;
    // The check and the write form one transaction that holds the card's
    // number, so two stations scanning one card at the same moment cannot
    // both record an arrival.
    DbTransaction tx(db, DbTransaction::Mode::Immediate);
    if (!tx.IsActive() || !tx.LockKey(QStringLiteral("Presence"), m_enumber))
        return WriteFailed;
    db = tx.Connection();
    // Whole seconds as stored, so the record kept here equals the one read back.
    QDateTime now = AppClock::now();
    now = now.addMSecs(-now.time().msec());
    const qint16 state = stateOf(db, m_enumber, now);
    if (state == Arrival) {
        const int n =
            tx.Exec(QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES(?, ?)"),
                    {m_enumber, DbDateTime::ToText(now)});
        if (n < 1)
            return WriteFailed;
    } else if (state == Departure) {
        // Every row of the employee for today receives the departure.
        const QDate today = now.date();
        const int n = tx.Exec(QStringLiteral("UPDATE Presence SET EXITTIME = ? WHERE ") +
                                  QLatin1String(kTodayCondition),
                              {DbDateTime::ToText(now), m_enumber, DbDateTime::DayStart(today),
                               DbDateTime::DayEnd(today)});
        if (n < 1)
            return WriteFailed;
    } else {
        return state; // nothing to write; the transaction rolls back
    }
    if (!tx.Commit())
        return WriteFailed;
    (state == Arrival ? m_enterTime : m_exitTime) = now;
    return state;
}
