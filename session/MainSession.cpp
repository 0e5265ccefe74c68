#include "session/MainSession.h"

#include "shared/db/clsDbConn.h"

namespace MainSession {

namespace {

DbSession& held() {
    // Qt's connections belong to the thread that opened them: one session a thread.
    thread_local DbSession session;
    return session;
}

} // namespace

DbSession& Get(Error* why) {
    DbSession& session = held();
    clsDbConn conn;
    const QSqlDatabase db = conn.GetDbConn();
    if (!session.Adopt(db) && why)
        *why = conn.OpenError();
    return session;
}

void Close() {
    held().Close();
    clsDbConn::CloseShared();
}

} // namespace MainSession
