#include "shared/records/clsSingleEmployeeMonPresence.h"

#include "shared/db/DbDateTime.h"

void clsSingleEmployeeMonPresence::AddPresence(const QDateTime& enterTime,
                                               const QDateTime& exitTime) {
    const QDate day = enterTime.date();
    if (m_arrivals.contains(day))
        return; // the first record of a day wins, departure included
    m_arrivals.insert(day, enterTime);
    const QDate exitDay = exitTime.date();
    if (!m_departures.contains(exitDay))
        m_departures.insert(exitDay, exitTime);
}

QDateTime clsSingleEmployeeMonPresence::GetEnterTime(const QDateTime& specDay) const {
    return m_arrivals.value(specDay.date(), DbDateTime::Zero());
}

QDateTime clsSingleEmployeeMonPresence::GetExitTime(const QDateTime& specDay) const {
    return m_departures.value(specDay.date(), DbDateTime::Zero());
}
