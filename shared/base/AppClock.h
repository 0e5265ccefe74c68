#pragma once

#include <QDateTime>
#include <functional>

// The one source of "now" for the whole process. Tests replace it so the
// 60-second rule, the keystroke pause and day boundaries run without sleeping.
class AppClock {
public:
    using Source = std::function<QDateTime()>;

    // Local date-time, whole seconds.
    static QDateTime now();
    // Milliseconds for short intervals (keystroke gathering); follows now()
    // when a fixed time is set, so tests can step it.
    static qint64 msecsSinceEpoch();

    static void setSource(Source source);
    // Fixes now() at `when` (milliseconds kept for msecsSinceEpoch()).
    static void setFixed(const QDateTime& when);
    // Moves a fixed clock forward; no effect on the system clock.
    static void advance(qint64 msecs);
    static void reset();

    // Call first in main(): with TZ unset the C library checks the zone file
    // on every local-time conversion, which dominates loading thousands of
    // records. TZ=":/etc/localtime" names the same zone and reads it once.
    static void UseSystemTimeZoneOnce();
};
