#pragma once

#include "tools/admin/AdminCommand.h"

// `correct ENUMBER DATE ...`: one day of an employee's records corrected,
// with its reason, as the office program does. A refusal exits 1 with its
// reason.
class CorrectCommand : public AdminCommand {
public:
    CorrectCommand();
    int Run(Admin::Context& c) const override;
};
