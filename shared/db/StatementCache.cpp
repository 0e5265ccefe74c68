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
