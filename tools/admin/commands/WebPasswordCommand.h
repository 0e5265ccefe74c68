#pragma once

#include "tools/admin/AdminCommand.h"

// `web-password`: sets the password of the read-only web pages
// (attendance-web), stored as a salted hash in attendance.ini.
class WebPasswordCommand : public AdminCommand {
public:
    WebPasswordCommand();
    int Run(Admin::Context& c) const override;
};
