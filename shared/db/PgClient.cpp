#include "shared/db/PgClient.h"

#include <QSqlDriver>
#include <QVariant>

#include <dlfcn.h>
#include <libpq-fe.h>
#include <optional>
#include <poll.h>
#include <type_traits>

namespace PgClient {

namespace {

// How long the end of a connection may follow the server's goodbye.
constexpr int kGoodbyeWaitMs = 20;

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
    using Transaction = PGTransactionStatusType (*)(const PGconn*);
    using Consume = int (*)(PGconn*);
    static const Status status = function<Status>("PQstatus");
    static const Transaction transaction = function<Transaction>("PQtransactionStatus");
    static const Consume consume = function<Consume>("PQconsumeInput");
    if (!conn || !status)
        return false;
    if (status(conn) == CONNECTION_BAD)
        return true;
    // Between statements the server sends nothing unasked but its goodbye
    // before it closes the connection (a notice at most): read without
    // waiting, that shows; its end follows at once, so the read of what
    // came unasked waits a moment for it.
    const int fd = Socket(conn);
    if (fd < 0 || !transaction || !consume || transaction(conn) == PQTRANS_ACTIVE)
        return false;
    for (int waitMs : {0, kGoodbyeWaitMs}) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, waitMs) <= 0)
            break;
        consume(conn);
        if (status(conn) == CONNECTION_BAD)
            return true;
    }
    return status(conn) == CONNECTION_BAD;
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
