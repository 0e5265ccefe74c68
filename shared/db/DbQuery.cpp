#include "shared/db/DbQuery.h"

#include "shared/db/DbDialect.h"
#include "shared/db/clsDbConn.h"

#include <QSqlDriver>
#include <QSqlError>

#include <map>

namespace DbQuery {

// The prepared statements of the shared server connection that no caller
// is reading, by their text. Owned by the connection's driver, so it lives
// exactly as long as the connection; cleared before the connection closes.
class StatementCache : public QObject {
public:
    using QObject::QObject;
    // At most this many statements wait (lists of numbers make many texts).
    static constexpr size_t Limit = 64;

    std::optional<QSqlQuery> take(const QString& sql) {
        const auto it = m_idle.find(sql);
        if (it == m_idle.end())
            return std::nullopt;
        std::optional<QSqlQuery> q(std::move(it->second));
        m_idle.erase(it);
        return q;
    }
    void give(const QString& sql, QSqlQuery q) {
        if (m_idle.size() < Limit)
            m_idle.emplace(sql, std::move(q));
    }
    void clear() { m_idle.clear(); }

private:
    std::multimap<QString, QSqlQuery> m_idle;
};

namespace {

// The cache of `db`: only the shared connection on a server keeps one
// (SQLite prepares within the process at no cost worth saving).
StatementCache* cacheOf(const QSqlDatabase& db, bool create) {
    if (db.connectionName() != clsDbConn::ConnectionName() ||
        DbDialect::Of(db) != DbDialect::Engine::PostgreSQL || !db.driver())
        return nullptr;
    auto* cache = db.driver()->findChild<StatementCache*>(QString(), Qt::FindDirectChildrenOnly);
    if (!cache && create)
        cache = new StatementCache(db.driver());
    return cache;
}

} // namespace

Rows::Rows(QSqlQuery query, const QString& sql, StatementCache* home)
    : m_query(std::move(query)), m_sql(sql), m_home(home) {}

Rows::~Rows() {
    release();
}

Rows::Rows(Rows&& other) noexcept
    : m_query(std::move(other.m_query)), m_sql(std::move(other.m_sql)), m_home(other.m_home) {
    other.m_query.reset();
    other.m_home = nullptr;
}

Rows& Rows::operator=(Rows&& other) noexcept {
    if (this != &other) {
        release();
        m_query = std::move(other.m_query);
        m_sql = std::move(other.m_sql);
        m_home = other.m_home;
        other.m_query.reset();
        other.m_home = nullptr;
    }
    return *this;
}

void Rows::release() {
    if (m_query && m_home) {
        m_query->finish(); // reads what the caller left, so the connection is free
        m_home->give(m_sql, std::move(*m_query));
    }
    m_query.reset();
}

Rows Select(QSqlDatabase db, const QString& sql, const QVariantList& params, DbError* error) {
    const auto failed = [error](const DbError& e) {
        if (error)
            *error = e;
        return Rows();
    };
    if (!db.isValid() || !db.isOpen())
        return failed(DbError(QStringLiteral("the database cannot be opened")));
    StatementCache* cache = cacheOf(db, true);
    std::optional<QSqlQuery> reused = cache ? cache->take(sql) : std::nullopt;
    QSqlQuery q = reused ? std::move(*reused) : QSqlQuery(db);
    if (!reused) {
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            return failed(DbError::From(q.lastError()));
    }
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    if (!q.exec())
        return failed(DbError::From(q.lastError()));
    return Rows(std::move(q), sql, cache);
}

Rows Select(const QString& sql, const QVariantList& params, DbError* error) {
    Rows q = Select(clsDbConn().GetDbConn(), sql, params, error);
    // A read on a connection the server has ended runs again on a new one.
    if (!q && clsDbConn::ReopenIfLost())
        q = Select(clsDbConn().GetDbConn(), sql, params, error);
    return q;
}

int Exec(QSqlDatabase db, const QString& sql, const QVariantList& params, DbError* error) {
    Rows q = Select(db, sql, params, error);
    if (!q)
        return -1;
    return q->numRowsAffected();
}

int Exec(const QString& sql, const QVariantList& params, DbError* error) {
    return Exec(clsDbConn().GetDbConn(), sql, params, error);
}

void ForgetStatements(QSqlDatabase db) {
    if (StatementCache* cache = cacheOf(db, false))
        delete cache; // its statements are released while the connection is open
}

QVariant TextOrNull(const QString& s) {
    return s.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

} // namespace DbQuery
