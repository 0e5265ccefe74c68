#pragma once

#include "tools/admin/AdminCommand.h"

// `import-employees FILE`: the file's employees inserted or overwritten by
// number, with the window's rules; warns of employees whose department this
// database does not know.
class ImportEmployeesCommand : public AdminCommand {
public:
    ImportEmployeesCommand();
    int Run(Admin::Context& c) const override;
};
