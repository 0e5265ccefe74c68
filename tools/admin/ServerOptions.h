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

// How often a prompt asks: a password that exists is typed once; a new one
// twice, so that a typing error is not what gets stored.
enum class Ask { Once, Twice };

// The secret `option` names: its value, or a prompt without echo on the
// terminal when the value is "-"; for --password also the first line of the
// file of --password-file; otherwise the variable `environment` when given
// and set. *given tells whether any of them was there. False, said on
// `err`, when a source cannot be read, two are given or the two answers of
// Ask::Twice differ.
bool Secret(Admin::Context& c, const char* option, const char* environment, QString* value,
            bool* given, Ask ask = Ask::Once);

// Asks for the secret `label` names on the terminal without echo, once or
// twice; false, said on `err`, when the input is no terminal or the answers
// differ.
bool Prompt(Admin::Context& c, const QString& label, QString* value, Ask ask);

// The first line of `path`, without its line end; false, said on `err`,
// when it cannot be read.
bool FromFile(Admin::Context& c, const QString& path, QString* value);

// Whether `password` can be the administrator password, said on `err` when
// not: the station trims what is typed at its login, so an empty password
// or one with blanks at an end could never be entered.
bool AdminPasswordUsable(Admin::Context& c, const QString& password);

// The server settings of the command line; false (said on `err`) when one
// is missing or unusable.
bool Read(Admin::Context& c, DbSettings* settings);

} // namespace ServerOptions
