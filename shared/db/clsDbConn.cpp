#include "shared/db/clsDbConn.h"

#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCatalog.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <cerrno>
#include <unistd.h>

QString clsDbConn::ConnectionName() {
    return QStringLiteral("attendance");
}

QStringList clsDbConn::SessionPragmas() {
    // Every committed record is in the database file itself, so copying the
    // file copies everything; truncating the journal instead of deleting it
    // spares the folder update on every commit.
    return {QStringLiteral("PRAGMA journal_mode=TRUNCATE"),
            QStringLiteral("PRAGMA synchronous=FULL")};
}

bool clsDbConn::HasTables(QSqlDatabase db) {
    return !DbDialect::HoldsNoTables(db);
}

namespace {
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

// The settings of every server session: lock waits end as the file's busy
// timeout does; texts travel as UTF-8 whatever the server's defaults.
bool startServerSession(QSqlDatabase db, QString* why) {
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SET lock_timeout = %1").arg(clsDbConn::BusyTimeoutMs)) &&
        q.exec(QStringLiteral("SET client_encoding = 'UTF8'")))
        return true;
    *why = DbError::From(q.lastError()).Text();
    return false;
}

void dropConnection(const QString& name) {
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase old = QSqlDatabase::database(name, false);
        DbQuery::ForgetStatements(old);
        old.close();
    }
    QSqlDatabase::removeDatabase(name);
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
        return failed(QStringLiteral("the database server, login name or database name is not "
                                     "set, or the port is not a number"));
    dropConnection(name);

    bool ok = false;
    QString message;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(settings.Host());
        db.setPort(settings.Port());
        db.setUserName(settings.user);
        db.setPassword(settings.password);
        db.setDatabaseName(settings.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=attendance")
                                 .arg(ServerConnectTimeoutS));
        if (db.open()) {
            ok = startServerSession(db, &message);
            const QStringList missing =
                ok && requireTables ? DbDialect::MissingTables(db) : QStringList();
            if (!missing.isEmpty()) {
                ok = false;
                message = QStringLiteral("the database lacks the tables %1")
                              .arg(missing.join(QStringLiteral(", ")));
            }
        } else {
            message = connectFailure(db.lastError());
        }
        if (!ok)
            db.close();
    }
    if (!ok) {
        QSqlDatabase::removeDatabase(name);
        return failed(message);
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

    dropConnection(name);

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
            QSqlQuery q(db);
            ok = true;
            for (const QString& pragma : SessionPragmas())
                ok = ok && q.exec(pragma);
            // Proves the file is a database.
            ok = ok && q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            if (!ok)
                error = DbError::From(q.lastError(), path);
            q.finish();
            if (ok && !HasTables(db)) {
                ok = false;
                error = DbError(QStringLiteral("the database file has no tables: %1").arg(path));
            }
            // Older files: case-insensitive look-ups need their indexes. A
            // failure here (read-only file) leaves the look-ups slower only.
            if (ok)
                DbCatalog::AddCaseInsensitiveIndexes(db);
        } else {
            error = DbError::From(db.lastError(), path);
        }
        if (!ok)
            db.close();
    }
    if (!ok) {
        QSqlDatabase::removeDatabase(name);
        return failed(error);
    }
    return QSqlDatabase::database(name, false);
}

bool clsDbConn::open() {
    m_openError = DbError();
    return Open(DbSettings::FromConfiguration(), ConnectionName(), &m_openError).isValid();
}

QSqlDatabase clsDbConn::GetDbConn() {
    const QString name = ConnectionName();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && !DbDialect::ConnectionLost(db))
            return db;
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
    if (!DbDialect::ConnectionLost(db))
        return false;
    // The same connection object connects again with the same settings, so
    // the handles that callers still hold stay valid.
    DbQuery::ForgetStatements(db);
    db.close();
    QString why;
    if (db.open() && startServerSession(db, &why))
        return true;
    CloseShared();
    return false;
}

void clsDbConn::CloseShared() {
    dropConnection(ConnectionName());
}

clsDbConn::LockState clsDbConn::ProbeLock() {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid())
        return LockState::Failed;
    // A server locks rows and keys, never the whole database.
    if (DbDialect::Of(db) == DbDialect::Engine::PostgreSQL)
        return LockState::Free;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
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
    if (DbDialect::Of(db) == DbDialect::Engine::PostgreSQL)
        return true;
    QSqlQuery q(db);
    return q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(qMax(0, ms)));
}
