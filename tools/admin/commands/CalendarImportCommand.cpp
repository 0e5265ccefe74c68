#include "tools/admin/commands/CalendarImportCommand.h"

#include "session/MainSession.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/exchange/CalendarFile.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

CalendarImportCommand::CalendarImportCommand()
    : AdminCommand({.name = QStringLiteral("calendar-import"),
                    .synopsis = QStringLiteral("FILE.csv"),
                    .summary = QStringLiteral(
                        "Replaces the calendar's dates of every year the file names with the\n"
                        "file's dates, all or nothing (date,kind,name[,as_weekday] as\n"
                        "calendar-export writes it); a faulty file is refused whole, naming\n"
                        "the line (and the byte of text that is not UTF-8)."),
                    .minArgs = 1,
                    .maxArgs = 1,
                    .options = {AdminOptions::Dir()}}) {}

int CalendarImportCommand::Run(Admin::Context& c) const {
    QByteArray bytes;
    if (!Admin::OpenProgramDirectory(c) || !CommandFiles::ReadWhole(c, &bytes))
        return Admin::Failure;
    std::vector<CalendarDay> days;
    QList<int> years;
    Error why;
    if (!CalendarFile::Parse(bytes, &days, &years, &why))
        return Admin::Fail(
            c.err, QStringLiteral("%1 refused, nothing changed: %2").arg(c.args[0], why.Text()));
    Error error;
    if (!AttendanceStore::ReplaceCalendarYears(MainSession::Get(), years, days, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot store the calendar: %1").arg(error.Text()));
    QStringList named;
    for (int y : years)
        named << QString::number(y);
    c.out << "stored " << days.size() << " dates of " << (named.isEmpty() ? "no year" : "")
          << named.join(QStringLiteral(", ")) << Qt::endl;
    return Admin::Success;
}
