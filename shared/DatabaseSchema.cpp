#include "DatabaseSchema.h"

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
    return {
        QStringLiteral(
            "CREATE TABLE Dept(ID INTEGER PRIMARY KEY AUTOINCREMENT, DNAME TEXT, PASSWORD TEXT)"),
        QStringLiteral("CREATE TABLE Employee(ID INTEGER PRIMARY KEY AUTOINCREMENT, DID INTEGER, "
                       "ENUMBER TEXT, EBARCODE TEXT, ENAME TEXT, HEADIMG BLOB, ENTERDATE TEXT)"),
        QStringLiteral("CREATE TABLE Presence(ENUMBER TEXT, ENTERTIME TEXT, EXITTIME TEXT)"),
        // The card look-up of every scan.
        QStringLiteral("CREATE INDEX IX_Employee_EBARCODE ON Employee(EBARCODE)"),
        QStringLiteral("CREATE INDEX IX_Employee_ENUMBER ON Employee(ENUMBER)"),
        // Lists by department without reading the photos (they follow the
        // listed columns in the row, so the table itself would be read whole).
        QStringLiteral(
            "CREATE INDEX IX_Employee_List ON Employee(DID, ENUMBER, EBARCODE, ENAME, ENTERDATE)"),
        // Today's row of one employee (the sign-in rule).
        QStringLiteral(
            "CREATE INDEX IX_Presence_ENUMBER_ENTERTIME ON Presence(ENUMBER, ENTERTIME)"),
        // A day or a month of records.
        QStringLiteral("CREATE INDEX IX_Presence_ENTERTIME ON Presence(ENTERTIME)"),
    };
}

bool Create(const QString& path, QString* error) {
    auto fail = [error](const QString& msg) {
        if (error)
            *error = msg;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("no database path given"));
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("%1 already exists").arg(path));

    // Create the file exclusively with owner and group access only; SQLite
    // gives its journal the same mode.
    const QByteArray native = QFile::encodeName(path);
    int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0660);
    if (fd < 0)
        return fail(QStringLiteral("cannot create %1: %2")
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
            QSqlQuery q(db);
            ok = db.transaction();
            for (const QString& sql : Statements()) {
                if (!ok)
                    break;
                ok = q.exec(sql);
                if (!ok)
                    message = q.lastError().text();
            }
            ok = ok && db.commit();
            if (!ok && message.isEmpty())
                message = db.lastError().text();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(path);
        return fail(message);
    }
    return true;
}

} // namespace DatabaseSchema
