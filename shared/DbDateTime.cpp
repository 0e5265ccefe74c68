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

QDateTime FromText(const QString& s) {
    QDateTime t = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid())
        t = QDateTime::fromString(s, Qt::ISODate);
    return t;
}

QString DayStart(const QDate& d) {
    return DayText(d) + QStringLiteral(" 00:00:00");
}

QString DayEnd(const QDate& d) {
    return DayStart(d.addDays(1));
}

} // namespace DbDateTime
