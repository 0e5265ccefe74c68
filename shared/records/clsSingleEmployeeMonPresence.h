#pragma once

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

    // The first record of a day wins.
    void AddPresence(const QDateTime& enterTime, const QDateTime& exitTime);
    // The stored time of specDay's calendar day, or the zero date-time.
    QDateTime GetEnterTime(const QDateTime& specDay) const;
    QDateTime GetExitTime(const QDateTime& specDay) const;

private:
    QString m_enumber, m_ename;
    QHash<QDate, QDateTime> m_arrivals;
    QHash<QDate, QDateTime> m_departures;
};
