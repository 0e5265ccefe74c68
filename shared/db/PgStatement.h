#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <optional>

class StatementCache;

// Statements on a server connection run by the server's own protocol for
// prepared statements, beside Qt's driver on its connection: prepared once
// per connection (the names kept in the connection's StatementCache), then
// each run is one message with the values bound, that the server neither
// parses nor plans again. (The driver runs a prepared statement as the text
// EXECUTE name(values), which the server parses every time.) The answer is
// whole when it returns, the end of the statement's own transaction
// included.
namespace PgStatement {

// Whether statements on `db` can run so: an open server connection and a
// client library that has every function needed.
bool Usable(const QSqlDatabase& db);

// Runs `sql` (values marked ?) with `params` on `db`; the rows (PgRows) or
// nothing on failure, the server's error in *error with its code.
std::optional<QSqlQuery> Run(const QSqlDatabase& db, StatementCache& cache, const QString& sql,
                             const QVariantList& params, QSqlError* error);

// `sql` with its ? marks (those outside quotes) numbered $1, $2, ...
QString Numbered(const QString& sql);

} // namespace PgStatement
