#include "tools/admin/CheckCommand.h"

#include "shared/config/clsConfiguration.h"
#include "shared/db/DbError.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"

namespace CheckCommand {

int Run(Admin::Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    // The stations' start-up check also asks for the login's rights on a server.
    DbError why;
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

} // namespace CheckCommand
