#pragma once

#include "shared/db/DbCatalog.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbOpener.h"
#include "shared/db/DbSettings.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The process-wide database connection, and what runs the engine's own
// statements on a connection (locks of the whole file, key sequences, which
// tables exist, whether the server ended it). Opened at the first record
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
    const Error& OpenError() const { return m_openError; }

    // Closes and drops the shared connection (program end, tests).
    static void CloseShared();
    // After a failed statement: when the failure was the server ending the
    // shared connection (restarted, or ended by an administrator), connects
    // it again in place (handles that callers hold stay valid) and returns
    // true, so the caller may try once more.
    static bool ReopenIfLost();
    // Name of the shared Qt SQL connection of the calling thread (the main
    // thread's, or one of another thread's own, closed by CloseShared there).
    static QString ConnectionName();
    // Busy timeout for concurrent use of the file by both programs.
    static constexpr int BusyTimeoutMs = DbOpener::BusyTimeoutMs;

    // The engine behind a connection, and behind the shared one (opened
    // when needed).
    static DbDialect::Engine EngineOf(const QSqlDatabase& db);
    static DbDialect::Engine SharedEngine();

    // Opens a connection named `name` on an SQLite file with the settings
    // the programs use (DbOpener's Shared profile: brought to this program's
    // schema version); an invalid QSqlDatabase on failure, why in *why
    // (naming the file). The file must exist and hold the tables: a file
    // without any table (an interrupted set-up) is refused as such.
    static QSqlDatabase OpenFile(const QString& path, const QString& name, Error* why = nullptr);

    // Opens a connection named `name` on the PostgreSQL server and database
    // of `settings`; an invalid QSqlDatabase on failure, why in *why (naming
    // server and database). With `requireTables` a database that lacks one
    // of the tables is refused as such and the schema is checked as on a
    // file (the Shared profile), else nothing is (the New profile).
    static QSqlDatabase OpenServer(const DbSettings& settings, const QString& name,
                                   Error* why = nullptr, bool requireTables = true);
    // Opens the database that `settings` name (file or server).
    static QSqlDatabase Open(const DbSettings& settings, const QString& name, Error* why = nullptr);
    // Seconds to wait for the server to answer a connection (per server
    // named), and what bounds each statement on a server: lock waits end
    // after ServerLockWaitMs, statements after ServerStatementLimitMs, and
    // a server that stops answering altogether is left after
    // StatementWatchdog::LimitMs (QuickLimitMs for the statements of a scan).
    static constexpr int ServerConnectTimeoutS = DbOpener::ServerConnectTimeoutS;
    static constexpr int ServerLockWaitMs = DbOpener::ServerLockWaitMs;
    static constexpr int ServerStatementLimitMs = DbOpener::ServerStatementLimitMs;

    // Lifts the bounds of statements on the server connection `db` (nothing
    // on a file) for the tools' long copies: no statement limit, no watchdog.
    static bool LiftStatementLimits(QSqlDatabase db);

    // How far the server's clock is ahead of the station's (AppClock), in
    // seconds, half the round trip allowed for; none on a database file or
    // when the server cannot be asked. The scans keep the station's time:
    // a difference is only shown (ClockDriftLimitS).
    static std::optional<qint64> ServerClockOffset(QSqlDatabase db);
    static constexpr int ClockDriftLimitS = 60;
    // How many seconds the server's time zone is ahead of UTC now; none as
    // above. A station whose own offset (AppClock) differs writes records
    // hours off: a difference is shown as well.
    static std::optional<int> ServerUtcOffset(QSqlDatabase db);

    // Whether `settings` reach a database holding the tables, on a private
    // connection closed again at once (the settings window's test).
    static bool TestSettings(const DbSettings& settings, Error* why = nullptr);
    // Whether `path` is an existing database file, tried the same way.
    static bool TestFile(const QString& path, Error* why = nullptr);
    // Whether the login may read and write every table (asked of the server,
    // nothing changes; a file's rights are the file system's: true). Names
    // the first table refused in *why.
    static bool MayWriteTables(QSqlDatabase db, Error* why = nullptr);

    // Waiting for other programs, for callers that must not block: whether
    // another connection holds a lock on the database file, found by taking
    // and at once releasing an exclusive lock (waiting at most the busy
    // timeout). Failed: no connection, or another error than a lock. A
    // server is never locked as a whole: always Free there.
    enum class LockState { Free, Busy, Failed };
    static LockState ProbeLock();
    // Sets the busy timeout of the shared connection (opening it when
    // needed); false without a connection. Asks the database only when the
    // connection does not have that timeout from this call already. A server
    // connection keeps its lock timeout of ServerLockWaitMs.
    static bool SetBusyTimeout(int ms);

    // The tables of the catalogue that the database lacks (all of them when
    // it cannot be asked), and whether it holds none of them.
    static QStringList MissingTables(QSqlDatabase db);
    static bool HoldsNoTables(QSqlDatabase db);
    // Whether the database holds `table` (false when it cannot be asked).
    static bool HasTable(QSqlDatabase db, const DbCatalog::Table& table);
    // After rows were written with explicit keys: makes the keys the engine
    // gives next follow the highest key of the table (SQLite does so itself).
    // Keys never given before: not below `atLeast` either (the highest key a
    // copied database had given).
    static bool KeysWritten(QSqlDatabase db, const DbCatalog::Table& table, qint64 atLeast = 0);
    // The highest key the engine has given in a table, deleted rows included
    // (0 when none, or when it cannot tell).
    static qint64 HighestKeyGiven(QSqlDatabase db, const DbCatalog::Table& table);
    // Whether a statement on a server connection found it gone (the server
    // restarted or ended it, or the network was cut), so it must be opened
    // anew. Costs no round trip to the server.
    static bool ConnectionLost(const QSqlDatabase& db);

private:
    bool open();

    Error m_openError;
};
