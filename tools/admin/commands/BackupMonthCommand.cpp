#include "tools/admin/commands/BackupMonthCommand.h"

#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

BackupMonthCommand::BackupMonthCommand()
    : AdminCommand({.name = QStringLiteral("backup-month"),
                    .synopsis = QStringLiteral("FILE"),
                    .summary = QStringLiteral(
                        "Writes the presence records of the current month up to today."),
                    .minArgs = 1,
                    .maxArgs = 1,
                    .options = {AdminOptions::Dir()},
                    .refusesExistingFile = true}) {}

int BackupMonthCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    Error error;
    const bool ok = ExchangeFiles::BackupMonth(MainSession::Get(), c.args[0], &error);
    return CommandFiles::Wrote(c, ok, error, c.args[0]);
}
