#include "tools/admin/commands/ImportDepartmentsCommand.h"

#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

ImportDepartmentsCommand::ImportDepartmentsCommand()
    : AdminCommand({.name = QStringLiteral("import-departments"),
                    .synopsis = QStringLiteral("FILE"),
                    .summary = QStringLiteral("Replaces all departments with those of the file."),
                    .minArgs = 1,
                    .maxArgs = 1,
                    .options = {AdminOptions::Dir()}}) {}

int ImportDepartmentsCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    Error error;
    int count = 0;
    const bool ok = ExchangeFiles::ImportDepartments(MainSession::Get(), c.args[0], &error, &count);
    return CommandFiles::Reported(
        c, ok, error, QStringLiteral("imported %1 departments from %2").arg(count).arg(c.args[0]));
}
