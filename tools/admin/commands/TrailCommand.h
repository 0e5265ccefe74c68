#pragma once

#include "tools/admin/AdminCommand.h"

// `trail`: every row of the corrections' trail, as lines or as CSV.
class TrailCommand : public AdminCommand {
public:
    TrailCommand();
    int Run(Admin::Context& c) const override;
};
