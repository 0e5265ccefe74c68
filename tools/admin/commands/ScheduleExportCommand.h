#pragma once

#include "tools/admin/AdminCommand.h"

// `schedule-export FILE.csv`: the stored working hours as CSV.
class ScheduleExportCommand : public AdminCommand {
public:
    ScheduleExportCommand();
    int Run(Admin::Context& c) const override;
};
