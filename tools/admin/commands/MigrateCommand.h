#pragma once

#include "tools/admin/AdminCommand.h"

// `migrate`: the program directory's database file copied to a server and
// the configuration switched to it. The work is Migrate's.
class MigrateCommand : public AdminCommand {
public:
    MigrateCommand();
    int Run(Admin::Context& c) const override;
};
