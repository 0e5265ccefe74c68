#include "shared/db/DbTransaction.h"

#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/db/clsDbConn.h"

#include <QSqlQuery>

DbTransaction::DbTransaction(Mode mode) : DbTransaction(clsDbConn().GetDbConn(), mode) {}

DbTransaction::DbTransaction(QSqlDatabase db, Mode mode) : m_db(std::move(db)) {
    // Nothing has run yet: on a shared connection the server had ended,
    // begin again on a new one.
    if (!begin(mode) && m_savepoint.isEmpty() &&
        m_db.connectionName() == clsDbConn::ConnectionName() && clsDbConn::ReopenIfLost()) {
        m_db = clsDbConn().GetDbConn();
        m_error = ::Error();
        begin(mode);
    }
}

DbTransaction::DbTransaction(DbSession& session, Mode mode) : m_db(session.Connection()) {
    if (!begin(mode) && m_savepoint.isEmpty() && session.ReopenIfLost()) {
        m_error = ::Error();
        begin(mode);
    }
}

bool DbTransaction::begin(Mode mode) {
    if (!m_db.isValid() || !m_db.isOpen()) {
        m_error = ::Error(QStringLiteral("the database cannot be opened"));
        return false;
    }
    const int depth = DbSession::DepthOf(m_db);
    m_savepoint = depth > 0 ? QStringLiteral("attendance_%1").arg(depth) : QString();
    m_active = run(m_savepoint.isEmpty() ? DbDialect::BeginStatement(clsDbConn::EngineOf(m_db),
                                                                     mode == Mode::Immediate)
                                         : QStringLiteral("SAVEPOINT ") + m_savepoint);
    if (m_active)
        DbSession::SetDepth(m_db, depth + 1);
    return m_active;
}

void DbTransaction::end() {
    m_active = false;
    DbSession::SetDepth(m_db, qMax(0, DbSession::DepthOf(m_db) - 1));
}

void DbTransaction::rollBack() {
    if (m_savepoint.isEmpty()) {
        run(QStringLiteral("ROLLBACK"));
    } else {
        // Rolled back to where it began, and the savepoint left, so the outer
        // transaction goes on without its statements.
        run(QStringLiteral("ROLLBACK TO SAVEPOINT ") + m_savepoint);
        run(QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint);
    }
    end();
}

DbTransaction::~DbTransaction() {
    if (m_active)
        rollBack();
}

bool DbTransaction::Commit() {
    if (!m_active)
        return false;
    if (!run(m_savepoint.isEmpty() ? QStringLiteral("COMMIT")
                                   : QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint)) {
        rollBack();
        return false;
    }
    end();
    return true;
}

int DbTransaction::Exec(const QString& sql, const QVariantList& params) {
    if (!m_active) {
        locked(false);
        return -1;
    }
    return DbQuery::Exec(m_db, sql, params, &m_error);
}

bool DbTransaction::LockKey(QSqlDatabase db, const QString& table, const QString& key,
                            ::Error* error, bool shared) {
    const QString sql = DbDialect::LockKeyStatement(clsDbConn::EngineOf(db), shared);
    return sql.isEmpty() || DbQuery::Exec(db, sql, {table.toLower(), key}, error) >= 0;
}

bool DbTransaction::LockTable(QSqlDatabase db, const QString& table, ::Error* error) {
    const DbCatalog::Table* known = DbCatalog::Find(table);
    if (!known)
        return ::Error(QStringLiteral("no table %1 to lock").arg(table)).Report(error);
    const QString sql = DbDialect::LockTableStatement(clsDbConn::EngineOf(db), *known);
    // Run unprepared: the server prepares no LOCK statement.
    QSqlQuery q(db);
    const StatementWatchdog::Guard watched(db);
    return sql.isEmpty() || q.exec(sql) || ::DbErrors::From(q.lastError()).Report(error);
}

bool DbTransaction::LockKey(const QString& table, const QString& key) {
    return locked(m_active && LockKey(m_db, table, key, &m_error));
}

bool DbTransaction::ShareKey(const QString& table, const QString& key) {
    return locked(m_active && LockKey(m_db, table, key, &m_error, true));
}

bool DbTransaction::LockTable(const QString& table) {
    return locked(m_active && LockTable(m_db, table, &m_error));
}

bool DbTransaction::locked(bool ok) {
    if (!ok && !m_error.IsSet())
        m_error = ::Error(m_active ? QStringLiteral("the database could not lock the records")
                                   : QStringLiteral("no transaction is open"));
    return ok;
}

bool DbTransaction::run(const QString& statement) {
    // On a file the statements that begin and end transactions are prepared
    // once for a session, as its other statements are; the server prepares
    // none of them.
    if (clsDbConn::EngineOf(m_db) == DbDialect::Engine::SQLite) {
        ::Error why;
        if (DbQuery::Exec(m_db, statement, {}, &why) >= 0)
            return true;
        if (!m_error.IsSet())
            m_error = why;
        return false;
    }
    QSqlQuery q(m_db);
    if (const StatementWatchdog::Guard watched(m_db); q.exec(statement))
        return true;
    if (!m_error.IsSet())
        m_error = ::DbErrors::From(q.lastError());
    return false;
}
