#pragma once

#include "tools/admin/AdminCommand.h"

// `import-departments FILE`: all departments replaced with the file's, with
// the window's rules.
class ImportDepartmentsCommand : public AdminCommand {
public:
    ImportDepartmentsCommand();
    int Run(Admin::Context& c) const override;
};
