#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <map>
#include <optional>

// The prepared statements of a server connection that no caller is reading,
// by their text. Owned by the connection's driver, so it lives exactly as
// long as the connection; dropped (Forget) before the connection closes.
class StatementCache : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    // At most this many statements wait (lists of numbers make many texts).
    static constexpr size_t Limit = 64;

    // The cache of `db`, made when `create` and there is none yet.
    static StatementCache* Of(const QSqlDatabase& db, bool create);
    // Releases the statements kept for `db` while it is still open.
    static void Forget(const QSqlDatabase& db);

    std::optional<QSqlQuery> take(const QString& sql);
    void give(const QString& sql, QSqlQuery q);

private:
    std::multimap<QString, QSqlQuery> m_idle;
};
