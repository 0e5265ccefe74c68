#pragma once

#include "tools/admin/AdminCommand.h"

// The options several commands take, each described once: the program
// directory, and the server login and passwords of init and migrate. An
// option of one command only is declared by that command.
namespace AdminOptions {

Admin::Option Dir();
Admin::Option Server();
Admin::Option User();
Admin::Option Password();
Admin::Option PasswordFile();
Admin::Option Database();
Admin::Option AdminPassword();

} // namespace AdminOptions
