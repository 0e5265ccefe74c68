#pragma once

#include "tools/admin/AdminCommand.h"

// `schedule-import FILE.csv`: the working hours replaced whole by the
// file's, or nothing changed.
class ScheduleImportCommand : public AdminCommand {
public:
    ScheduleImportCommand();
    int Run(Admin::Context& c) const override;
};
