#include "tools/admin/commands/CheckCommand.h"

#include "shared/config/clsConfiguration.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "tools/admin/AdminOptions.h"

CheckCommand::CheckCommand()
    : AdminCommand({.name = QStringLiteral("check"),
                    .summary = QStringLiteral(
                        "Opens the database of the program directory as the programs do at\n"
                        "their start and names what is wrong: the server unreachable, a login\n"
                        "refused, a missing table, a missing, locked or read-only file."),
                    .options = {AdminOptions::Dir()}}) {}

int CheckCommand::Run(Admin::Context& c) const {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    // The stations' start-up check also asks for the login's rights on a server.
    Error why;
    if (DbSettings::FromConfiguration().engine == DbSettings::Engine::PostgreSQL &&
        !clsDbConn::MayWriteTables(clsDbConn().GetDbConn(), &why))
        return Admin::Fail(c.err, why.Text());
    DbSchema::State schema;
    DbSchema::Read(clsDbConn().GetDbConn(), &schema);
    c.out << clsConfiguration::DefaultFileName()
          << ": the database can be used: " << DbSettings::FromConfiguration().Location()
          << " (schema version " << schema.version << ")" << Qt::endl;
    return Admin::Success;
}
