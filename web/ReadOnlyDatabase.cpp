#include "web/ReadOnlyDatabase.h"

#include "shared/config/clsConfiguration.h"
#include "shared/db/DbSettings.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>

namespace ReadOnlyDatabase {

namespace {

bool openFile(const QString& name, Error* why) {
    const QString path = DatabaseFilePath();
    const QFileInfo info(path);
    if (!info.isFile())
        return Error(QStringLiteral("database file not found: %1").arg(path)).Report(why);
    ScopedConnection::Drop(name);
    Error error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(
            QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
            QStringLiteral("?mode=ro"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;"
                                            "QSQLITE_BUSY_TIMEOUT=%1")
                                 .arg(clsDbConn::BusyTimeoutMs));
        if (!db.open()) {
            error = DbErrors::From(db.lastError(), path);
        } else {
            // Reading the catalogue proves the file is a database.
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                error = DbErrors::From(probe.lastError(), path);
        }
    }
    if (error.Text().isEmpty())
        return true;
    ScopedConnection::Drop(name);
    return error.Report(why);
}

bool openServer(const DbSettings& settings, const QString& name, Error* why) {
    QSqlDatabase db = clsDbConn::OpenServer(settings, name, why);
    if (!db.isValid())
        return false;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"))) {
        const Error error = DbErrors::From(q.lastError());
        q = QSqlQuery();
        db = QSqlDatabase();
        ScopedConnection::Drop(name);
        return error.Report(why);
    }
    // A connection opened again in place (the server restarted) keeps its
    // options: every transaction of it stays read-only.
    db.setConnectOptions(db.connectOptions() +
                         QStringLiteral(";options=-cdefault_transaction_read_only=on"));
    return true;
}

} // namespace

bool IsReadOnly() {
    const QString name = clsDbConn::ConnectionName();
    if (!QSqlDatabase::contains(name))
        return false;
    const QSqlDatabase db = QSqlDatabase::database(name, false);
    if (!db.isOpen())
        return false;
    if (clsDbConn::EngineOf(db) == DbDialect::Engine::SQLite)
        return db.connectOptions().contains(QLatin1String("QSQLITE_OPEN_READONLY"));
    return db.connectOptions().contains(QLatin1String("default_transaction_read_only=on"));
}

bool Ensure(Error* why) {
    const QString name = clsDbConn::ConnectionName();
    if (QSqlDatabase::contains(name)) {
        const QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && !clsDbConn::ConnectionLost(db) && IsReadOnly())
            return true;
    }
    const DbSettings settings = DbSettings::FromConfiguration();
    switch (settings.engine) {
    case DbSettings::Engine::SQLite:
        return openFile(name, why);
    case DbSettings::Engine::PostgreSQL:
        return openServer(settings, name, why);
    case DbSettings::Engine::Unknown:
        break;
    }
    return Error(QStringLiteral("attendance.ini names an unknown database engine \"%1\"")
                     .arg(settings.engineText.trimmed()))
        .Report(why);
}

} // namespace ReadOnlyDatabase
