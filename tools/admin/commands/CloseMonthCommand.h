#pragma once

#include "tools/admin/AdminCommand.h"

// `close-month YEAR MONTH`: closes a past month to corrections, imports
// and removals.
class CloseMonthCommand : public AdminCommand {
public:
    CloseMonthCommand();
    int Run(Admin::Context& c) const override;
};
