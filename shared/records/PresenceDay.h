#pragma once

#include "shared/records/clsPresence.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVector>

class DbSession;
class Error;

// The records of one employee on one day, in time order, and the day's rule:
// which record is the day's first (the one a departure closes and a
// correction changes; the one the month's report and summary show) and what
// a scan means. Everything but Read is pure: no database, no clock.
class PresenceDay {
public:
    struct Record {
        QDateTime arrival;           // invalid when the stored text is not a time
        QDateTime departure;         // invalid when none is stored or it is not a time
        bool departed = false;       // a departure is stored, readable or not
        QVariant row;                // the row's identity (DbDialect::RowIdColumn), when read
        QString storedIn, storedOut; // the times as stored (empty: none)
    };

    // A day without a date takes every record given.
    PresenceDay() = default;
    explicit PresenceDay(const QDate& date) : m_date(date) {}

    QDate Date() const { return m_date; }
    // Takes a record in at its place: readable arrivals by time (of equal
    // ones, the one added first before), unreadable ones after them in the
    // order added (a selection by stored text holds them). A readable
    // arrival of another day is no record of this one: false, not taken.
    bool Add(Record record);
    // A departure recorded elsewhere (a station's journal) closes the day:
    // every record counts as departed.
    void MarkDeparted();
    const QVector<Record>& Records() const { return m_records; }
    bool IsEmpty() const { return m_records.isEmpty(); }

    // The day's first record: the earliest readable arrival; null when the
    // day holds none.
    const Record* First() const;
    // Whether a record arriving at `arrival` comes before `first` (invalid:
    // none yet) as the day's first: readable and strictly earlier. For
    // readers that keep only each day's first record as the rows go by.
    static bool Precedes(const QDateTime& arrival, const QDateTime& first);

    // What a scan at `now` of this day means: Arrival on an empty day;
    // AlreadyDeparted when the first record (or, without a readable
    // arrival, the first one taken) is departed; Error when no arrival is
    // readable; Repeated up to clsPresence::RepeatSeconds after the first
    // arrival; else Departure.
    qint16 Decide(const QDateTime& now) const;

    // The rows of one employee's day in table Presence: arrivals from
    // 00:00:00 of the day up to, not including, 00:00:00 of the next,
    // compared as stored texts; its values by DayValues.
    static QString DayCondition();
    static QVariantList DayValues(const QString& number, const QDate& day);
    // Reads the day of `number` on `session` (in the transaction open there,
    // if any), each record with its row's identity and stored texts.
    static bool Read(DbSession& session, const QString& number, const QDate& day, PresenceDay* out,
                     Error* error = nullptr);

private:
    void place(Record record);

    QDate m_date;
    QVector<Record> m_records;
};
