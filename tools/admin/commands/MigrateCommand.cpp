#include "tools/admin/commands/MigrateCommand.h"

#include "tools/admin/AdminOptions.h"
#include "tools/admin/Migrate.h"

MigrateCommand::MigrateCommand()
    : AdminCommand({.name = QStringLiteral("migrate"),
                    .synopsis = Migrate::Synopsis(),
                    .summary = Migrate::Summary(),
                    .options = {AdminOptions::Dir(), AdminOptions::Server(), AdminOptions::User(),
                                AdminOptions::Password(), AdminOptions::PasswordFile(),
                                AdminOptions::Database()}}) {}

int MigrateCommand::Run(Admin::Context& c) const {
    return Migrate::Run(c);
}
