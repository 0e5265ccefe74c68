#include "shared/db/clsDbConn.h"

#include "shared/base/AppClock.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbOpener.h"
#include "shared/db/DbSchema.h"
#include "shared/db/PgClient.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/StatementCache.h"
#include "shared/db/StatementWatchdog.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

QString clsDbConn::ConnectionName() {
    // Qt's connections belong to the thread that opened them: the main
    // thread's is "attendance", another thread (the station's scan worker)
    // gets one of its own, which it closes before it ends.
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return QStringLiteral("attendance");
    return QStringLiteral("attendance@%1").arg(quintptr(QThread::currentThreadId()), 0, 16);
}

DbDialect::Engine clsDbConn::EngineOf(const QSqlDatabase& db) {
    return DbDialect::OfDriver(db.driverName());
}

DbDialect::Engine clsDbConn::SharedEngine() {
    return EngineOf(clsDbConn().GetDbConn());
}

namespace {
using Engine = DbDialect::Engine;

// The first column of the one row of `sql`, or an invalid value.
QVariant scalar(QSqlDatabase db, const QString& sql, Error* why = nullptr) {
    const StatementWatchdog::Guard watched(db); // outlives the query, whose release waits too
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.exec(sql) && q.next())
        return q.value(0);
    if (why)
        *why = DbErrors::From(q.lastError());
    return {};
}
} // namespace

QSqlDatabase clsDbConn::OpenServer(const DbSettings& settings, const QString& name, Error* why,
                                   bool requireTables) {
    return DbOpener::OpenServer(
        settings, name, requireTables ? DbOpener::Profile::Shared : DbOpener::Profile::New, why);
}

QSqlDatabase clsDbConn::Open(const DbSettings& settings, const QString& name, Error* why) {
    return DbOpener::Open(settings, DatabaseFilePath(), name, DbOpener::Profile::Shared, why);
}

QSqlDatabase clsDbConn::OpenFile(const QString& path, const QString& name, Error* why) {
    return DbOpener::OpenFile(path, name, DbOpener::Profile::Shared, why);
}

std::optional<qint64> clsDbConn::ServerClockOffset(QSqlDatabase db) {
    const QString sql = DbDialect::ServerClockStatement(EngineOf(db));
    if (sql.isEmpty() || !db.isOpen())
        return std::nullopt;
    QSqlQuery q(db);
    const qint64 sent = AppClock::msecsSinceEpoch();
    const StatementWatchdog::Quick quick;
    const StatementWatchdog::Guard watched(db);
    if (!q.exec(sql) || !q.next())
        return std::nullopt;
    const qint64 received = AppClock::msecsSinceEpoch();
    // The server read its clock about halfway through the round trip.
    const qint64 aheadMs = q.value(0).toLongLong() - (sent + (received - sent) / 2);
    return qRound64(double(aheadMs) / 1000.0);
}

std::optional<int> clsDbConn::ServerUtcOffset(QSqlDatabase db) {
    const QString sql = DbDialect::ServerUtcOffsetStatement(EngineOf(db));
    if (sql.isEmpty() || !db.isOpen())
        return std::nullopt;
    const StatementWatchdog::Quick quick;
    const StatementWatchdog::Guard watched(db);
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

bool clsDbConn::LiftStatementLimits(QSqlDatabase db) {
    if (EngineOf(db) != Engine::PostgreSQL)
        return true;
    QSqlQuery q(db);
    // This statement is still watched, those after it no more.
    const bool lifted = [&] {
        const StatementWatchdog::Guard watched(db);
        return q.exec(DbDialect::StatementLimitStatement(Engine::PostgreSQL, 0));
    }();
    StatementWatchdog::Lift(db);
    return lifted;
}

bool clsDbConn::TestSettings(const DbSettings& settings, Error* why) {
    // A private connection, never the shared one of the records.
    const ScopedConnection test(QStringLiteral("attendance.test"));
    return Open(settings, test.name(), why).isOpen();
}

bool clsDbConn::TestFile(const QString& path, Error* why) {
    const ScopedConnection test(QStringLiteral("attendance.test"));
    return OpenFile(path, test.name(), why).isOpen();
}

bool clsDbConn::MayWriteTables(QSqlDatabase db, Error* why) {
    for (const DbCatalog::Table* t : DbCatalog::Tables()) {
        const QString sql = DbDialect::TableRightsStatement(EngineOf(db), *t);
        if (sql.isEmpty())
            continue;
        Error error;
        const QVariant allowed = scalar(db, sql, &error);
        if (!allowed.toBool())
            return Error(QStringLiteral("the login may not read and write table %1%2")
                             .arg(t->name, allowed.isValid() ? QString()
                                                             : QStringLiteral(": ") + error.Text()))
                .Report(why);
    }
    return true;
}

bool clsDbConn::open() {
    m_openError = Error();
    return Open(DbSettings::FromConfiguration(), ConnectionName(), &m_openError).isValid();
}

QSqlDatabase clsDbConn::GetDbConn() {
    const QString name = ConnectionName();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && !ConnectionLost(db))
            return db;
        // A server that did not answer a moment ago would make every caller
        // wait for the connection's time-out: they fail at once meanwhile.
        if (StatementWatchdog::RecentlyCut(db)) {
            m_openError = Error(QStringLiteral("the database server does not answer (%1)")
                                    .arg(DbSettings::FromConfiguration().Describe()));
            return QSqlDatabase();
        }
    }
    if (!open())
        return QSqlDatabase();
    return QSqlDatabase::database(name, false);
}

