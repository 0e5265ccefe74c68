#include "shared/records/clsPresence.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/records/PresenceDay.h"
#include "shared/records/PresenceWriter.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <optional>

namespace {

// What a scan at `now` means, decided on the day read into *day.
qint16 stateOf(DbSession& session, const QString& number, const QDateTime& now, PresenceDay* day) {
    return PresenceDay::Read(session, number, now.date(), day) ? day->Decide(now)
                                                               : qint16(clsPresence::Error);
}

// Marks a server connection whose database lacks the sign-in function and
// whose login may not create it: its scans use the statements.
const char kNoSignInFunction[] = "attendanceNoSignInFunction";

// Whether the function can be called now: present, or created just now by
// the login that owns the tables.
bool signInFunctionReady(DbSession& session) {
    const DbDialect::Engine engine = session.Engine();
    QSqlDatabase db = session.Connection();
    if (!db.isValid())
        return false;
    auto state = DbQuery::Read(session, DbDialect::SignInFunctionStateStatement(engine), {});
    if (!state || !state->next())
        return false;
    const bool present = state->value(0).toBool();
    const bool owner = state->value(1).toBool();
    state = {};
    if (present)
        return true;
    QSqlQuery create(db);
    if (const StatementWatchdog::Guard watched(db);
        owner && create.exec(DbDialect::SignInFunctionStatement(engine)))
        return true;
    db.driver()->setProperty(kNoSignInFunction, true);
    return false;
}

// The sign-in rule in one round trip to the server's function: the state,
// or none where the program decides itself (on SQLite, without the
// function, after a failure, on a day holding times of other text forms);
// nothing is written then.
std::optional<qint16> signInOnServer(DbSession& session, const QString& number,
                                     const QDateTime& now) {
    QSqlDatabase db = session.Connection();
    const QString call = DbDialect::SignInCallStatement(session.Engine());
    if (call.isEmpty() || !db.isValid() || db.driver()->property(kNoSignInFunction).toBool())
        return std::nullopt;
    const QDate today = now.date();
    const QVariantList params{number, DbDateTime::ToText(now), DbDateTime::DayStart(today),
                              DbDateTime::DayEnd(today),
                              DbDateTime::ToText(now.addSecs(-clsPresence::RepeatSeconds))};
    // On the session, opened anew should the server have ended it.
    auto q = DbQuery::Read(session, call, params);
    if (!q) {
        // A failure of the call writes nothing: a missing function is made
        // where allowed, any other failure leaves this scan to the statements.
        if (!signInFunctionReady(session) || !(q = DbQuery::Read(session, call, params)))
            return std::nullopt;
    }
    const int state = q->next() ? q->value(0).toInt() : 0;
    if (state < clsPresence::Arrival || state > clsPresence::Repeated)
        return std::nullopt;
    return qint16(state);
}

} // namespace

qint16 clsPresence::CheckState(DbSession& session) {
    PresenceDay day;
    return stateOf(session, m_enumber, AppClock::now(), &day);
}

qint16 clsPresence::Add(DbSession& session) {
    QSqlDatabase db = session.Connection();
    if (!db.isValid())
        return Error;
    const StatementWatchdog::Quick quick(db); // a scan waits seconds at most
    // Whole seconds as stored, so the record kept here equals the one read back.
    QDateTime now = AppClock::now();
    now = now.addMSecs(-now.time().msec());
    const std::optional<qint16> decided = signInOnServer(session, m_enumber, now);
    const qint16 state = decided ? *decided : addByStatements(session, now);
    if (state == Arrival)
        m_enterTime = now;
    else if (state == Departure)
        m_exitTime = now;
    return state;
}

qint16 clsPresence::Add(DbSession& session, const QDateTime& at, const QString& scanId) {
    QSqlDatabase db = session.Connection();
    if (!db.isValid())
        return Error;
    const StatementWatchdog::Quick quick(db); // a replay waits seconds at most
    const QDateTime now = at.addMSecs(-at.time().msec());
    const qint16 state = addByStatements(session, now, scanId);
    if (state == Arrival)
        m_enterTime = now;
    else if (state == Departure)
        m_exitTime = now;
    return state;
}

std::optional<QVector<qint16>> clsPresence::AddAll(DbSession& session, QVector<clsPresence>& scans,
                                                   const QVector<QDateTime>& at) {
    QSqlDatabase db = session.Connection();
    if (!db.isValid() || scans.size() != at.size())
        return std::nullopt;
    const StatementWatchdog::Quick quick(db);
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    QVector<qint16> states;
    for (qsizetype i = 0; i < scans.size(); ++i) {
        bool write = false;
        const QDateTime now = at[i].addMSecs(-at[i].time().msec());
        const qint16 state = scans[i].signIn(session, now, QString(), &write);
        // One failure undoes them all: the transaction rolls back.
        if (state == Error || state == WriteFailed)
            return std::nullopt;
        states << state;
    }
    if (!tx.Commit())
        return std::nullopt;
    for (qsizetype i = 0; i < scans.size(); ++i) {
        const QDateTime now = at[i].addMSecs(-at[i].time().msec());
        if (states[i] == Arrival)
            scans[i].m_enterTime = now;
        else if (states[i] == Departure)
            scans[i].m_exitTime = now;
    }
    return states;
}

qint16 clsPresence::addByStatements(DbSession& session, const QDateTime& now,
                                    const QString& scanId) const {
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    if (!tx.IsActive())
        return WriteFailed;
    bool write = false;
    const qint16 state = signIn(session, now, scanId, &write);
    return !write || tx.Commit() ? state : qint16(WriteFailed);
}

qint16 clsPresence::signIn(DbSession& session, const QDateTime& now, const QString& scanId,
                           bool* write) const {
    // The check and the write form one transaction that holds the card's
    // number, so two stations scanning one card at the same moment cannot
    // both record an arrival.
    QSqlDatabase db = session.Connection();
    if (session.Depth() == 0 || !DbTransaction::LockKey(db, QStringLiteral("Presence"), m_enumber))
        return WriteFailed;
    if (!scanId.isEmpty()) {
        auto seen = DbQuery::Read(
            session, QStringLiteral("SELECT COUNT(*) FROM ScanReplay WHERE SCANID = ?"), {scanId});
        if (!seen || !seen->next())
            return WriteFailed;
        if (seen->value(0).toInt() > 0)
            return AlreadyReplayed;
    }
    PresenceDay day;
    const qint16 state = stateOf(session, m_enumber, now, &day);
    // A month closed since a replayed scan still gets it (the writer names
    // it in the trail); a scan at once is refused there.
    PresenceWriter writer(
        session, scanId.isEmpty() ? PresenceWriter::Source::Scan : PresenceWriter::Source::Replay,
        m_enumber, now.date(), scanId);
    if (state == Arrival) {
        if (!writer.Insert(now))
            return WriteFailed;
    } else if (state == Departure) {
        // The day's first record alone receives the departure.
        if (!writer.SetDeparture(*day.First(), now))
            return WriteFailed;
    } else if (scanId.isEmpty() || state == Error) {
        return state; // nothing to write; the transaction rolls back
    }
    // A replayed scan leaves its id whatever it meant, so it is never applied twice.
    if (!scanId.isEmpty() &&
        DbQuery::Exec(
            session,
            QStringLiteral(
                "INSERT INTO ScanReplay(SCANID, ENUMBER, SCANTIME, STATE) VALUES(?, ?, ?, ?)"),
            {scanId, m_enumber, DbDateTime::ToText(now), int(state)}) < 1)
        return WriteFailed;
    *write = true;
    return state;
}
