#include "tools/admin/commands/ExportEmployeesCommand.h"

#include "session/MainSession.h"
#include "shared/db/DbDialect.h"
#include "shared/exchange/ExchangeFiles.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

ExportEmployeesCommand::ExportEmployeesCommand()
    : AdminCommand({.name = QStringLiteral("export-employees"),
                    .synopsis = QStringLiteral("FILE [ENUMBER...]"),
                    .summary = QStringLiteral("Writes an employee file with the given employees "
                                              "(all when none given)."),
                    .minArgs = 1,
                    .maxArgs = -1,
                    .options = {AdminOptions::Dir()},
                    .refusesExistingFile = true}) {}

int ExportEmployeesCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    DbSession& session = MainSession::Get();
    const QStringList numbers = c.args.mid(1);
    // Every number asked for must exist: a file quietly missing people is worse than none.
    for (const QString& number : numbers) {
        RowSet found;
        Error error;
        if (!ExchangeFiles::QueryRowSet(session,
                                        QStringLiteral("SELECT ENUMBER FROM Employee WHERE ") +
                                            DbDialect::NoCaseEquals(session.Engine(),
                                                                    QStringLiteral("ENUMBER"),
                                                                    QStringLiteral("?")),
                                        {number}, QStringLiteral("Employee"), &found, &error))
            return Admin::Fail(c.err, error.Text());
        if (found.rows.isEmpty())
            return Admin::Fail(
                c.err, QStringLiteral("no employee with number %1; no file written").arg(number));
    }
    Error error;
    const bool ok = ExchangeFiles::ExportEmployees(session, c.args[0], numbers,
                                                   ExchangeFiles::Existing::Refuse, &error);
    return CommandFiles::Wrote(c, ok, error, c.args[0]);
}
