#pragma once

#include "tools/admin/AdminCommand.h"

// `print-cards OUT.pdf [ENUMBER...]`: the sign-in cards of the given
// employees (all when none given) as a PDF file, without a window.
class PrintCardsCommand : public AdminCommand {
public:
    PrintCardsCommand();
    int Run(Admin::Context& c) const override;
};
