#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <map>
#include <optional>

struct pg_conn;

// The prepared statements of a server connection that no caller is reading,
// by their text, and the names PgStatement prepared its statements under. Owned by the connection's
// driver, so it lives exactly as long as the connection; dropped (Forget) before the connection
// closes.
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

    // The name to run `sql` under by PgStatement on `conn` (the client
    // library's connection now behind the driver): *prepared tells whether
    // it was prepared so on this connection already. Empty (the unnamed
    // statement, prepared for each run) once Limit names are kept.
    QByteArray preparedName(pg_conn* conn, const QString& sql, bool* prepared);
    // Keeps the name `sql` has been prepared under.
    void keepPrepared(const QString& sql, const QByteArray& name);
    // Forgets the names (the server no longer knows them).
    void forgetPrepared() { m_prepared.clear(); }

private:
    std::multimap<QString, QSqlQuery> m_idle;
    pg_conn* m_preparedOn = nullptr;
    QHash<QString, QByteArray> m_prepared;
    quint64 m_lastName = 0;
};
