#pragma once

#include "tools/admin/AdminCommand.h"

// `set-admin-password - | --password-file FILE`: a new administrator
// password, with its row in the trail (the work is SetAdminPassword's).
class SetAdminPasswordCommand : public AdminCommand {
public:
    SetAdminPasswordCommand();
    int Run(Admin::Context& c) const override;
};
