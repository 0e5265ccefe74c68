#pragma once

#include "tools/admin/AdminCommand.h"

// `calendar-export FILE.csv`: the stored calendar as CSV.
class CalendarExportCommand : public AdminCommand {
public:
    CalendarExportCommand();
    int Run(Admin::Context& c) const override;
};
