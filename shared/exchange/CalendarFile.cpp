#include "shared/exchange/CalendarFile.h"

#include "shared/base/CsvText.h"
#include "shared/base/PlainText.h"
#include "shared/db/DbErrors.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace CalendarFile {

namespace {

const QString kOldHeader = QStringLiteral("date,kind,name");

// One line's fields into *day: 3 columns, or 4 under the header naming
// as_weekday (which may stay empty).
QString parseRow(const QStringList& f, int columns, CalendarDay* day) {
    if (f.size() != columns && !(columns == 4 && f.size() == 3))
        return QStringLiteral("expected %1 columns, found %2").arg(columns).arg(f.size());
    for (const QString& field : f)
        if (const QString why = CsvText::FieldProblem(field); !why.isEmpty())
            return why;
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QString date = f[0].trimmed();
    day->date = form.match(date).hasMatch() ? QDate::fromString(date, Qt::ISODate) : QDate();
    if (!day->date.isValid())
        return QStringLiteral("bad date \"%1\" (YYYY-MM-DD)").arg(PlainText::Echo(date));
    if (day->date.year() < 1900 || day->date.year() > 2100)
        return QStringLiteral("date %1 is outside 1900-2100").arg(date);
    if (!ParseCalendarKind(f[1], &day->kind))
        return QStringLiteral("unknown kind \"%1\" (holiday, workday or rest)")
            .arg(PlainText::Echo(f[1]));
    day->name = f[2].trimmed();
    const QString as = f.value(3).trimmed();
    if (as.isEmpty())
        return QString();
    bool number = false;
    day->asWeekday = as.toInt(&number);
    if (!number || day->asWeekday < 1 || day->asWeekday > 7)
        return QStringLiteral("as_weekday \"%1\" is not 1 (Monday) to 7 (Sunday)")
            .arg(PlainText::Echo(as));
    if (day->kind != CalendarKind::Workday)
        return QStringLiteral("as_weekday is given for a workday only");
    return QString();
}

} // namespace

QString Header() {
    return QStringLiteral("date,kind,name,as_weekday");
}

QByteArray Bytes(const std::vector<CalendarDay>& days) {
    QString text = Header() + QStringLiteral("\r\n");
    for (const CalendarDay& d : days)
        text += CsvText::Line({d.date.toString(Qt::ISODate), CalendarKindKey(d.kind), d.name,
                               d.asWeekday ? QString::number(d.asWeekday) : QString()});
    return text.toUtf8();
}

bool Parse(const QByteArray& bytes, std::vector<CalendarDay>* days, QList<int>* years,
           Error* error) {
    QStringList lines;
    int header = 0;
    if (!CsvText::LinesUnder(bytes, {kOldHeader, Header()}, &lines, &header, error))
        return false;
    const int columns = header == 0 ? 3 : 4;
    std::map<QDate, CalendarDay> read;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        CalendarDay day;
        QString why = parseRow(CsvText::Split(lines[i]), columns, &day);
        if (why.isEmpty() && !read.emplace(day.date, day).second)
            why = QStringLiteral("date %1 given twice").arg(day.date.toString(Qt::ISODate));
        if (!why.isEmpty())
            return Error::Fail(error, QStringLiteral("line %1: %2").arg(i + 1).arg(why));
    }
    days->clear();
    years->clear();
    for (const auto& [date, day] : read) {
        days->push_back(day);
        if (!years->contains(date.year()))
            years->append(date.year());
    }
    return true;
}

} // namespace CalendarFile
