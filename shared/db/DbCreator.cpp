#include "shared/db/DbCreator.h"

#include "shared/base/AtomicFile.h"
#include "shared/db/DbCatalog.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbOpener.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/db/clsDbConn.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DbCreator {

QStringList Statements() {
    return DbSchema::NewStatements(DbDialect::Engine::SQLite);
}

bool AddTables(QSqlDatabase db, Error* error, bool withIndexes) {
    const QStringList present = [&] {
        QStringList tables;
        const QStringList missing = clsDbConn::MissingTables(db);
        for (const DbCatalog::Table* t : DbCatalog::Tables())
            if (!missing.contains(t->name))
                tables << t->name;
        return tables;
    }();
    if (!present.isEmpty())
        return Error::Fail(error, QStringLiteral("the database holds tables already (%1); "
                                                   "tables are created only in an empty one")
                                        .arg(present.join(QStringLiteral(", "))));
    // A bulk copy adds the indexes and the guards of the closed months after
    // the rows.
    const QStringList statements = DbSchema::NewStatements(
        clsDbConn::EngineOf(db), withIndexes ? DbSchema::Part::Both : DbSchema::Part::Tables);
    QSqlQuery q(db);
    for (const QString& sql : statements)
        if (const StatementWatchdog::Guard watched(db); !q.exec(sql))
            return DbErrors::From(q.lastError()).Report(error);
    return DbSchema::RecordNew(db, error);
}

bool AddIndexes(QSqlDatabase db, Error* error) {
    QSqlQuery q(db);
    for (const QString& sql :
         DbSchema::NewStatements(clsDbConn::EngineOf(db), DbSchema::Part::Indexes))
        if (const StatementWatchdog::Guard watched(db); !q.exec(sql))
            return DbErrors::From(q.lastError()).Report(error);
    return true;
}

bool CreateTables(QSqlDatabase db, Error* error) {
    DbTransaction tx(db, DbTransaction::Mode::Immediate);
    if (!tx.IsActive())
        return tx.Error().Report(error);
    return AddTables(db, error) && (tx.Commit() || tx.Error().Report(error));
}

bool Build(const QString& path, Error* error) {
    if (path.isEmpty())
        return Error::Fail(error, QStringLiteral("no database path given"));
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return Error::FromErrno(errno, QStringLiteral("cannot create"), path).Report(error);
    ::close(fd);

    static int serial = 0;
    Error failure;
    bool ok = false;
    {
        const ScopedConnection name(QStringLiteral("attendance_create_%1").arg(++serial));
        QSqlDatabase db = DbOpener::OpenFile(path, name.name(), DbOpener::Profile::New, &failure);
        if (db.isValid() && !(ok = CreateTables(db, &failure)))
            failure = failure.Concerning(path);
    }
    if (!ok) {
        QFile::remove(path);
        return failure.Report(error);
    }
    return true;
}

bool Install(const QString& built, const QString& path, Error* error) {
    QFile in(built);
    if (!in.open(QIODevice::ReadOnly))
        return Error::Fail(error,
                             QStringLiteral("cannot read %1: %2").arg(built, in.errorString()));
    const QByteArray bytes = in.readAll();
    if (bytes.isEmpty())
        return Error::Fail(error, QStringLiteral("cannot read %1").arg(built));
    if (QFileInfo::exists(path))
        return Error::Fail(error, QStringLiteral("%1 already exists").arg(path));
    AtomicFile file(path);
    file.setMode(0660); // SQLite gives its journal the same mode
    if (!file.write(bytes, AtomicFile::Existing::Refuse))
        return Error::Fail(error, file.errorString());
    return true;
}

bool Create(const QString& path, Error* error) {
    if (path.isEmpty())
        return Error::Fail(error, QStringLiteral("no database path given"));
    if (QFileInfo::exists(path))
        return Error::Fail(error, QStringLiteral("%1 already exists").arg(path));
    QTemporaryDir staging;
    if (!staging.isValid())
        return Error::Fail(
            error,
            QStringLiteral("cannot create a temporary folder: %1").arg(staging.errorString()));
    const QString built = staging.filePath(QStringLiteral("vorerur.dat"));
    return Build(built, error) && Install(built, path, error);
}

} // namespace DbCreator
