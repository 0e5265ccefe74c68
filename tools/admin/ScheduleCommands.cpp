#include "tools/admin/ScheduleCommands.h"

#include "shared/attendance/AttendanceStore.h"
#include "shared/base/AtomicFile.h"
#include "shared/db/DbQuery.h"
#include "shared/exchange/CalendarFile.h"
#include "shared/exchange/ScheduleFile.h"

#include <QFile>
#include <QSqlError>

namespace ScheduleCommands {

namespace {

int writeNew(Admin::Context& c, const QByteArray& bytes, const QString& what) {
    QString error;
    if (!AtomicFile::WriteWhole(c.args[0], bytes, false, &error))
        return Admin::Fail(c.err, error);
    c.out << "wrote " << c.args[0] << " (" << what << ")" << Qt::endl;
    return Admin::Success;
}

bool readFile(Admin::Context& c, QByteArray* bytes) {
    QFile file(c.args[0]);
    if (!file.open(QIODevice::ReadOnly))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot read %1: %2").arg(c.args[0], file.errorString()));
    *bytes = file.readAll();
    return true;
}

bool departmentNames(Admin::Context& c, QStringList* names) {
    DbError error;
    auto q = DbQuery::Read(QStringLiteral("SELECT DNAME FROM Dept"), {}, &error);
    while (q && q->next())
        *names << q->value(0).toString();
    if (!q || q->lastError().isValid())
        return Admin::Fail(c.err, QStringLiteral("cannot read the departments: %1")
                                      .arg(q ? q->lastError().text() : error.Text()));
    return true;
}

} // namespace

int ExportSchedule(Admin::Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    ScheduleBook book;
    DbError error;
    if (!AttendanceStore::LoadSchedules(&book, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot read the working hours: %1").arg(error.Text()));
    return writeNew(c, ScheduleFile::Bytes(book),
                    QStringLiteral("%1 schedules").arg(book.departments.size() + 1));
}

int ImportSchedule(Admin::Context& c) {
    QByteArray bytes;
    QStringList depts;
    if (!Admin::OpenProgramDirectory(c) || !readFile(c, &bytes) || !departmentNames(c, &depts))
        return Admin::Failure;
    ScheduleBook book;
    QString why;
    if (!ScheduleFile::Parse(bytes, depts, &book, &why))
        return Admin::Fail(c.err,
                           QStringLiteral("%1 refused, nothing changed: %2").arg(c.args[0], why));
    DbError error;
    if (!AttendanceStore::ReplaceSchedules(book, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot store the working hours: %1").arg(error.Text()));
    c.out << "stored the unit's working hours and " << book.departments.size()
          << " departments' own" << Qt::endl;
    return Admin::Success;
}

int ExportCalendar(Admin::Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    WorkCalendar calendar;
    DbError error;
    if (!AttendanceStore::LoadCalendar(QDate(1900, 1, 1), QDate(2100, 12, 31), &calendar, &error))
        return Admin::Fail(c.err, QStringLiteral("cannot read the calendar: %1").arg(error.Text()));
    const std::vector<CalendarDay> days = calendar.Days();
    return writeNew(c, CalendarFile::Bytes(days), QStringLiteral("%1 dates").arg(days.size()));
}

int ImportCalendar(Admin::Context& c) {
    QByteArray bytes;
    if (!Admin::OpenProgramDirectory(c) || !readFile(c, &bytes))
        return Admin::Failure;
    std::vector<CalendarDay> days;
    QList<int> years;
    QString why;
    if (!CalendarFile::Parse(bytes, &days, &years, &why))
        return Admin::Fail(c.err,
                           QStringLiteral("%1 refused, nothing changed: %2").arg(c.args[0], why));
    DbError error;
    if (!AttendanceStore::ReplaceCalendarYears(years, days, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot store the calendar: %1").arg(error.Text()));
    QStringList named;
    for (int y : years)
        named << QString::number(y);
    c.out << "stored " << days.size() << " dates of " << (named.isEmpty() ? "no year" : "")
          << named.join(QStringLiteral(", ")) << Qt::endl;
    return Admin::Success;
}

} // namespace ScheduleCommands
