#include "shared/db/PgClient.h"

#include <QSqlDriver>
#include <QVariant>

#include <dlfcn.h>
#include <libpq-fe.h>
#include <optional>
#include <type_traits>

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

const Functions* Library() {
    static const std::optional<Functions> library = []() -> std::optional<Functions> {
        // The signatures are libpq's own (PGresult is pg_result, Oid an
        // unsigned int, ExecStatusType an int-sized enumeration).
        Functions f{};
        bool all = true;
        const auto look = [&all](auto& slot, const char* name) {
            slot = function<std::remove_reference_t<decltype(slot)>>(name);
            all = all && slot;
        };
        look(f.prepare, "PQprepare");
        look(f.execPrepared, "PQexecPrepared");
        look(f.resultStatus, "PQresultStatus");
        look(f.resultErrorField, "PQresultErrorField");
        look(f.resultErrorMessage, "PQresultErrorMessage");
        look(f.errorMessage, "PQerrorMessage");
        look(f.ntuples, "PQntuples");
        look(f.nfields, "PQnfields");
        look(f.fname, "PQfname");
        look(f.ftype, "PQftype");
        look(f.getvalue, "PQgetvalue");
        look(f.getlength, "PQgetlength");
        look(f.getisnull, "PQgetisnull");
        look(f.cmdTuples, "PQcmdTuples");
        look(f.clear, "PQclear");
        look(f.unescapeBytea, "PQunescapeBytea");
        look(f.freemem, "PQfreemem");
        return all ? std::optional(f) : std::nullopt;
    }();
    return library ? &*library : nullptr;
}

} // namespace PgClient
