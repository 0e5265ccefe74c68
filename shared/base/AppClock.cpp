#include "shared/base/AppClock.h"

#include <ctime>

namespace {
AppClock::Source& source() {
    static AppClock::Source s;
    return s;
}
QDateTime& fixedTime() {
    static QDateTime t;
    return t;
}
} // namespace

QDateTime AppClock::now() {
    QDateTime t = source() ? source()() : QDateTime::currentDateTime();
    QTime tm = t.time();
    t.setTime(QTime(tm.hour(), tm.minute(), tm.second()));
    return t;
}

qint64 AppClock::msecsSinceEpoch() {
    if (source())
        return source()().toMSecsSinceEpoch();
    return QDateTime::currentMSecsSinceEpoch();
}

void AppClock::setSource(Source s) {
    source() = std::move(s);
}

void AppClock::setFixed(const QDateTime& when) {
    fixedTime() = when;
    source() = [] { return fixedTime(); };
}

void AppClock::advance(qint64 msecs) {
    fixedTime() = fixedTime().addMSecs(msecs);
}

void AppClock::reset() {
    source() = nullptr;
    fixedTime() = QDateTime();
}

void AppClock::UseSystemTimeZoneOnce() {
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    qputenv("TZ", ":/etc/localtime");
    tzset();
}
