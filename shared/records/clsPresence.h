#pragma once

#include "shared/db/DbDateTime.h"

#include <QDateTime>
#include <QString>

// One employee's day: arrival and departure. Decides what a scan means.
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

    // 1 arrival due, 2 departure due, 3 already departed,
    // 4 repeated scan within 60 seconds, -1 error.
    qint16 CheckState();
    // 1 arrival recorded, 2 departure recorded, 3 / 4 / -1 as CheckState
    // (-1 also without a database), -2 the write failed.
    qint16 Add();

    // Seconds after the arrival during which a scan counts as repeated.
    static constexpr int RepeatSeconds = 60;

private:
    QString m_enumber, m_ename;
    QDateTime m_enterTime = DbDateTime::Zero();
    QDateTime m_exitTime = DbDateTime::Zero();
};
