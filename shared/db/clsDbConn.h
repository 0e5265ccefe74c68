#pragma once

#include "shared/db/DbError.h"
#include "shared/db/DbSettings.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The process-wide database connection. Opened at the first record
// operation and kept for the whole run; every record class goes through it.
// The configuration file says which database: the SQLite file (the default)
// or a PostgreSQL server (DbSettings).
class clsDbConn {
public:
    // The shared connection when open, else a freshly opened one; an invalid
    // QSqlDatabase when the database file is missing or cannot be opened.
    QSqlDatabase GetDbConn();
    // Opens the connection anew (closing an open one first).
    bool TestConn();
    // Why the last GetDbConn or TestConn of this object could not open the
    // database (locked, read-only, not a database, no tables, ...).
    const DbError& OpenError() const { return m_openError; }

    // Closes and drops the shared connection (program end, tests).
    static void CloseShared();
    // After a failed statement: when the failure was the server ending the
    // shared connection (restarted, or ended by an administrator), connects
    // it again in place (handles that callers hold stay valid) and returns
    // true, so the caller may try once more.
    static bool ReopenIfLost();
    // Name of the shared Qt SQL connection.
    static QString ConnectionName();
    // Busy timeout for concurrent use of the file by both programs.
    static constexpr int BusyTimeoutMs = 5000;

    // The statements every connection runs after opening: a rollback journal
    // with full synchronous commits.
    static QStringList SessionPragmas();

    // Opens a connection named `name` on an SQLite file with the settings
    // the programs use; an invalid QSqlDatabase on failure, why in *why
    // (naming the file). The file must exist and hold the tables: a file
    // without any table (an interrupted set-up) is refused as such.
    static QSqlDatabase OpenFile(const QString& path, const QString& name, DbError* why = nullptr);

    // Whether an open connection's file holds at least one table.
    static bool HasTables(QSqlDatabase db);

    // Opens a connection named `name` on the PostgreSQL server and database
    // of `settings`; an invalid QSqlDatabase on failure, why in *why (naming
    // server and database). With `requireTables` a database that lacks one
    // of the tables is refused as such.
    static QSqlDatabase OpenServer(const DbSettings& settings, const QString& name,
                                   DbError* why = nullptr, bool requireTables = true);
    // Opens the database that `settings` name (file or server).
    static QSqlDatabase Open(const DbSettings& settings, const QString& name,
                             DbError* why = nullptr);
    // Seconds to wait for the server to answer a connection.
    static constexpr int ServerConnectTimeoutS = 5;

    // Waiting for other programs, for callers that must not block: whether
    // another connection holds a lock on the database file, found by taking
    // and at once releasing an exclusive lock (waiting at most the busy
    // timeout). Failed: no connection, or another error than a lock. A
    // server is never locked as a whole: always Free there.
    enum class LockState { Free, Busy, Failed };
    static LockState ProbeLock();
    // Sets the busy timeout of the shared connection (opening it when
    // needed); false without a connection. A server connection keeps its
    // lock timeout of BusyTimeoutMs.
    static bool SetBusyTimeout(int ms);

private:
    bool open();

    DbError m_openError;
};
