#include "shared/records/clsSingleEmployeeMonPresence.h"

#include "shared/db/DbDateTime.h"

void clsSingleEmployeeMonPresence::AddDay(const PresenceDay& day) {
    const PresenceDay::Record* first = day.First();
    if (!first || m_arrivals.contains(day.Date()))
        return;
    m_arrivals.insert(day.Date(), first->arrival);
    const QDate exitDay = first->departure.date();
    if (!m_departures.contains(exitDay))
        m_departures.insert(exitDay, first->departure);
}

QDateTime clsSingleEmployeeMonPresence::GetEnterTime(const QDateTime& specDay) const {
    return m_arrivals.value(specDay.date(), DbDateTime::Zero());
}

QDateTime clsSingleEmployeeMonPresence::GetExitTime(const QDateTime& specDay) const {
    return m_departures.value(specDay.date(), DbDateTime::Zero());
}
