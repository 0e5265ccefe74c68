#pragma once

#include "tools/admin/AdminCommand.h"

// `export-month YEAR MONTH FILE`: the presence records of one month.
class ExportMonthCommand : public AdminCommand {
public:
    ExportMonthCommand();
    int Run(Admin::Context& c) const override;
};
