#pragma once

#include "tools/admin/AdminCommand.h"

// `reopen-month YEAR MONTH --admin-password PW`: reopens a closed month.
class ReopenMonthCommand : public AdminCommand {
public:
    ReopenMonthCommand();
    int Run(Admin::Context& c) const override;
};
