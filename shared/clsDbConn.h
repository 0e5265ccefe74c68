#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The process-wide database connection. Opened at the first record
// operation and kept for the whole run; every record class goes through it.
class clsDbConn {
public:
    // The shared connection when open, else a freshly opened one; an invalid
    // QSqlDatabase when the database file is missing or cannot be opened.
    QSqlDatabase GetDbConn();
    // Opens the connection anew (closing an open one first).
    bool TestConn();

    // Closes and drops the shared connection (program end, tests).
    static void CloseShared();
    // Name of the shared Qt SQL connection.
    static QString ConnectionName();
    // Busy timeout for concurrent use of the file by both programs.
    static constexpr int BusyTimeoutMs = 5000;

    // The statements every connection runs after opening: a rollback journal
    // with full synchronous commits.
    static QStringList SessionPragmas();

    // Opens a connection named `name` on an SQLite file with the settings
    // the programs use; an invalid QSqlDatabase on failure. The file must exist.
    static QSqlDatabase OpenFile(const QString& path, const QString& name);

    // Waiting for other programs, for callers that must not block: whether
    // another connection holds a lock on the database file, found by taking
    // and at once releasing an exclusive lock (waiting at most the busy
    // timeout). Failed: no connection, or another error than a lock.
    enum class LockState { Free, Busy, Failed };
    static LockState ProbeLock();
    // Sets the busy timeout of the shared connection (opening it when
    // needed); false without a connection.
    static bool SetBusyTimeout(int ms);

private:
    bool open();
};
