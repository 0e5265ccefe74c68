#include "clsDbConn.h"

#include "DbSchema.h"
#include "clsConfiguration.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

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
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' LIMIT 1")) &&
           q.next();
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
    if (!info.isFile())
        return failed(DbError(QStringLiteral("database file not found: %1").arg(path)));

    if (QSqlDatabase::contains(name)) {
        {
            QSqlDatabase old = QSqlDatabase::database(name, false);
            old.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

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
                DbSchema::AddCaseInsensitiveIndexes(db);
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
    return OpenFile(DatabaseFilePath(), ConnectionName(), &m_openError).isValid();
}

QSqlDatabase clsDbConn::GetDbConn() {
    const QString name = ConnectionName();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            return db;
    }
    if (!open())
        return QSqlDatabase();
    return QSqlDatabase::database(name, false);
}

bool clsDbConn::TestConn() {
    return open();
}

void clsDbConn::CloseShared() {
    const QString name = ConnectionName();
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

clsDbConn::LockState clsDbConn::ProbeLock() {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid())
        return LockState::Failed;
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
    QSqlQuery q(db);
    return q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(qMax(0, ms)));
}
