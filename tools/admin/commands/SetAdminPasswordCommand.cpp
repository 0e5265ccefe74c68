#include "tools/admin/commands/SetAdminPasswordCommand.h"

#include "tools/admin/AdminOptions.h"
#include "tools/admin/SetAdminPassword.h"

SetAdminPasswordCommand::SetAdminPasswordCommand()
    : AdminCommand({.name = QStringLiteral("set-admin-password"),
                    .synopsis = SetAdminPassword::Synopsis(),
                    .summary = SetAdminPassword::Summary(),
                    .minArgs = 0,
                    .maxArgs = 1,
                    .options = {AdminOptions::Dir(),
                                {QStringLiteral("password-file"), QStringLiteral("FILE"),
                                 QStringLiteral("the new password as the first line of FILE")}}}) {}

int SetAdminPasswordCommand::Run(Admin::Context& c) const {
    return SetAdminPassword::Run(c);
}
