#pragma once

#include "tools/admin/AdminCommand.h"

// `check`: opens the database of the program directory as the programs do
// at their start, and names what is wrong (the windows say only that the
// database failed).
class CheckCommand : public AdminCommand {
public:
    CheckCommand();
    int Run(Admin::Context& c) const override;
};
