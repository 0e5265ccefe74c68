#include "tools/admin/CheckCommand.h"

#include "shared/config/clsConfiguration.h"
#include "shared/db/DbSettings.h"

namespace CheckCommand {

int Run(Admin::Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    c.out << clsConfiguration::DefaultFileName()
          << ": the database can be used: " << DbSettings::FromConfiguration().Location()
          << Qt::endl;
    return Admin::Success;
}

} // namespace CheckCommand
