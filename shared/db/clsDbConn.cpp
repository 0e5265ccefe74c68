#include "shared/db/clsDbConn.h"

#include "shared/base/AppClock.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/PgClient.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/StatementCache.h"
#include "shared/db/StatementWatchdog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>

#include <cerrno>
#include <unistd.h>

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

// A refused connection carries no error code, only the client library's
// text: the cause in words first, that text after it.
QString connectFailure(const QSqlError& e) {
    const QString text = e.databaseText().trimmed();
    QString cause;
    if (text.contains(QLatin1String("password authentication failed")) ||
        text.contains(QLatin1String("no pg_hba.conf entry")) ||
        text.contains(QLatin1String("role \"")))
        cause = QStringLiteral("the database server refused the login name or password");
    else if (text.contains(QLatin1String("database \"")) &&
             text.contains(QLatin1String("does not exist")))
        cause = QStringLiteral("the database does not exist on the server");
    else
        cause = QStringLiteral("the database server cannot be reached");
    return text.isEmpty() ? cause
                          : cause + QStringLiteral(": ") + text.section(QLatin1Char('\n'), 0, 0);
}

// Runs the session statements of a new connection; the first failure in *why.
bool startSession(QSqlDatabase db, DbError* why) {
    const Engine engine = clsDbConn::EngineOf(db);
    QSqlQuery q(db);
    for (const QString& s : DbDialect::SessionStatements(
             engine,
             engine == Engine::PostgreSQL ? clsDbConn::ServerLockWaitMs : clsDbConn::BusyTimeoutMs,
             clsDbConn::ServerStatementLimitMs))
        if (const StatementWatchdog::Guard watched(db); !q.exec(s)) {
            *why = DbError::From(q.lastError());
            return false;
        }
    return true;
}

// The first column of the one row of `sql` (with `bound` when not null),
// or an invalid value.
QVariant scalar(QSqlDatabase db, const QString& sql, const QVariant& bound = {},
                DbError* why = nullptr) {
    const StatementWatchdog::Guard watched(db); // outlives the query, whose release waits too
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.prepare(sql) && (bound.isNull() || (q.addBindValue(bound), true)) && q.exec() && q.next())
        return q.value(0);
    if (why)
        *why = DbError::From(q.lastError());
    return {};
}

// Databases made before the case-insensitive columns compare them with the
// default collation and have only such indexes: adds an index comparing
// without case for each such Employee column that has none, so look-ups
// "= ? COLLATE NOCASE" stay index searches. And the index that gives a list
// of records its names without reading the employees' rows. A failure (a
// read-only file) leaves the look-ups slower only.
void addLookupIndexes(QSqlDatabase db) {
    const DbCatalog::Table& table = DbCatalog::Employee();
    QSqlQuery q(db);
    QStringList indexes;
    if (!q.exec(DbDialect::IndexListStatement(table)))
        return;
    while (q.next())
        indexes << q.value(1).toString();
    QStringList covered;
    for (const QString& index : indexes) {
        if (!q.exec(DbDialect::IndexInfoStatement(index)) || !q.next())
            return;
        if (q.value(4).toString().compare(QLatin1String("NOCASE"), Qt::CaseInsensitive) == 0)
            covered << q.value(2).toString();
    }
    q.finish();
    for (const DbCatalog::Column& c : table.columns)
        if (c.noCase && !covered.contains(c.name, Qt::CaseInsensitive))
            q.exec(DbDialect::AddNoCaseIndexStatement(table, c.name));
    if (!indexes.contains(DbDialect::NameListIndex(), Qt::CaseInsensitive))
        q.exec(DbDialect::AddNameListIndexStatement());
}

// Databases made before the guards of the trail and the closed months lack
// them: the file's writer or the tables' owner adds them, all in one
// transaction or none.
void addGuards(QSqlDatabase db) {
    const Engine engine = clsDbConn::EngineOf(db);
    QSqlQuery q(db);
    if (!q.exec(DbDialect::GuardStateStatement(engine)) || !q.next() || q.value(0).toBool() ||
        !q.value(1).toBool())
        return;
    q.finish();
    if (!q.exec(DbDialect::BeginStatement(engine, true)))
        return;
    for (const QString& sql : DbDialect::GuardStatements(engine))
        if (!q.exec(sql)) {
            q.exec(QStringLiteral("ROLLBACK"));
            return;
        }
    if (!q.exec(QStringLiteral("COMMIT")))
        q.exec(QStringLiteral("ROLLBACK"));
}

