#pragma once

#include "tools/admin/AdminCommand.h"

// attendance-admin web-password: sets the password of the read-only web
// pages (attendance-web), stored as a salted hash in attendance.ini.
namespace WebPassword {
QString Synopsis();
QString Summary();
int Run(Admin::Context& c);
} // namespace WebPassword
