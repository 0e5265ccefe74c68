#pragma once

#include "tools/admin/AdminCommand.h"

// The working hours and the calendar as CSV files: export writes the
// stored ones, import replaces them whole or changes nothing.
namespace ScheduleCommands {
int ExportSchedule(Admin::Context& c);
int ImportSchedule(Admin::Context& c);
int ExportCalendar(Admin::Context& c);
int ImportCalendar(Admin::Context& c);
} // namespace ScheduleCommands
