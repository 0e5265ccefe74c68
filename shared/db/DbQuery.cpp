#include "shared/db/DbQuery.h"

#include "shared/db/DbSession.h"

#include "shared/db/DbDialect.h"
#include "shared/db/PgStatement.h"
#include "shared/db/clsDbConn.h"

#include <QSqlError>

namespace DbQuery {

namespace {

// The cache of `db`: every session keeps one, and the shared connection on a
// server. On a server a statement kept saves two round trips; on a file it
// saves SQLite's parse and planning, which cost a station's journal more
// than the statements' work (the shared connection on a file runs the
// windows' statements, seldom the same twice in a row, and keeps none).
StatementCache* cacheOf(const QSqlDatabase& db) {
    const bool keeps = DbSession::IsSessionConnection(db) ||
                       (db.connectionName() == clsDbConn::ConnectionName() &&
                        clsDbConn::EngineOf(db) == DbDialect::Engine::PostgreSQL);
    return keeps ? StatementCache::Of(db, true) : nullptr;
}

} // namespace

Rows::Rows(QSqlQuery query, const QString& sql, StatementCache* home, QSqlDriver* driver,
           std::unique_ptr<StatementWatchdog::Guard> watched)
    : m_query(std::move(query)), m_sql(sql), m_home(home), m_driver(driver),
      m_watched(std::move(watched)) {}

Rows::~Rows() {
    release();
}

Rows::Rows(Rows&& other) noexcept
    : m_query(std::move(other.m_query)), m_sql(std::move(other.m_sql)), m_home(other.m_home),
      m_driver(other.m_driver), m_watched(std::move(other.m_watched)) {
    other.m_query.reset();
    other.m_home = nullptr;
    other.m_driver = nullptr;
}

Rows& Rows::operator=(Rows&& other) noexcept {
    if (this != &other) {
        release();
        m_query = std::move(other.m_query);
        m_sql = std::move(other.m_sql);
        m_home = other.m_home;
        m_driver = other.m_driver;
        m_watched = std::move(other.m_watched);
        other.m_query.reset();
        other.m_home = nullptr;
        other.m_driver = nullptr;
    }
    return *this;
}

void Rows::release() {
    if (m_query) {
        // Reading the rows the caller left and releasing a statement that is
        // not kept wait for the server.
        const StatementWatchdog::Guard watched(m_driver.data());
        if (m_home) {
            m_query->finish(); // reads what the caller left, so the connection is free
            m_home->give(m_sql, std::move(*m_query));
        }
        m_query.reset();
    }
    m_watched.reset();
}

namespace {

Rows run(QSqlDatabase db, const QString& sql, const QVariantList& params, Error* error,
         bool whole = false) {
    const auto failed = [error](const Error& e) {
        if (error)
            *error = e;
        return Rows();
    };
    if (!db.isValid() || !db.isOpen())
        return failed(Error(QStringLiteral("the database cannot be opened")));
    StatementCache* cache = cacheOf(db);
    // Preparing waits for the server as running does (declared first, so
    // it also watches the release of a statement that failed).
    auto watched = std::make_unique<StatementWatchdog::Guard>(db);
    // A scan's statements on a server go by the server's protocol for
    // prepared statements: fewer cycles at the station and at the server.
    if (cache && StatementWatchdog::Quick::Active() && PgStatement::Usable(db)) {
        QSqlError why;
        std::optional<QSqlQuery> rows = PgStatement::Run(db, *cache, sql, params, &why);
        if (!rows)
            return failed(DbErrors::From(why));
        return Rows(std::move(*rows), sql, nullptr, db.driver(), std::move(watched));
    }
    std::optional<QSqlQuery> reused = cache ? cache->take(sql) : std::nullopt;
    QSqlQuery q = reused ? std::move(*reused) : QSqlQuery(db);
    // Row by row, the server's driver hands over the first row before the
    // statement has ended; a whole result is all received first.
    q.setForwardOnly(!whole);
    if (!reused && !q.prepare(sql))
        return failed(DbErrors::From(q.lastError()));
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    if (!q.exec()) {
        const Error why = DbErrors::From(q.lastError());
        // Kept for the next run all the same: inside a transaction that the
        // failure aborted the server refuses to release it until the
        // transaction or its savepoint is rolled back.
        if (cache)
            cache->give(sql, std::move(q));
        return failed(why);
    }
    return Rows(std::move(q), sql, cache, db.driver(),
                StatementWatchdog::Quick::Active() ? std::move(watched) : nullptr);
}

} // namespace

Rows Read(QSqlDatabase db, const QString& sql, const QVariantList& params, Error* error) {
    return run(std::move(db), sql, params, error);
}

Rows ReadWhole(QSqlDatabase db, const QString& sql, const QVariantList& params, Error* error) {
    return run(std::move(db), sql, params, error, true);
}

Rows Read(const QString& sql, const QVariantList& params, Error* error) {
    Rows q = run(clsDbConn().GetDbConn(), sql, params, error);
    // A read on a connection the server has ended runs again on a new one.
    if (!q && clsDbConn::ReopenIfLost())
        q = run(clsDbConn().GetDbConn(), sql, params, error);
    return q;
}

Rows Read(DbSession& session, const QString& sql, const QVariantList& params, Error* error) {
    Rows q = run(session.Connection(), sql, params, error);
    if (!q && session.ReopenIfLost())
        q = run(session.Connection(), sql, params, error);
    return q;
}

int Exec(DbSession& session, const QString& sql, const QVariantList& params, Error* error) {
    return Exec(session.Connection(), sql, params, error);
}

int Exec(QSqlDatabase db, const QString& sql, const QVariantList& params, Error* error) {
    Rows q = run(std::move(db), sql, params, error);
    if (!q)
        return -1;
    return q->numRowsAffected();
}

QVariant TextOrNull(const QString& s) {
    return s.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

} // namespace DbQuery
