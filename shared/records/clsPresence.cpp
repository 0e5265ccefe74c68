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

// Mark a server connection whose database lacks the sign-in function (or
// the function applying a journal's scan) and whose login may not create
// it: its scans use the statements.
const char kNoSignInFunction[] = "attendanceNoSignInFunction";
const char kNoApplyFunction[] = "attendanceNoApplyScanFunction";
const char kNoScanCardFunction[] = "attendanceNoScanCardFunction";

// What a server function's state tells (one row: present, the login owns
// the tables), where it is missing and the owner may make it: made by
// `create` then. Unknown: the server could not be asked.
enum class Function { Present, Made, Missing, Unknown };

Function ensureFunction(DbSession& session, const QString& stateSql, const QStringList& create,
                        const char* missing) {
    QSqlDatabase db = session.Connection();
    if (!db.isValid())
        return Function::Unknown;
    auto state = DbQuery::Read(session, stateSql, {});
    if (!state || !state->next())
        return Function::Unknown;
    const bool present = state->value(0).toBool();
    const bool owner = state->value(1).toBool();
    state = {};
    if (present)
        return Function::Present;
    bool made = owner;
    QSqlQuery q(db);
    for (const QString& sql : create)
        if (const StatementWatchdog::Guard watched(db); made)
            made = q.exec(sql);
    if (!made)
        db.driver()->setProperty(missing, true);
    return made ? Function::Made : Function::Missing;
}

// Whether the sign-in function can be called now: present, or made just
// now by the login that owns the tables.
bool signInFunctionReady(DbSession& session) {
    const DbDialect::Engine engine = session.Engine();
    const Function f =
        ensureFunction(session, DbDialect::SignInFunctionStateStatement(engine),
                       {DbDialect::SignInFunctionStatement(engine)}, kNoSignInFunction);
    return f == Function::Present || f == Function::Made;
}

// The values the server's functions that apply a journal's scan take after
// the card's number (or barcode): the scan's time, its day's bounds, the
// start of the repeat window and the scan's id.
QVariantList applyValues(const QString& key, const QDateTime& now, const QString& scanId) {
    const QDate today = now.date();
    return {key,
            DbDateTime::ToText(now),
            DbDateTime::DayStart(today),
            DbDateTime::DayEnd(today),
            DbDateTime::ToText(now.addSecs(-clsPresence::RepeatSeconds)),
            scanId};
}

// A journal's scan applied in one call of the server's function, in one
// round trip: the call is its own transaction, and its answer is read whole,
// so it includes the end of that transaction: a commit the server refuses,
// or a server stopping while it commits, fails the call and leaves the scan
// in the journal. The state; WriteFailed where the server refused or did not
// answer the call or its commit (as it would the statements); none where the
// statements apply the scan (on SQLite, inside a caller's transaction,
// without the function, in a closed month, on a day holding times of other
// text forms): nothing is written then (the function returns those before
// it writes).
std::optional<qint16> applyOnServer(DbSession& session, const QString& number, const QDateTime& now,
                                    const QString& scanId, bool again = false) {
    QSqlDatabase db = session.Connection();
    const QString call = DbDialect::ApplyScanCallStatement(session.Engine());
    if (call.isEmpty() || scanId.isEmpty() || session.Depth() > 0 || !db.isValid() ||
        db.driver()->property(kNoApplyFunction).toBool())
        return std::nullopt;
    const QVariantList params = applyValues(number, now, scanId);
    // Not run again on a new connection should this one break: the call may
    // have committed. (The look-up before it has opened a broken one anew.)
    if (auto q = DbQuery::ReadWhole(db, call, params)) {
        const int state = q->next() ? q->value(0).toInt() : 0;
        if (state < clsPresence::Arrival || state > clsPresence::AlreadyReplayed)
            return std::nullopt; // nothing written
        return qint16(state);
    }
    // The call failed and was rolled back. A missing function is made where
    // allowed and called once more.
    const DbDialect::Engine engine = session.Engine();
    switch (ensureFunction(
        session, DbDialect::ApplyScanFunctionStateStatement(engine),
        {DbDialect::SignInFunctionStatement(engine), DbDialect::ApplyScanFunctionStatement(engine)},
        kNoApplyFunction)) {
    case Function::Present:
    case Function::Unknown:
        return qint16(clsPresence::WriteFailed);
    case Function::Made:
        return again ? std::nullopt : applyOnServer(session, number, now, scanId, true);
    case Function::Missing:
        break;
    }
    return std::nullopt;
}

// What the call of the server's function for a card's scan gave.
enum class CardCall {
    Answered, // the call's rows: none for an unknown card
    Refused,  // the server refused the call (a lock held too long, a refused commit)
    Unusable, // the look-up and Add must do it
    Failed    // the server did not answer
};

