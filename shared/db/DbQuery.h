#pragma once

#include "shared/db/DbErrors.h"
#include "shared/db/StatementCache.h"
#include "shared/db/StatementWatchdog.h"

#include <QPointer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class DbSession;

// Statements on a session, a given connection or the shared connection,
// with bound values only.
namespace DbQuery {

// The rows of a statement, used like a pointer to its QSqlQuery; false when
// the statement failed. On a server connection the prepared statement goes
// back to its connection when the rows are done with, so running the same
// statement again costs one round trip to the server instead of three
// (prepare, execute, release). Inside a StatementWatchdog::Quick scope the
// rows are watched for as long as they live (a scan's rows are few and read
// at once); elsewhere the reading of what the caller left and the release
// are.
class Rows {
public:
    Rows() = default;
    Rows(QSqlQuery query, const QString& sql, StatementCache* home, QSqlDriver* driver,
         std::unique_ptr<StatementWatchdog::Guard> watched);
    ~Rows();
    Rows(Rows&& other) noexcept;
    Rows& operator=(Rows&& other) noexcept;
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;

    explicit operator bool() const { return m_query.has_value(); }
    QSqlQuery* operator->() { return &*m_query; }
    QSqlQuery& operator*() { return *m_query; }

private:
    void release();

    std::optional<QSqlQuery> m_query;
    QString m_sql;
    QPointer<StatementCache> m_home;
    QPointer<QSqlDriver> m_driver;
    std::unique_ptr<StatementWatchdog::Guard> m_watched;
};

// Reads: a forward-only query positioned before its first row, or nothing
// when the connection or the statement failed (why in *error when given).
// Every read of the shared connection runs again once on a new connection
// when the server had ended it.
Rows Read(const QString& sql, const QVariantList& params = {}, Error* error = nullptr);
// Same on a session: outside a transaction a read runs again once on the
// connection opened anew when the server had ended it.
Rows Read(DbSession& session, const QString& sql, const QVariantList& params = {},
          Error* error = nullptr);
// Same on a given connection.
Rows Read(QSqlDatabase db, const QString& sql, const QVariantList& params, Error* error = nullptr);
// Same, the whole answer received before it returns: outside a transaction
// that includes the end of the statement's own transaction, so a commit the
// server refuses or never finishes fails the read. (Read hands over the
// first row as soon as it comes, before that end.)
Rows ReadWhole(QSqlDatabase db, const QString& sql, const QVariantList& params,
               Error* error = nullptr);

// Writes: executes a statement inside the caller's transaction on `db`; the
// number of rows affected, or -1 on failure.
int Exec(QSqlDatabase db, const QString& sql, const QVariantList& params, Error* error = nullptr);
int Exec(DbSession& session, const QString& sql, const QVariantList& params,
         Error* error = nullptr);

// Null for an invalid value, so an unset date or text is stored as null.
QVariant TextOrNull(const QString& s);

} // namespace DbQuery
