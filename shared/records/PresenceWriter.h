#pragma once

#include "shared/db/DbErrors.h"
#include "shared/records/PresenceDay.h"

#include <QDate>
#include <QDateTime>
#include <QString>

class DbSession;

// The programs' one writer of Presence rows (on a server its own functions
// write too: attendance_sign_in, and attendance_correct where the guards
// are, after the month was asked here): one employee's day inside the
// caller's transaction on the session given, which holds the employee's
// number as the sign-in rule does. Before its first write it holds the day's month open
// (clsMonthClose::HoldOpen) and applies the closed-month rule of who writes:
// - Scan, a station's scan recorded at once: refused (only past months are
//   closed; a station clock far behind is refused by the table's guard too);
// - Replay, a scan a station kept while the server was away: written, its
//   trail row of kind replay just before the record (the table's guard
//   admits a closed month's change by that row alone);
// - Correction: refused; clsCorrection asks CheckMonth() before deciding,
//   so it answers MonthClosed before any other refusal.
class PresenceWriter {
public:
    enum class Source { Scan, Replay, Correction };
    enum class Month { Writable, Closed, Failed };

    // `scanId`: the replayed scan's id, named by its trail row.
    PresenceWriter(DbSession& session, Source source, const QString& number, const QDate& day,
                   const QString& scanId = QString());

    // The closed-month rule itself: whether `source` writes into a month
    // that is closed (or not).
    static bool MayWrite(Source source, bool monthClosed);

    // Holds the day's month open until the transaction ends and says whether
    // this source may write there (Failed: not known, why in Error()).
    // Asked once; every write asks first.
    Month CheckMonth();

    // An arrival, with its departure if given (invalid: none).
    bool Insert(const QDateTime& arrival, const QDateTime& departure = QDateTime());
    // The departure of the day's first record, read with its row's identity.
    bool SetDeparture(const PresenceDay::Record& first, const QDateTime& departure);
    // New times of a record read with its row's identity (invalid: none).
    bool Change(const PresenceDay::Record& record, const QDateTime& arrival,
                const QDateTime& departure);
    bool Remove(const PresenceDay::Record& record);

    // Why the last call failed (or was refused).
    const ::Error& Error() const { return m_error; }

private:
    bool writable();
    bool replayTrail(const QString& oldIn, const QString& oldOut, const QString& newIn,
                     const QString& newOut);
    bool exec(const QString& sql, const QVariantList& values);
    QString rowIs() const;

    DbSession& m_session;
    Source m_source;
    QString m_number, m_scanId;
    QDate m_day;
    bool m_checked = false;
    Month m_month = Month::Failed;
    bool m_closed = false;
    ::Error m_error;
};
