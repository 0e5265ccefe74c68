#pragma once

#include <QSqlDatabase>

class QSqlDriver;
struct pg_conn;

// The PostgreSQL client library behind Qt's driver, for the two things the
// driver does not offer: whether a connection has broken between
// statements, and its socket. The library is the one the driver has loaded
// (the programs do not link it, so a station on a database file never loads
// it); its functions are looked up once and the library kept loaded, as a
// look-up per statement was a cost of every scan.
namespace PgClient {

// The client library's connection behind `db`; null for any other engine or
// a closed connection.
pg_conn* Connection(const QSqlDatabase& db);
// The same behind an open driver.
pg_conn* Connection(const QSqlDriver* driver);
// Whether the server ended the connection (restarted, or an administrator's
// command): false where that cannot be told.
bool Broken(pg_conn* conn);
// The connection's socket, -1 where there is none.
int Socket(pg_conn* conn);

} // namespace PgClient
