#include "tools/admin/commands/ScheduleImportCommand.h"

#include "session/MainSession.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/db/DbQuery.h"
#include "shared/exchange/ScheduleFile.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

#include <QSqlError>

namespace {

bool departmentNames(Admin::Context& c, QStringList* names) {
    Error error;
    auto q =
        DbQuery::Read(MainSession::Get(), QStringLiteral("SELECT DNAME FROM Dept"), {}, &error);
    while (q && q->next())
        *names << q->value(0).toString();
    if (!q || q->lastError().isValid())
        return Admin::Fail(c.err, QStringLiteral("cannot read the departments: %1")
                                      .arg(q ? q->lastError().text() : error.Text()));
    return true;
}

} // namespace

ScheduleImportCommand::ScheduleImportCommand()
    : AdminCommand({.name = QStringLiteral("schedule-import"),
                    .synopsis = QStringLiteral("FILE.csv"),
                    .summary = QStringLiteral(
                        "Replaces all working hours with those of the file (as schedule-export\n"
                        "writes it); a department without lines follows the unit. A faulty file\n"
                        "is refused whole, naming the line, and nothing changes."),
                    .minArgs = 1,
                    .maxArgs = 1,
                    .options = {AdminOptions::Dir()}}) {}

int ScheduleImportCommand::Run(Admin::Context& c) const {
    QByteArray bytes;
    QStringList depts;
    if (!Admin::OpenProgramDirectory(c) || !CommandFiles::ReadWhole(c, &bytes) ||
        !departmentNames(c, &depts))
        return Admin::Failure;
    ScheduleBook book;
    Error why;
    if (!ScheduleFile::Parse(bytes, depts, &book, &why))
        return Admin::Fail(
            c.err, QStringLiteral("%1 refused, nothing changed: %2").arg(c.args[0], why.Text()));
    Error error;
    if (!AttendanceStore::ReplaceSchedules(MainSession::Get(), book, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot store the working hours: %1").arg(error.Text()));
    c.out << "stored the unit's working hours and " << book.departments.size()
          << " departments' own" << Qt::endl;
    return Admin::Success;
}
