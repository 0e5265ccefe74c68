#pragma once

#include "tools/admin/AdminCommand.h"

// `init`: a new program directory's attendance.ini and database (a file,
// or the tables on an empty server database), in four steps: check the
// options and what is there, stage the database and the configuration in a
// private folder, fill in the tables and demo data, put both into place.
namespace InitCommand {

QString Synopsis();
QString Summary();
int Run(Admin::Context& c);

} // namespace InitCommand
