#include "tools/admin/commands/InitProgramDirectoryCommand.h"

#include "tools/admin/AdminOptions.h"
#include "tools/admin/InitCommand.h"

InitProgramDirectoryCommand::InitProgramDirectoryCommand()
    : AdminCommand({.name = QStringLiteral("init"),
                    .synopsis = InitCommand::Synopsis(),
                    .summary = InitCommand::Summary(),
                    .minArgs = 1,
                    .maxArgs = 1,
                    .options = {{QStringLiteral("data"), QStringLiteral("DATADIR"),
                                 QStringLiteral("the folder of the database file (default: DIR)")},
                                AdminOptions::Password(),
                                AdminOptions::PasswordFile(),
                                AdminOptions::AdminPassword(),
                                {QStringLiteral("unit"), QStringLiteral("NAME"),
                                 QStringLiteral("the unit name")},
                                {QStringLiteral("demo"), QString(),
                                 QStringLiteral(
                                     "adds the demo departments, employees and presence records")},
                                {QStringLiteral("engine"), QStringLiteral("ENGINE"),
                                 QStringLiteral("sqlite (the default) or postgresql")},
                                AdminOptions::Server(),
                                AdminOptions::User(),
                                AdminOptions::Database()},
                    // The demo's photos are drawn.
                    .gui = Admin::Gui::WithDemo}) {}

int InitProgramDirectoryCommand::Run(Admin::Context& c) const {
    return InitCommand::Run(c);
}
