#include "shared/db/StatementCache.h"

#include "shared/db/StatementWatchdog.h"

#include <QSqlDriver>

StatementCache* StatementCache::Of(const QSqlDatabase& db, bool create) {
    if (!db.driver())
        return nullptr;
    auto* cache = db.driver()->findChild<StatementCache*>(QString(), Qt::FindDirectChildrenOnly);
    if (!cache && create)
        cache = new StatementCache(db.driver());
    return cache;
}

void StatementCache::Forget(const QSqlDatabase& db) {
    // Each statement released is a round trip to the server.
    const StatementWatchdog::Guard watched(db);
    delete Of(db, false);
}

std::optional<QSqlQuery> StatementCache::take(const QString& sql) {
    const auto it = m_idle.find(sql);
    if (it == m_idle.end())
        return std::nullopt;
    std::optional<QSqlQuery> q(std::move(it->second));
    m_idle.erase(it);
    return q;
}

void StatementCache::give(const QString& sql, QSqlQuery q) {
    if (m_idle.size() < Limit)
        m_idle.emplace(sql, std::move(q));
}

QByteArray StatementCache::preparedName(pg_conn* conn, const QString& sql, bool* prepared) {
    // The driver reconnects on the same object: names of another connection
    // mean nothing to this one.
    if (conn != m_preparedOn) {
        m_prepared.clear();
        m_preparedOn = conn;
    }
    const auto it = m_prepared.constFind(sql);
    *prepared = it != m_prepared.constEnd();
    if (*prepared)
        return *it;
    if (size_t(m_prepared.size()) >= Limit)
        return {};
    // Never one given before on this connection.
    return "attendance_" + QByteArray::number(++m_lastName);
}

void StatementCache::keepPrepared(const QString& sql, const QByteArray& name) {
    if (!name.isEmpty())
        m_prepared.insert(sql, name);
}
