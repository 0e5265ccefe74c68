#pragma once

#include "shared/records/PresenceDay.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>

// One employee's arrivals and departures of a month, by day.
class clsSingleEmployeeMonPresence {
public:
    QString ENUMBER() const { return m_enumber; }
    void setENUMBER(const QString& v) { m_enumber = v; }
    QString ENAME() const { return m_ename; }
    void setENAME(const QString& v) { m_ename = v; }

    // A day's first record (PresenceDay::First): its arrival on the day,
    // its departure on the departure's own date unless a day added before
    // put one there. Days come in date order; a day given again changes
    // nothing.
    void AddDay(const PresenceDay& day);
    // The stored time of specDay's calendar day, or the zero date-time.
    QDateTime GetEnterTime(const QDateTime& specDay) const;
    QDateTime GetExitTime(const QDateTime& specDay) const;

private:
    QString m_enumber, m_ename;
    QHash<QDate, QDateTime> m_arrivals;
    QHash<QDate, QDateTime> m_departures;
};
