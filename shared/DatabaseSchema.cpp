#include "DatabaseSchema.h"

#include "DbError.h"
#include "DbSchema.h"
#include "DbTransaction.h"
#include "clsDbConn.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DatabaseSchema {

QStringList Statements() {
    return DbSchema::CreateStatements();
}

bool Create(const QString& path, QString* error) {
    if (path.isEmpty())
        return DbError::Fail(error, QStringLiteral("no database path given"));
    if (QFileInfo::exists(path))
        return DbError::Fail(error, QStringLiteral("%1 already exists").arg(path));

    // Create the file exclusively with owner and group access only; SQLite
    // gives its journal the same mode.
    const QByteArray native = QFile::encodeName(path);
    int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0660);
    if (fd < 0)
        return DbError::Fail(error, QStringLiteral("cannot create %1: %2")
                                        .arg(path, QString::fromLocal8Bit(strerror(errno))));
    ::fchmod(fd, 0660); // umask may have taken group bits away
    ::close(fd);

    static int serial = 0;
    const QString name = QStringLiteral("attendance_create_%1").arg(++serial);
    QString message;
    bool ok = false;
    {
        QSqlDatabase db = clsDbConn::OpenFile(path, name);
        if (!db.isValid()) {
            message = QStringLiteral("cannot open %1 as a database").arg(path);
        } else {
            {
                DbTransaction tx(db);
                QSqlQuery q(db);
                ok = tx.IsActive();
                for (const QString& sql : Statements()) {
                    if (!ok)
                        break;
                    ok = q.exec(sql);
                    if (!ok)
                        message = DbError::From(q.lastError()).Text();
                }
                q.finish();
                ok = ok && tx.Commit();
                if (!ok && message.isEmpty())
                    message = tx.Error().Text();
            }
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

} // namespace DatabaseSchema
