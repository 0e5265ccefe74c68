#pragma once

#include "tools/admin/AdminCommand.h"

// The options several commands take, each described once: the program
// directory, and the server login and passwords of init and migrate. An
// option of one command only is declared by that command.
namespace AdminOptions {

// Where the commands find attendance.ini without --dir: the folder of the
// packages' configuration, else the program's own.
QString DefaultDirectory();

Admin::Option Dir();
Admin::Option Server();
Admin::Option User();
Admin::Option Password();
Admin::Option PasswordFile();
Admin::Option Database();
Admin::Option AdminPassword();

} // namespace AdminOptions
