#pragma once

#include "tools/admin/AdminCommand.h"

// The exchange-file commands of attendance-admin: the same files, with the
// same rules, as the windows that offer them; and `dump`, which prints any
// row-set file.
namespace ExchangeCommands {

int ExportEmployees(Admin::Context& c);
int ExportDepartments(Admin::Context& c);
int ImportEmployees(Admin::Context& c);
int ImportDepartments(Admin::Context& c);
int BackupMonth(Admin::Context& c);
int ExportMonth(Admin::Context& c);
int Dump(Admin::Context& c);

} // namespace ExchangeCommands