// Databases made before the trail of corrections lack its tables: adds
// them. A failure (a read-only file, a login that may not create tables)
// leaves the database as it is; the corrections then fail as writes do.
void addMissingTables(QSqlDatabase db) {
    bool missing = false;
    for (const DbCatalog::Table* t : DbCatalog::AddedTables())
        missing = missing || !clsDbConn::HasTable(db, *t);
    QSqlQuery q(db);
    for (const QString& sql :
         missing ? DbDialect::AddedTableStatements(clsDbConn::EngineOf(db)) : QStringList())
        if (const StatementWatchdog::Guard watched(db); !q.exec(sql))
            return;
    addGuards(db);
}
} // namespace

QSqlDatabase clsDbConn::OpenServer(const DbSettings& settings, const QString& name, DbError* why,
                                   bool requireTables) {
    const auto failed = [why, &settings](const QString& message) {
        if (why)
            *why = DbError(QStringLiteral("%1 (%2)").arg(message, settings.Describe()));
        return QSqlDatabase();
    };
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return failed(QStringLiteral("Qt's PostgreSQL driver is not installed (package "
                                     "libqt6sql6-psql)"));
    if (!settings.ServerComplete())
        return failed(!settings.PortProblem().isEmpty()
                          ? settings.PortProblem()
                          : QStringLiteral("the database server, login name or database name "
                                           "is not set"));
    ScopedConnection::Drop(name);

    bool ok = false;
    DbError error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        // Several servers go as options: Qt's driver knows one host only.
        if (settings.Servers().size() == 1) {
            db.setHostName(settings.Host());
            db.setPort(settings.Port());
        }
        db.setUserName(settings.user);
        db.setPassword(settings.password);
        db.setDatabaseName(settings.database);
        db.setConnectOptions(settings.ConnectOptions(ServerConnectTimeoutS));
        if (db.open()) {
            ok = startSession(db, &error);
            const QStringList missing = ok && requireTables ? MissingTables(db) : QStringList();
            if (!missing.isEmpty()) {
                ok = false;
                error = DbError(QStringLiteral("the database lacks the tables %1")
                                    .arg(missing.join(QStringLiteral(", "))));
            }
            if (ok && requireTables) {
                AddRuleTables(db);
                addMissingTables(db);
            }
        } else {
            error = DbError(connectFailure(db.lastError()));
        }
        if (!ok)
            db.close();
    }
    if (!ok) {
        ScopedConnection::Drop(name);
        return failed(error.Text());
    }
    return QSqlDatabase::database(name, false);
}

QSqlDatabase clsDbConn::Open(const DbSettings& settings, const QString& name, DbError* why) {
    switch (settings.engine) {
    case DbSettings::Engine::SQLite:
        return OpenFile(DatabaseFilePath(), name, why);
    case DbSettings::Engine::PostgreSQL:
        return OpenServer(settings, name, why);
    case DbSettings::Engine::Unknown:
        break;
    }
    if (why)
        *why = DbError(QStringLiteral("attendance.ini names an unknown database engine \"%1\" "
                                      "(known: sqlite, postgresql)")
                           .arg(settings.engineText.trimmed()));
    return QSqlDatabase();
}

