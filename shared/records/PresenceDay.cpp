#include "shared/records/PresenceDay.h"

#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"

bool PresenceDay::Add(Record record) {
    if (record.arrival.isValid() && m_date.isValid() && record.arrival.date() != m_date)
        return false;
    place(std::move(record));
    return true;
}

void PresenceDay::place(Record record) {
    // After the last record that it does not precede: equal times keep the
    // order added, unreadable arrivals go last. Searched from the end, as
    // records mostly come in time order.
    auto at = m_records.end();
    while (at != m_records.begin() && Precedes(record.arrival, (at - 1)->arrival))
        --at;
    m_records.insert(at, std::move(record));
}

void PresenceDay::MarkDeparted() {
    for (Record& r : m_records)
        r.departed = true;
}

const PresenceDay::Record* PresenceDay::First() const {
    return !m_records.isEmpty() && m_records.front().arrival.isValid() ? &m_records.front()
                                                                       : nullptr;
}

bool PresenceDay::Precedes(const QDateTime& arrival, const QDateTime& first) {
    return arrival.isValid() && (!first.isValid() || arrival < first);
}

qint16 PresenceDay::Decide(const QDateTime& now) const {
    if (m_records.isEmpty())
        return clsPresence::Arrival;
    // The first record by time, else the first taken: rows other tools
    // wrote may hold no readable time.
    const Record& first = m_records.front();
    if (first.departed)
        return clsPresence::AlreadyDeparted;
    if (!first.arrival.isValid())
        return clsPresence::Error;
    return first.arrival.secsTo(now) <= clsPresence::RepeatSeconds ? clsPresence::Repeated
                                                                   : clsPresence::Departure;
}

QString PresenceDay::DayCondition() {
    return QStringLiteral("ENUMBER = ? AND ENTERTIME >= ? AND ENTERTIME < ?");
}

QVariantList PresenceDay::DayValues(const QString& number, const QDate& day) {
    return {number, DbDateTime::DayStart(day), DbDateTime::DayEnd(day)};
}

bool PresenceDay::Read(DbSession& session, const QString& number, const QDate& day,
                       PresenceDay* out, Error* error) {
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT %1, ENTERTIME, EXITTIME FROM Presence WHERE ")
                                   .arg(DbDialect::RowIdColumn(session.Engine())) +
                               DayCondition(),
                           DayValues(number, day), error);
    if (!q)
        return false;
    *out = PresenceDay(day);
    while (q->next()) {
        Record r;
        r.row = q->value(0);
        r.storedIn = q->value(1).toString();
        r.departed = !q->isNull(2);
        r.storedOut = q->value(2).toString();
        r.arrival = DbDateTime::FromText(r.storedIn);
        r.departure = r.departed ? DbDateTime::FromText(r.storedOut) : QDateTime();
        // Every row the condition selects is the day's: its text starts
        // with the date.
        out->place(std::move(r));
    }
    return true;
}
