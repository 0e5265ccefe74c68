#pragma once

#include "tools/admin/AdminCommand.h"

#include <memory>
#include <vector>

// Every command of attendance-admin, in the order --help lists them: the one
// place that names them all. A new command is a class of its own in
// tools/admin/commands/ deriving from AdminCommand, added to All().
namespace CommandRegistry {

const std::vector<std::unique_ptr<const AdminCommand>>& All();
// The command called `name`; nullptr when there is none.
const AdminCommand* Named(const QString& name);

} // namespace CommandRegistry
