#include "shared/exchange/ScheduleFile.h"

#include "shared/base/CsvText.h"
#include "shared/base/PlainText.h"
#include "shared/db/DbErrors.h"

#include <climits>
#include <set>

namespace ScheduleFile {

namespace {

const QString kUnit = QStringLiteral("*");
constexpr int kMaxGrace = DaySchedule::kMaxGrace;

void appendWeek(QString* text, const QString& dept, const WorkSchedule& week) {
    for (int d = 1; d <= 7; ++d) {
        const DaySchedule& s = week.Day(d);
        *text += CsvText::Line({dept, QString::number(d),
                                s.working ? QStringLiteral("1") : QStringLiteral("0"),
                                DaySchedule::TimeText(s.start), DaySchedule::TimeText(s.end),
                                QString::number(s.lateGrace), QString::number(s.earlyGrace)});
    }
}

// HH:MM (or H:MM); empty allowed where `optional`.
bool parseTime(const QString& text, bool optional, QTime* out) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *out = QTime();
        return optional;
    }
    *out = QTime::fromString(t, t.size() == 4 ? QStringLiteral("H:mm") : QStringLiteral("HH:mm"));
    return out->isValid();
}

bool parseInt(const QString& text, int low, int high, int* out) {
    bool ok = false;
    *out = text.trimmed().toInt(&ok);
    return ok && *out >= low && *out <= high;
}

// The value as echoed in a reason.
QString shown(const QString& value) {
    return PlainText::Echo(value);
}

struct Row {
    QString dept;
    int weekday = 0;
    DaySchedule day;
};

// One line's fields into *row; the reason when they are wrong. The hours
// are checked as the schedule editor checks them (DaySchedule::Check).
QString parseRow(const QStringList& f, const QStringList& departments, Row* row) {
    if (f.size() != 7)
        return QStringLiteral("expected 7 columns, found %1").arg(f.size());
    for (const QString& field : f)
        if (const QString why = CsvText::FieldProblem(field); !why.isEmpty())
            return why;
    row->dept = f[0].trimmed();
    if (row->dept != kUnit && !departments.contains(row->dept))
        return QStringLiteral("unknown department \"%1\"").arg(shown(row->dept));
    if (!parseInt(f[1], 1, 7, &row->weekday))
        return QStringLiteral("weekday \"%1\" is not 1 (Monday) to 7 (Sunday)").arg(shown(f[1]));
    int working = 0;
    if (!parseInt(f[2], 0, 1, &working))
        return QStringLiteral("working \"%1\" is not 0 or 1").arg(shown(f[2]));
    row->day.working = working == 1;
    // A rest day's times may stay empty.
    if (!parseTime(f[3], !row->day.working, &row->day.start))
        return QStringLiteral("bad start time \"%1\" (HH:MM)").arg(shown(f[3]));
    if (!parseTime(f[4], !row->day.working, &row->day.end))
        return QStringLiteral("bad end time \"%1\" (HH:MM)").arg(shown(f[4]));
    const QString graces = QStringLiteral("\"%1\" is not 0 to %2 minutes");
    if (!parseInt(f[5], INT_MIN, INT_MAX, &row->day.lateGrace))
        return QStringLiteral("late grace ") + graces.arg(shown(f[5])).arg(kMaxGrace);
    if (!parseInt(f[6], INT_MIN, INT_MAX, &row->day.earlyGrace))
        return QStringLiteral("early grace ") + graces.arg(shown(f[6])).arg(kMaxGrace);
    switch (row->day.Check()) {
    case DaySchedule::Fault::None:
        break;
    case DaySchedule::Fault::LateGrace:
        return QStringLiteral("late grace ") + graces.arg(f[5].trimmed()).arg(kMaxGrace);
    case DaySchedule::Fault::EarlyGrace:
        return QStringLiteral("early grace ") + graces.arg(f[6].trimmed()).arg(kMaxGrace);
    case DaySchedule::Fault::NoHours:
        return QStringLiteral("a working day needs a start and an end");
    case DaySchedule::Fault::EndNotAfterStart:
        return QStringLiteral("end %1 is not after start %2").arg(f[4].trimmed(), f[3].trimmed());
    }
    return QString();
}

} // namespace

QString Header() {
    return QStringLiteral("dept,weekday,working,start,end,late_grace,early_grace");
}

QByteArray Bytes(const ScheduleBook& book) {
    QString text = Header() + QStringLiteral("\r\n");
    appendWeek(&text, kUnit, book.unit);
    for (const auto& [dept, week] : book.departments)
        appendWeek(&text, dept, week);
    return text.toUtf8();
}

bool Parse(const QByteArray& bytes, const QStringList& departments, ScheduleBook* out,
           Error* error) {
    QStringList lines;
    if (!CsvText::LinesUnder(bytes, Header(), &lines, error))
        return false;
    std::vector<Row> rows;
    std::set<std::pair<QString, int>> seen;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        Row row;
        QString why = parseRow(CsvText::Split(lines[i]), departments, &row);
        if (why.isEmpty() && !seen.insert({row.dept, row.weekday}).second)
            why = QStringLiteral("department \"%1\" weekday %2 given twice")
                      .arg(row.dept)
                      .arg(row.weekday);
        if (!why.isEmpty())
            return Error::Fail(error, QStringLiteral("line %1: %2").arg(i + 1).arg(why));
        rows.push_back(row);
    }
    ScheduleBook book;
    for (const Row& r : rows)
        if (r.dept == kUnit)
            book.unit.Day(r.weekday) = r.day;
    for (const Row& r : rows)
        if (r.dept != kUnit)
            book.departments.try_emplace(r.dept, book.unit).first->second.Day(r.weekday) = r.day;
    *out = std::move(book);
    return true;
}

} // namespace ScheduleFile
