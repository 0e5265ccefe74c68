#include "tools/admin/commands/ExportDepartmentsCommand.h"

#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

ExportDepartmentsCommand::ExportDepartmentsCommand()
    : AdminCommand({.name = QStringLiteral("export-departments"),
                    .synopsis = QStringLiteral("FILE"),
                    .summary = QStringLiteral("Writes a department file with all departments."),
                    .minArgs = 1,
                    .maxArgs = 1,
                    .options = {AdminOptions::Dir()},
                    .refusesExistingFile = true}) {}

int ExportDepartmentsCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    Error error;
    const bool ok = ExchangeFiles::ExportDepartments(MainSession::Get(), c.args[0],
                                                     ExchangeFiles::Existing::Refuse, &error);
    return CommandFiles::Wrote(c, ok, error, c.args[0]);
}
