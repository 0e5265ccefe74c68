#include "shared/db/DbSession.h"

#include "shared/config/clsConfiguration.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/StatementCache.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/db/clsDbConn.h"

#include <QSqlDriver>
#include <QThread>
#include <QUuid>

namespace {

// Kept on the connection's driver, which lives exactly as long as the
// connection and stays the same object when it is reopened.
constexpr char kSessionProperty[] = "attendance.session";
constexpr char kDepthProperty[] = "attendance.transactions";

QString newName() {
    return QStringLiteral("attendance.session.") + QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

DbSession::DbSession(const DbSettings& settings, const QString& path, DbOpener::Profile profile,
                     Error* why) {
    Adopt(DbOpener::Open(settings, path, newName(), profile, why));
}

DbSession DbSession::OpenConfigured(Error* why) {
    return DbSession(DbSettings::FromConfiguration(), DatabaseFilePath(), DbOpener::Profile::Shared,
                     why);
}

DbSession DbSession::OpenFile(const QString& path, DbOpener::Profile profile, Error* why,
                              const QStringList& localSchema) {
    DbSession session;
    session.Adopt(DbOpener::OpenFile(path, newName(), profile, why, localSchema));
    return session;
}

bool DbSession::Adopt(const QSqlDatabase& db) {
    if (!db.isValid())
        return false;
    if (m_name != db.connectionName())
        Close();
    m_name = db.connectionName();
    m_engine = clsDbConn::EngineOf(db);
    m_thread = QThread::currentThreadId();
    m_owned = true;
    db.driver()->setProperty(kSessionProperty, true);
    return true;
}

DbSession DbSession::Borrow(const QSqlDatabase& db) {
    DbSession session;
    if (session.Adopt(db))
        session.m_owned = false;
    return session;
}

DbSession::~DbSession() {
    Close();
}

DbSession::DbSession(DbSession&& other) noexcept
    : m_name(std::move(other.m_name)), m_engine(other.m_engine), m_thread(other.m_thread),
      m_owned(other.m_owned) {
    other.m_name.clear();
    other.m_thread = nullptr;
}

DbSession& DbSession::operator=(DbSession&& other) noexcept {
    if (this != &other) {
        Close();
        m_name = std::move(other.m_name);
        m_engine = other.m_engine;
        m_thread = other.m_thread;
        m_owned = other.m_owned;
        other.m_name.clear();
        other.m_thread = nullptr;
    }
    return *this;
}

void DbSession::Close() {
    if (m_name.isEmpty())
        return;
    if (m_owned)
        ScopedConnection::Drop(m_name);
    m_name.clear();
    m_thread = nullptr;
}

bool DbSession::OnOwnThread() const {
    return m_thread && m_thread == QThread::currentThreadId();
}

QSqlDatabase DbSession::Connection() const {
    if (m_name.isEmpty() || !OnOwnThread())
        return QSqlDatabase();
    return QSqlDatabase::database(m_name, false);
}

bool DbSession::IsOpen() const {
    return Connection().isOpen();
}

StatementCache* DbSession::Cache() const {
    const QSqlDatabase db = Connection();
    return db.isValid() ? StatementCache::Of(db, true) : nullptr;
}

int DbSession::Depth() const {
    return DepthOf(Connection());
}

bool DbSession::ReopenIfLost() {
    QSqlDatabase db = Connection();
    // Not anew after the server left a statement unanswered (that wait would
    // only come again), nor inside a transaction, which a new connection
    // would silently leave.
    if (!db.isValid() || !clsDbConn::ConnectionLost(db) || StatementWatchdog::RecentlyCut(db) ||
        DepthOf(db) > 0)
        return false;
    // The same connection object connects again with the same settings.
    StatementCache::Forget(db);
    db.close();
    Error why;
    return db.open() && DbOpener::StartSession(db, &why);
}

bool DbSession::IsSessionConnection(const QSqlDatabase& db) {
    return db.isValid() && db.driver() && db.driver()->property(kSessionProperty).toBool();
}

int DbSession::DepthOf(const QSqlDatabase& db) {
    return db.isValid() && db.driver() ? db.driver()->property(kDepthProperty).toInt() : 0;
}

void DbSession::SetDepth(const QSqlDatabase& db, int depth) {
    if (db.isValid() && db.driver())
        db.driver()->setProperty(kDepthProperty, depth);
}