// A journal's scan of a card in one call of the server's function, in one
// round trip: the card's row and the state after it. Read whole, so the
// answer includes the end of the call's own transaction; not run again on a
// connection opened anew, since the call may have committed. After a
// failure a missing function is made where allowed and called once more;
// a function this login may not call leaves the scans to the look-up and
// Add; any other failure the server answered is the scan's own (Add would
// meet it too, after another wait for the same lock).
CardCall scanCardOnServer(DbSession& session, const QString& barcode, const QDateTime& now,
                          const QString& scanId, DbQuery::Rows* rows) {
    const DbDialect::Engine engine = session.Engine();
    const QString call = DbDialect::ScanCardCallStatement(engine);
    if (call.isEmpty() || scanId.isEmpty() || session.Depth() > 0)
        return CardCall::Unusable;
    // A connection the server ended meanwhile (a restart) is opened anew
    // first, so a call that fails has reached the server.
    session.ReopenIfLost();
    QSqlDatabase db = session.Connection();
    if (!db.isValid() || db.driver()->property(kNoScanCardFunction).toBool())
        return CardCall::Unusable;
    const QVariantList params = applyValues(barcode, now, scanId);
    if ((*rows = DbQuery::ReadWhole(db, call, params)))
        return CardCall::Answered;
    switch (ensureFunction(session, DbDialect::ScanCardFunctionCallableStatement(engine),
                           {DbDialect::SignInFunctionStatement(engine),
                            DbDialect::ApplyScanFunctionStatement(engine),
                            DbDialect::ScanCardFunctionStatement(engine)},
                           kNoScanCardFunction)) {
    case Function::Unknown:
        return CardCall::Failed;
    case Function::Made:
        *rows = DbQuery::ReadWhole(session.Connection(), call, params);
        return *rows ? CardCall::Answered : CardCall::Unusable;
    case Function::Present:
        return CardCall::Refused;
    case Function::Missing:
        break;
    }
    return CardCall::Unusable;
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
    // In a transaction of its own where the caller has none: the COMMIT's
    // answer, not the call's, says the record is on the server (the driver
    // hands over the call's row before its implicit commit has ended).
    std::optional<DbTransaction> tx;
    const auto begin = [&] {
        if (session.Depth() == 0)
            tx.emplace(session);
        return !tx || tx->IsActive();
    };
    // On the session, opened anew should the server have ended it.
    DbQuery::Rows q;
    if (begin())
        q = DbQuery::Read(session, call, params);
    if (!q) {
        // A failure of the call writes nothing: a missing function is made
        // where allowed, any other failure leaves this scan to the statements.
        tx.reset();
        if (!signInFunctionReady(session) || !begin() ||
            !(q = DbQuery::Read(session, call, params)))
            return std::nullopt;
    }
    const int state = q->next() ? q->value(0).toInt() : 0;
    q = {};
    if (state < clsPresence::Arrival || state > clsPresence::Repeated)
        return std::nullopt; // nothing written; rolled back
    return !tx || tx->Commit() ? qint16(state) : qint16(clsPresence::WriteFailed);
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
    const std::optional<qint16> applied = applyOnServer(session, m_enumber, now, scanId);
    const qint16 state = applied ? *applied : addByStatements(session, now, scanId);
    setWritten(state, now);
    return state;
}

clsEmployee::Lookup clsPresence::AddCard(DbSession& session, clsEmployee& card, const QDateTime& at,
                                         const QString& scanId, qint16* state) {
    const StatementWatchdog::Quick quick; // a scan waits seconds at most
    if (card.EBARCODE().isEmpty())
        return clsEmployee::Lookup::NotFound;
    const QDateTime now = at.addMSecs(-at.time().msec());
    DbQuery::Rows rows;
    clsEmployee::Lookup found = clsEmployee::Lookup::Failed;
    std::optional<qint16> applied;
    switch (scanCardOnServer(session, card.EBARCODE(), now, scanId, &rows)) {
    case CardCall::Failed:
        return clsEmployee::Lookup::Failed;
    case CardCall::Unusable:
        found = card.IsExist();
        break;
    case CardCall::Refused:
        found = card.IsExist();
        applied = qint16(WriteFailed); // reported as Add reports it, tried again later
        break;
    case CardCall::Answered:
        found = rows->next() ? card.ReadLookupRow(*rows) : clsEmployee::Lookup::NotFound;
        // A state below Arrival wrote nothing: the statements decide it.
        if (found == clsEmployee::Lookup::Found && !rows->isNull(8)) {
            if (const int s = rows->value(8).toInt(); s >= Arrival && s <= AlreadyReplayed)
                applied = qint16(s);
        }
        rows = {};
        break;
    }
    if (found != clsEmployee::Lookup::Found)
        return found;
    m_enumber = card.ENUMBER();
    m_ename = card.ENAME();
    if (!applied)
        *state = Add(session, at, scanId);
    else
        setWritten(*state = *applied, now);
    return found;
}

void clsPresence::setWritten(qint16 state, const QDateTime& now) {
    if (state == Arrival)
        m_enterTime = now;
    else if (state == Departure)
        m_exitTime = now;
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
