#pragma once

#include "tools/admin/AdminCommand.h"

// `dump FILE`: any row-set file printed as a table; needs no program
// directory.
class DumpCommand : public AdminCommand {
public:
    DumpCommand();
    int Run(Admin::Context& c) const override;
};
