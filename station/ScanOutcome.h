#pragma once

#include "shared/records/clsEmployee.h"
#include "shared/records/clsPresence.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QMetaType>
#include <QString>

// What became of one scan, for the screen and today's list.
struct ScanOutcome {
    // Whether the card is known (Failed: the records could not be read).
    clsEmployee::Lookup found = clsEmployee::Lookup::NotFound;
    // clsPresence::State for a known card.
    qint16 state = 0;
    QString number, name, department;
    // The employee's photo decoded; null when there is none or it is no picture.
    QImage photo;
    // The photo as the server gave it, not decoded yet (ScanWorker's outcomes:
    // the service decodes it, or takes the copy's picture decoded meanwhile).
    QByteArray photoBytes;
    // Greeted from the station's copy: the server did not answer in time.
    bool offline = false;
    // The scan's id in the station's journal (none on a database file).
    QString scanId;
    // The record as written (number, name, the arrival or departure time).
    clsPresence record;

    // An arrival or departure was recorded (or, offline, will be).
    bool Recorded() const {
        return found == clsEmployee::Lookup::Found &&
               (state == clsPresence::Arrival || state == clsPresence::Departure);
    }
};

Q_DECLARE_METATYPE(ScanOutcome)

// A scan's key time (AppClock milliseconds) as its record stores it: local
// time, whole seconds.
inline QDateTime ScanKeyTime(qint64 msecs) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(msecs);
    return t.addMSecs(-t.time().msec());
}
