#pragma once

#include "DbError.h"

#include <QSqlDatabase>

// One transaction on a connection, begun by the constructor and rolled back
// by the destructor unless Commit() succeeded. Immediate takes the write
// lock at once: use it where a write depends on what the transaction reads,
// so two connections cannot both decide on the same state.
class DbTransaction {
public:
    enum class Mode { Deferred, Immediate };

    explicit DbTransaction(QSqlDatabase db, Mode mode = Mode::Deferred);
    ~DbTransaction();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;

    // True when the transaction began and is neither committed nor rolled back.
    bool IsActive() const { return m_active; }
    // False (the transaction then rolls back) when it is not active or the commit fails.
    bool Commit();
    // The connection the transaction runs on.
    QSqlDatabase Connection() const { return m_db; }
    // Why beginning or committing failed.
    const DbError& Error() const { return m_error; }

private:
    bool run(const char* statement);

    QSqlDatabase m_db;
    bool m_active = false;
    DbError m_error;
};
