#include "shared/db/DbOpener.h"

#include "shared/db/DbDialect.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/StatementWatchdog.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace DbOpener {

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

bool runEach(QSqlDatabase db, const QStringList& statements, Error* why) {
    QSqlQuery q(db);
    for (const QString& s : statements)
        if (const StatementWatchdog::Guard watched(db); !q.exec(s))
            return DbErrors::From(q.lastError()).Report(why);
    return true;
}

// The connection `name` opened, or none (dropped) with why in *why.
QSqlDatabase result(const QString& name, bool ok, const Error& error, Error* why) {
    if (ok)
        return QSqlDatabase::database(name, false);
    ScopedConnection::Drop(name);
    if (why)
        *why = error;
    return QSqlDatabase();
}

// What the profile checks on an open connection.
bool checkProfile(QSqlDatabase db, Profile profile, Error* error) {
    if (profile != Profile::Shared && profile != Profile::ReadOnly)
        return true;
    return DbSchema::CheckOnOpen(db, profile == Profile::Shared, error);
}

QSqlDatabase openLocal(const QString& path, const QString& name, const QStringList& schema,
                       bool readOnly, Error* why) {
    bool ok = false;
    Error error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(readOnly
                                 ? QStringLiteral("QSQLITE_OPEN_READONLY")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        // The schema first: a file of another layout fails it unchanged.
        // Then a write transaction taken and given back proves the file
        // writable with its -wal and -shm.
        if (!db.open())
            error = DbErrors::From(db.lastError());
        else
            ok = readOnly ||
                 runEach(db,
                         QStringList{QStringLiteral("PRAGMA synchronous=FULL")} + schema +
                             QStringList{QStringLiteral("PRAGMA journal_mode=WAL"),
                                         QStringLiteral("BEGIN IMMEDIATE"),
                                         QStringLiteral("ROLLBACK")},
                         &error);
    }
    return result(name, ok, error, why);
}

} // namespace

bool StartSession(QSqlDatabase db, Error* why) {
    const Engine engine = DbDialect::OfDriver(db.driverName());
    return runEach(db,
                   DbDialect::SessionStatements(
                       engine, engine == Engine::PostgreSQL ? ServerLockWaitMs : BusyTimeoutMs,
                       ServerStatementLimitMs),
                   why);
}

QSqlDatabase OpenServer(const DbSettings& settings, const QString& name, Profile profile,
                        Error* why) {
    const auto failed = [why, &settings](const QString& message) {
        if (why)
            *why = Error(QStringLiteral("%1 (%2)").arg(message, settings.Describe()));
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
    Error error;
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
            ok = StartSession(db, &error);
            const QStringList missing =
                ok && profile != Profile::New ? DbSchema::MissingTables(db) : QStringList();
            if (!missing.isEmpty()) {
                ok = false;
                error = Error(QStringLiteral("the database lacks the tables %1")
                                    .arg(missing.join(QStringLiteral(", "))));
            }
            ok = ok && checkProfile(db, profile, &error);
        } else {
            error = Error(connectFailure(db.lastError()));
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

namespace {

// A database file; `inspect`: read-only, nothing checked but that it is one.
QSqlDatabase openFile(const QString& path, const QString& name, Profile profile, Error* why,
                      bool inspect) {
    const auto failed = [why](const Error& e) {
        if (why)
            *why = e;
        return QSqlDatabase();
    };
    // Only an existing regular file: the programs never create the database.
    QFileInfo info(path);
    if (path.isEmpty())
        return failed(Error(QStringLiteral("no database file is named")));
    if (!info.isFile()) {
        // A folder this user may not enter hides the file: name that cause.
        if (::access(QFile::encodeName(path).constData(), F_OK) != 0 && errno != ENOENT)
            return failed(
                Error::FromErrno(errno, QStringLiteral("cannot open the database file"), path));
        return failed(Error(QStringLiteral("database file not found: %1").arg(path)));
    }

    const bool readOnly = profile == Profile::ReadOnly || inspect;
    bool ok = false;
    Error error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw: fail rather than create a file if it vanished meanwhile.
        db.setDatabaseName(
            QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
            (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;%1QSQLITE_BUSY_TIMEOUT=%2")
                .arg(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;") : QString())
                .arg(BusyTimeoutMs));
        if (db.open()) {
            // Reading the catalogue proves the file is a database.
            QSqlQuery q(db);
            ok = (readOnly || profile == Profile::New || StartSession(db, &error)) && ([&] {
                     if (q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                         return true;
                     error = DbErrors::From(q.lastError());
                     return false;
                 }());
            q.finish();
            if (!ok)
                error = DbErrors::OnDatabase(error, path);
            const QStringList missing = ok && profile != Profile::New && !inspect
                                            ? DbSchema::MissingTables(db)
                                            : QStringList();
            if (missing.size() == DbCatalog::Tables().size()) {
                ok = false;
                error = Error(QStringLiteral("the database file has no tables: %1").arg(path));
            } else if (!missing.isEmpty() && readOnly) {
                ok = false;
                error = Error(QStringLiteral("the database file lacks the tables %1: %2")
                                    .arg(missing.join(QStringLiteral(", ")), path));
            }
            if (ok && !inspect && !checkProfile(db, profile, &error)) {
                ok = false;
                error = error.Concerning(path);
            }
        } else {
            error = DbErrors::From(db.lastError(), path);
        }
        if (!ok)
            db.close();
    }
    return result(name, ok, error, why);
}

} // namespace

QSqlDatabase OpenFile(const QString& path, const QString& name, Profile profile, Error* why,
                      const QStringList& localSchema) {
    ScopedConnection::Drop(name);
    if (profile == Profile::Local || profile == Profile::LocalReadOnly)
        return openLocal(path, name, localSchema, profile == Profile::LocalReadOnly, why);
    return openFile(path, name, profile, why, false);
}

QSqlDatabase Open(const DbSettings& settings, const QString& path, const QString& name,
                  Profile profile, Error* why) {
    switch (settings.engine) {
    case DbSettings::Engine::SQLite:
        return OpenFile(path, name, profile, why);
    case DbSettings::Engine::PostgreSQL:
        return OpenServer(settings, name, profile, why);
    case DbSettings::Engine::Unknown:
        break;
    }
    if (why)
        *why = Error(QStringLiteral("attendance.ini names an unknown database engine \"%1\" "
                                      "(known: sqlite, postgresql)")
                           .arg(settings.engineText.trimmed()));
    return QSqlDatabase();
}

bool Inspect(const DbSettings& settings, const QString& path, Inspection* out, Error* why) {
    *out = {};
    const ScopedConnection connection(QStringLiteral("attendance.inspect"));
    const bool file = settings.engine == DbSettings::Engine::SQLite;
    QSqlDatabase db = file ? openFile(path, connection.name(), Profile::New, why, true)
                           : Open(settings, path, connection.name(), Profile::New, why);
    if (!db.isValid() || !DbSchema::Read(db, &out->state, why))
        return false;
    if (file) {
        // SQLite writes its journal beside the file.
        const auto writable = [](const QString& p) {
            return ::faccessat(AT_FDCWD, QFile::encodeName(p).constData(), W_OK, AT_EACCESS) == 0;
        };
        out->mayUpgrade = writable(path) && writable(QFileInfo(path).absolutePath());
    } else {
        out->mayUpgrade = DbSchema::MayUpgrade(db);
    }
    return true;
}

} // namespace DbOpener
