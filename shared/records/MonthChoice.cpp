#include "shared/records/MonthChoice.h"

#include <QRegularExpression>

namespace MonthChoice {

bool IsLeapYear(int year) {
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int LastDay(int year, int month) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

YearMonth PreviousMonth(const QDate& today) {
    if (today.month() == 1)
        return {today.year() - 1, 12};
    return {today.year(), today.month() - 1};
}

QStringList YearList(int currentYear) {
    QStringList years;
    for (int y = 2007; y <= qMax(2010, currentYear); ++y)
        years << QString::number(y);
    return years;
}

QStringList MonthList() {
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QString::number(m);
    return months;
}

QDate FirstDate(int year, int month) {
    return LastDay(year, month) ? QDate(year, month, 1) : QDate();
}

QDate LastDate(int year, int month) {
    const int last = LastDay(year, month);
    return last ? QDate(year, month, last) : QDate();
}

YearMonth Parse(const QString& year, const QString& month, int firstYear, int lastYear) {
    bool yearOk = false;
    bool monthOk = false;
    const int y = year.toInt(&yearOk);
    const int m = month.toInt(&monthOk);
    return {yearOk && y >= firstYear && y <= lastYear ? y : 0,
            monthOk && m >= 1 && m <= 12 ? m : 0};
}

YearMonth ParseText(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})-([0-9]{1,2})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    const YearMonth m = Parse(match.captured(1), match.captured(2));
    return m.IsValid() ? m : YearMonth{};
}

} // namespace MonthChoice
