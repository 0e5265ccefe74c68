#pragma once

#include "tools/admin/AdminCommand.h"

#include <QString>

// `set-admin-password - | --password-file FILE`: stores a new administrator
// password in the program directory's attendance.ini, with a row of kind
// "password" in the trail written in the same database transaction (the
// configuration goes back to the old password when the transaction fails).
namespace SetAdminPassword {

QString Synopsis();
QString Summary();
int Run(Admin::Context& c);

} // namespace SetAdminPassword
