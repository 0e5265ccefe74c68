#pragma once

#include <QSqlDatabase>

class QSqlDriver;
struct pg_conn;
struct pg_result;

// The PostgreSQL client library behind Qt's driver, for what the driver
// does not offer: whether a connection has broken between statements, its
// socket, and statements prepared and run by the server's own protocol
// (PgStatement). The library is the one the driver has loaded
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
// command), what it sent meanwhile read without waiting: false where that
// cannot be told.
bool Broken(pg_conn* conn);
// The connection's socket, -1 where there is none.
int Socket(pg_conn* conn);

// The library's functions for prepared statements, looked up once; null
// where the library is not loaded or lacks one of them.
struct Functions {
    pg_result* (*prepare)(pg_conn*, const char*, const char*, int, const unsigned int*);
    pg_result* (*execPrepared)(pg_conn*, const char*, int, const char* const*, const int*,
                               const int*, int);
    int (*resultStatus)(const pg_result*);
    char* (*resultErrorField)(const pg_result*, int);
    char* (*resultErrorMessage)(const pg_result*);
    char* (*errorMessage)(const pg_conn*);
    int (*ntuples)(const pg_result*);
    int (*nfields)(const pg_result*);
    char* (*fname)(const pg_result*, int);
    unsigned int (*ftype)(const pg_result*, int);
    char* (*getvalue)(const pg_result*, int, int);
    int (*getlength)(const pg_result*, int, int);
    int (*getisnull)(const pg_result*, int, int);
    char* (*cmdTuples)(pg_result*);
    void (*clear)(pg_result*);
    unsigned char* (*unescapeBytea)(const unsigned char*, size_t*);
    void (*freemem)(void*);
};
const Functions* Library();

} // namespace PgClient
