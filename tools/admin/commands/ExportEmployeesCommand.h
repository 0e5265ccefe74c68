#pragma once

#include "tools/admin/AdminCommand.h"

// `export-employees FILE [ENUMBER...]`: the employee file of the window,
// of the given employees (all when none given); every number asked for must
// exist.
class ExportEmployeesCommand : public AdminCommand {
public:
    ExportEmployeesCommand();
    int Run(Admin::Context& c) const override;
};
