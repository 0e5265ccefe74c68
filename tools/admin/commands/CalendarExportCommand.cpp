#include "tools/admin/commands/CalendarExportCommand.h"

#include "session/MainSession.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/exchange/CalendarFile.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

CalendarExportCommand::CalendarExportCommand()
    : AdminCommand(
          {.name = QStringLiteral("calendar-export"),
           .synopsis = QStringLiteral("FILE.csv"),
           .summary = QStringLiteral(
               "Writes the calendar as CSV: date (YYYY-MM-DD),kind (holiday, workday or\n"
               "rest),name,as_weekday. A make-up workday works the hours of the weekday\n"
               "as_weekday names (1-7; empty: the first working weekday of the schedule)."),
           .minArgs = 1,
           .maxArgs = 1,
           .options = {AdminOptions::Dir()},
           .refusesExistingFile = true}) {}

int CalendarExportCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    WorkCalendar calendar;
    Error error;
    if (!AttendanceStore::LoadCalendar(MainSession::Get(), QDate(Admin::kFirstYear, 1, 1),
                                       QDate(Admin::kLastYear, 12, 31), &calendar, &error))
        return Admin::Fail(c.err, QStringLiteral("cannot read the calendar: %1").arg(error.Text()));
    const std::vector<CalendarDay> days = calendar.Days();
    return CommandFiles::WriteNew(c, CalendarFile::Bytes(days),
                                  QStringLiteral("%1 dates").arg(days.size()));
}
