#pragma once

#include "shared/db/DbSettings.h"
#include "tools/admin/AdminCommand.h"

// The database server options of init and migrate, and the secrets they
// take without showing them to other users in the process list.
namespace ServerOptions {

// --server, --user, --password, --database.
const QStringList& Names();

// The environment variable that holds the server login's password.
constexpr const char* kPasswordVariable = "ATTENDANCE_DB_PASSWORD";

// The secret `option` names: its value, or a prompt without echo on the
// terminal when the value is "-"; for --password also the first line of the
// file of --password-file; otherwise the variable `environment` when given
// and set. *given tells whether any of them was there. False, said on
// `err`, when a source cannot be read or two are given.
bool Secret(Admin::Context& c, const char* option, const char* environment, QString* value,
            bool* given);

// The server settings of the command line; false (said on `err`) when one
// is missing or unusable.
bool Read(Admin::Context& c, DbSettings* settings);

} // namespace ServerOptions
