#include "shared/exchange/CalendarFile.h"

#include "shared/base/CsvText.h"
#include "shared/db/DbError.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace CalendarFile {

namespace {

QString parseRow(const QStringList& f, CalendarDay* day) {
    if (f.size() != 3)
        return QStringLiteral("expected 3 columns, found %1").arg(f.size());
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QString date = f[0].trimmed();
    day->date = form.match(date).hasMatch() ? QDate::fromString(date, Qt::ISODate) : QDate();
    if (!day->date.isValid())
        return QStringLiteral("bad date \"%1\" (YYYY-MM-DD)").arg(date);
    if (day->date.year() < 1900 || day->date.year() > 2100)
        return QStringLiteral("date %1 is outside 1900-2100").arg(date);
    if (!ParseCalendarKind(f[1], &day->kind))
        return QStringLiteral("unknown kind \"%1\" (holiday, workday or rest)").arg(f[1]);
    day->name = f[2].trimmed();
    return QString();
}

} // namespace

QString Header() {
    return QStringLiteral("date,kind,name");
}

QByteArray Bytes(const std::vector<CalendarDay>& days) {
    QString text = Header() + QStringLiteral("\r\n");
    for (const CalendarDay& d : days)
        text += CsvText::Line({d.date.toString(Qt::ISODate), CalendarKindKey(d.kind), d.name});
    return text.toUtf8();
}

bool Parse(const QByteArray& bytes, std::vector<CalendarDay>* days, QList<int>* years,
           QString* error) {
    QStringList lines;
    if (!CsvText::LinesUnder(bytes, Header(), &lines, error))
        return false;
    std::map<QDate, CalendarDay> read;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        CalendarDay day;
        QString why = parseRow(CsvText::Split(lines[i]), &day);
        if (why.isEmpty() && !read.emplace(day.date, day).second)
            why = QStringLiteral("date %1 given twice").arg(day.date.toString(Qt::ISODate));
        if (!why.isEmpty())
            return DbError::Fail(error, QStringLiteral("line %1: %2").arg(i + 1).arg(why));
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
