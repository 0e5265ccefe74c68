#pragma once

#include "tools/admin/AdminCommand.h"

// `export-departments FILE`: the department file of the window, with all
// departments.
class ExportDepartmentsCommand : public AdminCommand {
public:
    ExportDepartmentsCommand();
    int Run(Admin::Context& c) const override;
};
