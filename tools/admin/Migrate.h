#pragma once

#include "shared/db/DbErrors.h"

#include "shared/config/IniFile.h"
#include "shared/db/DbSettings.h"
#include "tools/admin/AdminCommand.h"

#include <QSqlDatabase>
#include <QString>
#include <QTextStream>

// Brings a program directory's database to this program's schema version
// (DbSchema::Upgrade), or moves its database file to a database server: every
// table copied in one server transaction, and the configuration switched to
// the server only once the copy is committed and checked.
namespace Migrate {

struct Counts {
    qint64 departments = 0;
    qint64 employees = 0;
    qint64 presence = 0;
};

// Creates the tables in `target` (which must hold none of them) and copies
// every row of `source` into them with their keys, photos and date-time
// texts as stored, inside the transaction the caller holds on `target`;
// then checks that every table holds as many rows as in `source`. `source`
// is only read, inside one read transaction so the copy is of one moment.
bool CopyDatabase(QSqlDatabase source, QSqlDatabase target, Counts* counts, Error* error);

// Whether attendance.ini can hold the four server settings as given (no line
// break, every character with a GBK code, none longer than a value read back).
bool SettingsStorable(const DbSettings& server, Error* error);
// The four server settings of group ATTENDANCE and [DATA] ENGINE=postgresql.
std::vector<IniFile::Entry> SettingsKeys(const DbSettings& server);
// Writes them into the configuration file `ini` in one atomic rewrite (a
// crash leaves all of them or none); false when it could not be written.
bool WriteSettings(const QString& ini, const DbSettings& server);

QString Synopsis();
QString Summary();
// The migrate command: without server options the schema upgrade of the
// program directory's (--dir) database; with them its database file to the
// server of the command line. Returns the exit status.
int Run(Admin::Context& c);

} // namespace Migrate