bool clsDbConn::TestConn() {
    return open();
}

bool clsDbConn::ReopenIfLost() {
    const QString name = ConnectionName();
    if (!QSqlDatabase::contains(name))
        return false;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    // Not anew after the server left a statement unanswered: that wait
    // would only come again.
    if (!ConnectionLost(db) || StatementWatchdog::RecentlyCut(db))
        return false;
    // The same connection object connects again with the same settings, so
    // the handles that callers still hold stay valid.
    StatementCache::Forget(db);
    db.close();
    Error why;
    if (db.open() && DbOpener::StartSession(db, &why))
        return true;
    CloseShared();
    return false;
}

void clsDbConn::CloseShared() {
    ScopedConnection::Drop(ConnectionName());
}

clsDbConn::LockState clsDbConn::ProbeLock() {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid())
        return LockState::Failed;
    const StatementWatchdog::Quick quick;
    const QString begin = DbDialect::BeginExclusiveStatement(EngineOf(db));
    if (begin.isEmpty())
        return LockState::Free;
    QSqlQuery q(db);
    if (const StatementWatchdog::Guard watched(db); q.exec(begin)) {
        const StatementWatchdog::Guard rollback(db);
        q.exec(QStringLiteral("ROLLBACK"));
        return LockState::Free;
    }
    // SQLITE_BUSY (5) and SQLITE_LOCKED (6), also as extended codes.
    const int code = q.lastError().nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6 ? LockState::Busy : LockState::Failed;
}

bool clsDbConn::SetBusyTimeout(int ms) {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid())
        return false;
    // On a server a sign-in waits only for another scan of the same card,
    // which holds its lock for a moment: the wait stays at its default there.
    // Set once per connection: a connection opened anew has a new driver,
    // which does not carry the value yet.
    static constexpr char kSet[] = "attendanceBusyTimeoutMs";
    QSqlDriver* driver = db.driver();
    if (driver->property(kSet) == ms)
        return true;
    const QString sql = DbDialect::BusyTimeoutStatement(EngineOf(db), ms);
    QSqlQuery q(db);
    const StatementWatchdog::Guard watched(db);
    if (!sql.isEmpty() && !q.exec(sql))
        return false;
    driver->setProperty(kSet, ms);
    return true;
}

QStringList clsDbConn::MissingTables(QSqlDatabase db) {
    return DbSchema::MissingTables(db);
}

bool clsDbConn::HasTable(QSqlDatabase db, const DbCatalog::Table& table) {
    return DbSchema::HasTable(db, table);
}

bool clsDbConn::HoldsNoTables(QSqlDatabase db) {
    return MissingTables(db).size() == DbCatalog::Tables().size();
}

bool clsDbConn::KeysWritten(QSqlDatabase db, const DbCatalog::Table& table, qint64 atLeast) {
    const QString sql = DbDialect::KeysWrittenStatement(EngineOf(db), table);
    const StatementWatchdog::Guard watched(db); // outlives the prepared query
    QSqlQuery q(db);
    return sql.isEmpty() || (q.prepare(sql) && (q.addBindValue(atLeast), q.exec()));
}

qint64 clsDbConn::HighestKeyGiven(QSqlDatabase db, const DbCatalog::Table& table) {
    const Engine engine = EngineOf(db);
    const QString sql = DbDialect::HighestKeyStatement(engine, table);
    if (sql.isEmpty())
        return 0;
    const StatementWatchdog::Guard watched(db);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return 0;
    if (engine == Engine::SQLite)
        q.addBindValue(table.name);
    if (!q.exec() || !q.next())
        return 0;
    return q.value(0).toLongLong();
}

bool clsDbConn::ConnectionLost(const QSqlDatabase& db) {
    if (EngineOf(db) != Engine::PostgreSQL)
        return false;
    // Qt's driver closes a connection whose statement found it broken.
    if (!db.isOpen())
        return true;
    // Between statements, reads what the server sent meanwhile without
    // waiting: a server that ended the connection (restarted, or an
    // administrator's command) has closed it, which shows here.
    return PgClient::Broken(PgClient::Connection(db));
}
