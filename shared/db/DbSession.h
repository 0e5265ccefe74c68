#pragma once

#include "shared/db/DbDialect.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbOpener.h"
#include "shared/db/DbSettings.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class StatementCache;

// One database connection of its own, opened through DbOpener with a
// profile and closed (its prepared statements released, its watchdog ended)
// when the session goes; the record classes run their statements and
// transactions on the session they are given. The session keeps its
// prepared statements (StatementCache) and on a server its statements are
// watched (StatementWatchdog), as the connection's driver owns both.
//
// A session belongs to the thread that opened it (Qt's connections do): a
// thread that reads or writes records opens a session of its own, which
// the server or the file (busy timeout, write-ahead log for the station's
// own files) keeps apart from the others. Movable, not copyable. Take no
// QSqlDatabase handle from Connection() that outlives the session.
//
// Transactions on a session nest: a DbTransaction begun while another is
// open on the same connection is a savepoint, rolled back alone when it
// ends without its commit and released into the outer one on commit, so a
// writer runs inside its caller's transaction as well as on its own.
class DbSession {
public:
    // No connection (IsOpen() false).
    DbSession() = default;
    // The database `settings` name (on SQLite the file `path`), opened with
    // `profile`; not open (why in *why) on failure.
    DbSession(const DbSettings& settings, const QString& path, DbOpener::Profile profile,
              Error* why = nullptr);
    ~DbSession();
    DbSession(DbSession&& other) noexcept;
    DbSession& operator=(DbSession&& other) noexcept;
    DbSession(const DbSession&) = delete;
    DbSession& operator=(const DbSession&) = delete;

    // The database of the configuration file (the Shared profile), as the
    // programs open it.
    static DbSession OpenConfigured(Error* why = nullptr);
    // An SQLite file (for Local, given `localSchema`).
    static DbSession OpenFile(const QString& path, DbOpener::Profile profile, Error* why = nullptr,
                              const QStringList& localSchema = {});

    // Takes over the open connection `db` of the calling thread, closing the
    // one held before unless it is that one: closed when the session goes.
    // For a program's main session over the thread's shared connection
    // (clsDbConn's), which the station's lock probe uses too, so both see
    // the same transactions. False when `db` is not valid.
    bool Adopt(const QSqlDatabase& db);
    // A session over `db`, an open connection of the calling thread that
    // another owns and closes (the tests of the shared connection's faults):
    // left open when the session goes. Not open when `db` is not.
    static DbSession Borrow(const QSqlDatabase& db);

    bool IsOpen() const;
    // The connection, on the session's thread only; invalid when none.
    QSqlDatabase Connection() const;
    DbDialect::Engine Engine() const { return m_engine; }
    // Qt's name of the connection (unique to the session).
    const QString& Name() const { return m_name; }
    // The prepared statements kept for the session.
    StatementCache* Cache() const;
    // How many transactions are open on the connection: 0 none, 1 the
    // outermost, more the savepoints inside it.
    int Depth() const;
    // Whether the calling thread is the one the session belongs to.
    bool OnOwnThread() const;

    // After a failed statement outside a transaction: when the server had
    // ended the connection, connects it again in place (not within the
    // watchdog's hold-off after a cut) and returns true, so the caller may
    // try once more.
    bool ReopenIfLost();
    // Closes the connection now (the destructor does otherwise).
    void Close();

    // Whether `db` is a session's connection (whose server statements are kept).
    static bool IsSessionConnection(const QSqlDatabase& db);
    // Open transactions on `db` (what Depth() reads; DbTransaction counts them).
    static int DepthOf(const QSqlDatabase& db);
    static void SetDepth(const QSqlDatabase& db, int depth);

private:
    QString m_name;
    DbDialect::Engine m_engine = DbDialect::Engine::SQLite;
    Qt::HANDLE m_thread = nullptr;
    bool m_owned = true; // closed when the session goes
};
