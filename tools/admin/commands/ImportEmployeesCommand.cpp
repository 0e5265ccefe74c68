#include "tools/admin/commands/ImportEmployeesCommand.h"

#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsEmployeeSet.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CommandFiles.h"

ImportEmployeesCommand::ImportEmployeesCommand()
    : AdminCommand(
          {.name = QStringLiteral("import-employees"),
           .synopsis = QStringLiteral("FILE"),
           .summary = QStringLiteral("Inserts or overwrites the file's employees by number."),
           .minArgs = 1,
           .maxArgs = 1,
           .options = {AdminOptions::Dir()}}) {}

int ImportEmployeesCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    Error error;
    int count = 0;
    const bool ok = ExchangeFiles::ImportEmployees(MainSession::Get(), c.args[0], &error, &count);
    const int status = CommandFiles::Reported(
        c, ok, error, QStringLiteral("imported %1 employees from %2").arg(count).arg(c.args[0]));
    if (status == Admin::Success) {
        // Such employees vanish from every list and cannot sign in.
        if (const auto unknown = clsEmployeeSet::WithUnknownDepartment(MainSession::Get());
            !unknown.isEmpty())
            c.err << "attendance-admin: warning: " << unknown.size()
                  << " employees have a department key that this database does not know; "
                     "import the department file of the exporting database as well"
                  << Qt::endl;
    }
    return status;
}
