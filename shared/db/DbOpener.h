#pragma once

#include "shared/db/DbErrors.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbSettings.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Opens every database file and server connection of the programs and tools,
// as a Qt SQL connection of the given name, by profile. The caller names the
// connection with a ScopedConnection (or, for the process's shared one,
// clsDbConn::CloseShared), which closes and drops it: the one cleanup. An
// open that fails leaves no connection of that name.
namespace DbOpener {

enum class Profile {
    // The records: an existing database holding the three tables, with the
    // programs' session settings; brought to this program's schema version
    // where the login may (DbSchema::CheckOnOpen), refused when newer or when
    // older and the login may not upgrade it.
    Shared,
    // An existing database file only read (never written, not upgraded; a
    // newer one is refused): attendance-admin migrate's source.
    ReadOnly,
    // A database that may hold no tables yet: a file being built, a server
    // database init or migrate fill. Nothing is checked.
    New,
    // A station's own file (the copy, the journal): created where missing,
    // given `localSchema`, written ahead (WAL) and synced at each commit; a
    // write transaction taken and given back proves it writable.
    Local,
    // A station's file read as it is (a kept journal's copy): opened
    // read-only, nothing checked.
    LocalReadOnly,
};

// Busy timeout for concurrent use of a file by several programs.
constexpr int BusyTimeoutMs = 5000;
// Seconds to wait for a server to answer a connection (per server named),
// how long a server statement waits for a lock, and how long it may run.
constexpr int ServerConnectTimeoutS = 3;
constexpr int ServerLockWaitMs = 2000;
constexpr int ServerStatementLimitMs = 55000;

// An SQLite file. Why a failure in *why (naming the file); the error's code
// is the SQLite result code where there is one.
QSqlDatabase OpenFile(const QString& path, const QString& name, Profile profile,
                      Error* why = nullptr, const QStringList& localSchema = {});
// The PostgreSQL server and database of `settings` (Shared, ReadOnly or New).
QSqlDatabase OpenServer(const DbSettings& settings, const QString& name, Profile profile,
                        Error* why = nullptr);
// The file `path` or the server, as `settings` say.
QSqlDatabase Open(const DbSettings& settings, const QString& path, const QString& name,
                  Profile profile, Error* why = nullptr);

// Runs the session settings of a connection just opened (or opened again).
bool StartSession(QSqlDatabase db, Error* why);

// The schema of the database `settings` name (the file `path`) read on a
// private connection closed again at once, changing nothing: for the
// start-up check, which tells a database newer than the program, and an
// older one the login may not upgrade, in its own words.
struct Inspection {
    DbSchema::State state;
    bool mayUpgrade = false;
};
bool Inspect(const DbSettings& settings, const QString& path, Inspection* out,
             Error* why = nullptr);

} // namespace DbOpener
