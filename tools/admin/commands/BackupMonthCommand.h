#pragma once

#include "tools/admin/AdminCommand.h"

// `backup-month FILE`: the presence records of the current month up to
// today, as the window's backup writes them.
class BackupMonthCommand : public AdminCommand {
public:
    BackupMonthCommand();
    int Run(Admin::Context& c) const override;
};
