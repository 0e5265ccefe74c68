#include "shared/db/PgClient.h"

#include <QSqlDriver>
#include <QVariant>

#include <dlfcn.h>
#include <libpq-fe.h>

namespace PgClient {

namespace {

template <typename F> F function(const char* name) {
    void* library = dlopen("libpq.so.5", RTLD_NOW | RTLD_NOLOAD);
    return library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
}

} // namespace

pg_conn* Connection(const QSqlDatabase& db) {
    return db.isOpen() ? Connection(db.driver()) : nullptr;
}

pg_conn* Connection(const QSqlDriver* driver) {
    if (!driver || !driver->isOpen())
        return nullptr;
    const QVariant handle = driver->handle();
    // Qt names the type by its declaration in the client library.
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0)
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

bool Broken(pg_conn* conn) {
    using Status = ConnStatusType (*)(const PGconn*);
    static const Status status = function<Status>("PQstatus");
    return conn && status && status(conn) == CONNECTION_BAD;
}

int Socket(pg_conn* conn) {
    using SocketOf = int (*)(const PGconn*);
    static const SocketOf socket = function<SocketOf>("PQsocket");
    return conn && socket ? socket(conn) : -1;
}

} // namespace PgClient
