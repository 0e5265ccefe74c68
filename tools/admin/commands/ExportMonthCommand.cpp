#include "tools/admin/commands/ExportMonthCommand.h"

#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

ExportMonthCommand::ExportMonthCommand()
    : AdminCommand({.name = QStringLiteral("export-month"),
                    .synopsis = QStringLiteral("YEAR MONTH FILE"),
                    .summary = QStringLiteral("Writes the presence records of one month."),
                    .minArgs = 3,
                    .maxArgs = 3,
                    .options = {AdminOptions::Dir()},
                    .refusesExistingFile = true}) {}

int ExportMonthCommand::Run(Admin::Context& c) const {
    int year = 0;
    int month = 0;
    if (const int status = Admin::ParseMonth(c, 0, &year, &month))
        return status;
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    const QDate first(year, month, 1);
    const QDate last = first.addMonths(1).addDays(-1);
    Error error;
    const bool ok = ExchangeFiles::ExportPresence(MainSession::Get(), c.args[2], first, last,
                                                  ExchangeFiles::Existing::Refuse, &error);
    return CommandFiles::Wrote(c, ok, error, c.args[2]);
}
