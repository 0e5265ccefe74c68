#pragma once

#include "shared/db/DbErrors.h"

#include <QSqlDatabase>
#include <QVariantList>

class DbSession;

// One transaction on a connection, begun by the constructor and rolled back
// by the destructor unless Commit() succeeded: the one way every writer
// writes, a single statement too. Immediate is for writes that depend on
// what the transaction reads, so two connections cannot both decide on the
// same state: on SQLite it takes the write lock at once; on PostgreSQL the
// transaction locks what it decides on with LockKey or LockTable.
//
// Begun while another transaction is open on the same connection, it is a
// savepoint inside that one: its end without Commit() rolls back its own
// statements only, and Commit() releases them into the outer transaction,
// which alone commits them. So a writer given a session runs in its
// caller's transaction or in one of its own alike. The outermost decides
// the mode: on SQLite an Immediate one inside a Deferred one takes the
// write lock with its first write and fails, rather than waits, when another
// connection wrote meanwhile; a writer that reads what it decides on begins
// the outermost transaction Immediate.
class DbTransaction {
public:
    enum class Mode { Deferred, Immediate };

    // On the shared connection (opened when needed).
    explicit DbTransaction(Mode mode = Mode::Deferred);
    explicit DbTransaction(QSqlDatabase db, Mode mode = Mode::Deferred);
    // On a session's connection (begun again once on a new connection when
    // the server had ended it and no transaction is open).
    explicit DbTransaction(DbSession& session, Mode mode = Mode::Deferred);
    ~DbTransaction();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;

    // True when the transaction began and is neither committed nor rolled back.
    bool IsActive() const { return m_active; }
    // Whether it is a savepoint inside an outer transaction.
    bool IsNested() const { return !m_savepoint.isEmpty(); }
    // False (the transaction then rolls back) when it is not active or the commit fails.
    bool Commit();
    // Runs a writing statement in the transaction: the number of rows
    // affected, or -1 (why in Error()).
    int Exec(const QString& sql, const QVariantList& params = {});
    // Serialises this transaction with every other that locks the same key
    // (without regard to case) of the same table, until its end; false (why
    // in Error()) when the lock could not be taken.
    bool LockKey(const QString& table, const QString& key);
    // Holds a key against LockKey of it but not against other holders: what
    // many transactions rely on at once (an employee's department) while
    // one may remove it.
    bool ShareKey(const QString& table, const QString& key);
    // Keeps other writers off a table until the end of the transaction.
    bool LockTable(const QString& table);

    // The same within a transaction that the caller holds on `db`. Nothing
    // to do on SQLite, whose writing transactions hold the whole file.
    static bool LockKey(QSqlDatabase db, const QString& table, const QString& key,
                        ::Error* error = nullptr, bool shared = false);
    static bool LockTable(QSqlDatabase db, const QString& table, ::Error* error = nullptr);

    // The connection the transaction runs on (a new one when the server had
    // ended the shared connection before the transaction began).
    QSqlDatabase Connection() const { return m_db; }
    // Why beginning, a statement, a lock or committing failed.
    const ::Error& Error() const { return m_error; }

private:
    bool begin(Mode mode);
    void end();
    // Undoes its statements (the whole transaction, or back to its
    // savepoint) and ends it.
    void rollBack();
    bool run(const QString& statement);
    bool locked(bool ok);

    QSqlDatabase m_db;
    QString m_savepoint; // empty for the outermost transaction
    bool m_active = false;
    ::Error m_error;
};
