#include "tools/admin/commands/ScheduleExportCommand.h"

#include "session/MainSession.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/exchange/ScheduleFile.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

ScheduleExportCommand::ScheduleExportCommand()
    : AdminCommand({.name = QStringLiteral("schedule-export"),
                    .synopsis = QStringLiteral("FILE.csv"),
                    .summary = QStringLiteral(
                        "Writes the working hours as CSV: one line per department (\"*\" for the\n"
                        "unit) and weekday: dept,weekday,working,start,end,late_grace,early_grace\n"
                        "(weekday 1 = Monday ... 7 = Sunday, working 0/1, HH:MM, grace minutes;\n"
                        "a rest day's times may be empty and are not checked)."),
                    .minArgs = 1,
                    .maxArgs = 1,
                    .options = {AdminOptions::Dir()},
                    .refusesExistingFile = true}) {}

int ScheduleExportCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    ScheduleBook book;
    Error error;
    if (!AttendanceStore::LoadSchedules(MainSession::Get(), &book, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot read the working hours: %1").arg(error.Text()));
    return CommandFiles::WriteNew(c, ScheduleFile::Bytes(book),
                                  QStringLiteral("%1 schedules").arg(book.departments.size() + 1));
}
