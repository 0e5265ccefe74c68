#pragma once

#include "tools/admin/AdminCommand.h"

// The corrections of attendance-admin: `correct` (a day of an employee, with
// its reason), `trail` (every row of the corrections' trail, as a table or
// CSV), `close-month` and `reopen-month`. A refusal exits 1 with its reason.
namespace CorrectionCommands {

int Correct(Admin::Context& c);
int Trail(Admin::Context& c);
int CloseMonth(Admin::Context& c);
int ReopenMonth(Admin::Context& c);

} // namespace CorrectionCommands
