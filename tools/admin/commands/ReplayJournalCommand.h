#pragma once

#include "tools/admin/AdminCommand.h"

// `replay-journal FILE`: gives the scans of a station's journal that the
// station kept aside (it could not use it) to the database of the program
// directory, each exactly once, and prints what was applied, what was there
// already and what could not be read.
class ReplayJournalCommand : public AdminCommand {
public:
    ReplayJournalCommand();
    int Run(Admin::Context& c) const override;
};
