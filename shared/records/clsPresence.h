#pragma once

#include "shared/db/DbDateTime.h"
#include "shared/records/clsEmployee.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

class DbSession;

// One employee's day: arrival and departure. Records a scan on the session
// given; what it means is PresenceDay::Decide.
class clsPresence {
public:
    QString ENUMBER() const { return m_enumber; }
    void setENUMBER(const QString& v) { m_enumber = v; }
    QString ENAME() const { return m_ename; }
    void setENAME(const QString& v) { m_ename = v; }
    QDateTime enterTime() const { return m_enterTime; }
    void setenterTime(const QDateTime& v) { m_enterTime = v; }
    QDateTime exitTime() const { return m_exitTime; }
    void setexitTime(const QDateTime& v) { m_exitTime = v; }

    // What a scan means, as the station shows it.
    enum State : qint16 {
        Arrival = 1,         // arrival due (CheckState) or recorded (Add)
        Departure = 2,       // departure due or recorded
        AlreadyDeparted = 3, // the day's departure is recorded already
        Repeated = 4,        // scanned again within RepeatSeconds of the arrival
        Error = -1,          // the records could not be read (or no database)
        WriteFailed = -2,    // Add: the write failed
        AlreadyReplayed = 5  // Add with a scan id: that scan was recorded before
    };
    qint16 CheckState(DbSession& session);
    // Records the scan of ENUMBER at AppClock's time; an arrival or
    // departure written sets enterTime or exitTime to the time stored. On a
    // server one call of its sign-in function (created with the tables, or
    // here by the login that owns them), else the statements below.
    qint16 Add(DbSession& session);
    // Records a scan kept by a station while the server was away: the rule
    // at the scan's own time `at`, by the statements, and the scan's id
    // (table ScanReplay) in the same transaction; a scan id found there
    // already writes nothing and gives AlreadyReplayed.
    qint16 Add(DbSession& session, const QDateTime& at, const QString& scanId);
    // A journal's scan of the card `card` (its EBARCODE set): looked up as
    // clsEmployee::IsExist looks it up and, when found, recorded as Add(at,
    // scanId) records it, with ENUMBER and ENAME from the card. On a server
    // both in one call of its function, one round trip and one transaction,
    // where that can be used; otherwise (SQLite, no such function that this
    // login may make or call, a scan the statements must decide) the look-up
    // and Add, as before. A call the server refused (a lock held too long, a
    // refused commit): the card looked up alone and WriteFailed, as Add
    // would give after waiting for the same lock again. The look-up's
    // answer; *state is Add's when the card was found.
    clsEmployee::Lookup AddCard(DbSession& session, clsEmployee& card, const QDateTime& at,
                                const QString& scanId, qint16* state);
    // Records the scans of `scans` (ENUMBER each) in one transaction, in
    // order, each at its own time `at` as Add(at, QString()) records it, so
    // a later scan sees the earlier ones (a card scanned twice is repeated):
    // one flush of the disk for all. All or nothing: the states in order, or
    // none when a scan could not be read or written or the commit failed;
    // nothing is written then.
    static std::optional<QVector<qint16>> AddAll(DbSession& session, QVector<clsPresence>& scans,
                                                 const QVector<QDateTime>& at);

    // Seconds after the arrival during which a scan counts as repeated.
    static constexpr int RepeatSeconds = 60;

private:
    // enterTime or exitTime set to `now` after a state written at `now`.
    void setWritten(qint16 state, const QDateTime& now);
    // The rule in the programs' own statements, in one transaction.
    qint16 addByStatements(DbSession& session, const QDateTime& now,
                           const QString& scanId = QString()) const;
    // The rule and its write inside the transaction open on `session`;
    // *write: there is something to commit.
    qint16 signIn(DbSession& session, const QDateTime& now, const QString& scanId,
                  bool* write) const;

    QString m_enumber, m_ename;
    QDateTime m_enterTime = DbDateTime::Zero();
    QDateTime m_exitTime = DbDateTime::Zero();
};
