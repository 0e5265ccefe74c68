#include "DbDateTime.h"

namespace DbDateTime {

QDateTime Zero() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0, 0));
}

bool IsZero(const QDateTime& t) {
    return !t.isValid() || t == Zero();
}

QString ToText(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString DayText(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

namespace {

// Digits of s[from, from + n) as a number, or -1.
int digits(const QString& s, int from, int n) {
    int v = 0;
    for (int i = from; i < from + n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

} // namespace

QDateTime FromText(const QString& s) {
    // The stored form is parsed by hand: lists convert thousands of values
    // and the general parser costs tens of microseconds a call.
    if (s.size() == 19 && s[4] == u'-' && s[7] == u'-' && (s[10] == u' ' || s[10] == u'T') &&
        s[13] == u':' && s[16] == u':') {
        const QDate d(digits(s, 0, 4), digits(s, 5, 2), digits(s, 8, 2));
        const int h = digits(s, 11, 2), m = digits(s, 14, 2), sec = digits(s, 17, 2);
        if (d.isValid() && QTime::isValid(h, m, sec))
            return QDateTime(d, QTime(h, m, sec));
        return QDateTime();
    }
    return QDateTime::fromString(s, Qt::ISODate);
}

QString DayStart(const QDate& d) {
    return DayText(d) + QStringLiteral(" 00:00:00");
}

QString DayEnd(const QDate& d) {
    return DayStart(d.addDays(1));
}

} // namespace DbDateTime
