#pragma once

#include "tools/admin/AdminCommand.h"

// `init DIR`: a new program directory's attendance.ini and database (a file,
// or the tables on an empty server database). The work is InitCommand's.
class InitProgramDirectoryCommand : public AdminCommand {
public:
    InitProgramDirectoryCommand();
    int Run(Admin::Context& c) const override;
};