QSqlDatabase clsDbConn::OpenFile(const QString& path, const QString& name, DbError* why) {
    const auto failed = [why](const DbError& e) {
        if (why)
            *why = e;
        return QSqlDatabase();
    };
    // Only an existing regular file: the programs never create the database.
    QFileInfo info(path);
    if (path.isEmpty())
        return failed(DbError(QStringLiteral("no database file is named")));
    if (!info.isFile()) {
        // A folder this user may not enter hides the file: name that cause.
        if (::access(QFile::encodeName(path).constData(), F_OK) != 0 && errno != ENOENT)
            return failed(
                DbError::FromErrno(errno, QStringLiteral("cannot open the database file"), path));
        return failed(DbError(QStringLiteral("database file not found: %1").arg(path)));
    }

    ScopedConnection::Drop(name);

    bool ok = false;
    DbError error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw: fail rather than create a file if it vanished meanwhile.
        db.setDatabaseName(
            QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
            QStringLiteral("?mode=rw"));
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (db.open()) {
            // Reading the catalogue proves the file is a database.
            ok = startSession(db, &error) &&
                 scalar(db, QStringLiteral("SELECT count(*) FROM sqlite_master"), {}, &error)
                     .isValid();
            if (!ok)
                error = error.OnDatabase(path);
            if (ok && HoldsNoTables(db)) {
                ok = false;
                error = DbError(QStringLiteral("the database file has no tables: %1").arg(path));
            }
            if (ok) {
                addLookupIndexes(db);
                AddRuleTables(db);
                addMissingTables(db);
            }
        } else {
            error = DbError::From(db.lastError(), path);
        }
        if (!ok)
            db.close();
    }
    if (!ok) {
        ScopedConnection::Drop(name);
        return failed(error);
    }
    return QSqlDatabase::database(name, false);
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

bool clsDbConn::TestSettings(const DbSettings& settings, DbError* why) {
    // A private connection, never the shared one of the records.
    const ScopedConnection test(QStringLiteral("attendance.test"));
    return Open(settings, test.name(), why).isOpen();
}

bool clsDbConn::TestFile(const QString& path, DbError* why) {
    const ScopedConnection test(QStringLiteral("attendance.test"));
    return OpenFile(path, test.name(), why).isOpen();
}

bool clsDbConn::MayWriteTables(QSqlDatabase db, DbError* why) {
    for (const DbCatalog::Table* t : DbCatalog::Tables()) {
        const QString sql = DbDialect::TableRightsStatement(EngineOf(db), *t);
        if (sql.isEmpty())
            continue;
        DbError error;
        const QVariant allowed = scalar(db, sql, {}, &error);
        if (!allowed.toBool())
            return DbError(QStringLiteral("the login may not read and write table %1%2")
                               .arg(t->name, allowed.isValid()
                                                 ? QString()
                                                 : QStringLiteral(": ") + error.Text()))
                .Report(why);
    }
    return true;
}

bool clsDbConn::open() {
    m_openError = DbError();
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
            m_openError = DbError(QStringLiteral("the database server does not answer (%1)")
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
    DbError why;
    if (db.open() && startSession(db, &why))
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
    const QString sql = DbDialect::BusyTimeoutStatement(EngineOf(db), ms);
    QSqlQuery q(db);
    const StatementWatchdog::Guard watched(db);
    return sql.isEmpty() || q.exec(sql);
}

QStringList clsDbConn::MissingTables(QSqlDatabase db) {
    QStringList missing;
    const Engine engine = EngineOf(db);
    for (const DbCatalog::Table* t : DbCatalog::Tables())
        if (!scalar(db, DbDialect::TableExistsStatement(engine), DbDialect::TableName(engine, *t))
                 .toBool())
            missing << t->name;
    return missing;
}

bool clsDbConn::HasTable(QSqlDatabase db, const DbCatalog::Table& table) {
    const Engine engine = EngineOf(db);
    return scalar(db, DbDialect::TableExistsStatement(engine), DbDialect::TableName(engine, table))
        .toBool();
}

void clsDbConn::AddRuleTables(QSqlDatabase db) {
    const QVector<const DbCatalog::Table*> tables = DbCatalog::RuleTables();
    const QStringList create = DbDialect::RuleTableStatements(EngineOf(db));
    QSqlQuery q(db);
    // Asked first: creating an existing table still needs the right to create.
    for (int i = 0; i < tables.size(); ++i)
        if (!HasTable(db, *tables[i])) {
            const StatementWatchdog::Guard watched(db);
            q.exec(create[i]);
        }
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
    return scalar(db, sql, engine == Engine::SQLite ? QVariant(table.name) : QVariant())
        .toLongLong();
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
