#include "shared/db/DbDateTime.h"

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

int digits(const QString& s, int from, int n) {
    return DbDateTime::Digits(s, from, n);
}

// Reads the other text forms: [yyyy-MM-dd][( |T)+H[H]:mm[:ss[.fff...]]] with
// at least one of the two parts, spaces around it allowed.
QDateTime parseGeneral(const QString& text) {
    QString s = text.trimmed();
    if (s.endsWith(u'Z') || s.endsWith(u'z'))
        s.chop(1); // UTC: SQLite reads the value unchanged
    int i = 0;
    QDate date(2000, 1, 1); // SQLite's date for a time alone
    const bool hasDate = s.size() >= 10 && s[4] == u'-' && s[7] == u'-';
    if (hasDate) {
        date = QDate(digits(s, 0, 4), digits(s, 5, 2), digits(s, 8, 2));
        if (!date.isValid())
            return QDateTime();
        i = 10;
        if (i == s.size())
            return QDateTime(date, QTime(0, 0));
        if (s[i] != u' ' && s[i] != u'T')
            return QDateTime();
        while (i < s.size() && (s[i] == u' ' || s[i] == u'T'))
            ++i;
    }
    // Hour of one or two digits, then ":mm".
    const int hourDigits = i + 1 < s.size() && s[i + 1] == u':' ? 1 : 2;
    if (i + hourDigits + 3 > s.size() || s[i + hourDigits] != u':')
        return QDateTime();
    const int h = digits(s, i, hourDigits), m = digits(s, i + hourDigits + 1, 2);
    i += hourDigits + 3;
    int sec = 0, ms = 0;
    if (i < s.size()) {
        if (s[i] != u':' || i + 3 > s.size())
            return QDateTime();
        sec = digits(s, i + 1, 2);
        i += 3;
        if (i < s.size()) {
            // Fractions: any number of digits, milliseconds kept.
            if (s[i] != u'.' || i + 1 == s.size())
                return QDateTime();
            for (int k = i + 1, scale = 100; k < s.size(); ++k, scale /= 10) {
                const int d = digits(s, k, 1);
                if (d < 0)
                    return QDateTime();
                ms += d * scale;
            }
        }
    }
    if (!QTime::isValid(h, m, sec, ms))
        return QDateTime();
    return QDateTime(date, QTime(h, m, sec, ms));
}

} // namespace

QDateTime FromText(const QString& s) {
    // The stored form is parsed first and by hand: lists convert thousands
    // of values and the general parser costs tens of microseconds a call.
    if (s.size() == 19 && s[4] == u'-' && s[7] == u'-' && (s[10] == u' ' || s[10] == u'T') &&
        s[13] == u':' && s[16] == u':') {
        const QDate d(digits(s, 0, 4), digits(s, 5, 2), digits(s, 8, 2));
        const int h = digits(s, 11, 2), m = digits(s, 14, 2), sec = digits(s, 17, 2);
        if (d.isValid() && QTime::isValid(h, m, sec))
            return QDateTime(d, QTime(h, m, sec));
        return QDateTime();
    }
    return parseGeneral(s);
}

QString DayStart(const QDate& d) {
    return DayText(d);
}

QString DayEnd(const QDate& d) {
    return DayStart(d.addDays(1));
}

int Digits(const QString& s, int from, int n) {
    int v = 0;
    for (int i = from; i < from + n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

} // namespace DbDateTime
