#include "DatabaseSchema.h"

#include "AtomicFile.h"
#include "DbError.h"
#include "DbSchema.h"

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

namespace DatabaseSchema {

QStringList Statements() {
    return DbSchema::CreateStatements();
}

bool Build(const QString& path, QString* error) {
    if (path.isEmpty())
        return DbError::Fail(error, QStringLiteral("no database path given"));
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return DbError::FromErrno(errno, QStringLiteral("cannot create"), path).Report(error);
    ::close(fd);

    static int serial = 0;
    const QString name = QStringLiteral("attendance_create_%1").arg(++serial);
    QString message;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            message = DbError::From(db.lastError(), path).Text();
        } else {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("BEGIN"));
            for (const QString& sql : Statements())
                ok = ok && q.exec(sql);
            ok = ok && q.exec(QStringLiteral("COMMIT"));
            if (!ok)
                message = DbError::From(q.lastError(), path).Text();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(path);
        return DbError::Fail(error, message);
    }
    return true;
}

bool Install(const QString& built, const QString& path, QString* error) {
    QFile in(built);
    if (!in.open(QIODevice::ReadOnly))
        return DbError::Fail(error,
                             QStringLiteral("cannot read %1: %2").arg(built, in.errorString()));
    const QByteArray bytes = in.readAll();
    if (bytes.isEmpty())
        return DbError::Fail(error, QStringLiteral("cannot read %1").arg(built));
    if (QFileInfo::exists(path))
        return DbError::Fail(error, QStringLiteral("%1 already exists").arg(path));
    AtomicFile file(path);
    file.setMode(0660); // SQLite gives its journal the same mode
    if (!file.write(bytes, AtomicFile::Existing::Refuse))
        return DbError::Fail(error, file.errorString());
    return true;
}

bool Create(const QString& path, QString* error) {
    if (path.isEmpty())
        return DbError::Fail(error, QStringLiteral("no database path given"));
    if (QFileInfo::exists(path))
        return DbError::Fail(error, QStringLiteral("%1 already exists").arg(path));
    QTemporaryDir staging;
    if (!staging.isValid())
        return DbError::Fail(
            error,
            QStringLiteral("cannot create a temporary folder: %1").arg(staging.errorString()));
    const QString built = staging.filePath(QStringLiteral("vorerur.dat"));
    return Build(built, error) && Install(built, path, error);
}

} // namespace DatabaseSchema
