#pragma once

#include "tools/admin/AdminCommand.h"

// `calendar-import FILE.csv`: the calendar's dates of the file's years
// replaced by the file's, or nothing changed.
class CalendarImportCommand : public AdminCommand {
public:
    CalendarImportCommand();
    int Run(Admin::Context& c) const override;
};
