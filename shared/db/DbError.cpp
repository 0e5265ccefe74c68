#include "shared/db/DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <unistd.h>

QString DbError::Cause(int sqliteCode) {
    switch (sqliteCode & 0xff) { // extended codes carry the primary one in the low byte
    case 3:                      // SQLITE_PERM
    case 23:                     // SQLITE_AUTH
        return QStringLiteral("access to the database file was refused");
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("the database is locked by another program (still busy after "
                              "waiting for it; try again later)");
    case 8: // SQLITE_READONLY
        return QStringLiteral("the database file or its folder is read-only");
    case 10: // SQLITE_IOERR
        return QStringLiteral("the disk could not be read or written");
    case 11: // SQLITE_CORRUPT
        return QStringLiteral("the database file is damaged");
    case 13: // SQLITE_FULL
        return QStringLiteral("the disk is full");
    case 14: // SQLITE_CANTOPEN
        return QStringLiteral("the database file cannot be opened (missing, or its folder is "
                              "not accessible)");
    case 26: // SQLITE_NOTADB
        return QStringLiteral("the file is not a database");
    default:
        return {};
    }
}

QString DbError::ErrnoCause(int code) {
    switch (code) {
    case EACCES:
    case EPERM:
        return QStringLiteral("permission denied (the file or its folder is read-only or "
                              "belongs to someone else)");
    case EROFS:
        return QStringLiteral("the file system is read-only");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("the disk is full");
    case ENOENT:
        return QStringLiteral("no such file or folder");
    case EEXIST:
        return QStringLiteral("a file of that name exists already");
    case EISDIR:
        return QStringLiteral("that is a folder");
    case ENOTDIR:
        return QStringLiteral("a part of the path is not a folder");
    case EIO:
        return QStringLiteral("the disk could not be read or written");
    default:
        return QString::fromLocal8Bit(std::strerror(code));
    }
}

QString DbError::ServerCause(const QString& sqlState) {
    static const std::pair<const char*, const char*> causes[] = {
        // Whole codes first, then classes (the first two characters).
        {"3D000", "the database does not exist on the server"},
        {"42501", "the login name has no right to do this on the database server"},
        {"42P01", "a table is missing in the database"},
        {"53100", "the database server's disk is full"},
        {"55P03", "the records are locked by another program (still busy after waiting for "
                  "it; try again later)"},
        {"57014", "the database server cancelled the statement (waited too long for a lock)"},
        {"40P01", "another program changed the same records at the same moment; try again"},
        {"40001", "another program changed the same records at the same moment; try again"},
        {"08", "the connection to the database server failed or was lost"},
        {"28", "the database server refused the login name or password"},
        {"53", "the database server is short of memory, disk or connections"},
        {"57", "the database server was shut down or restarted"},
    };
    for (const auto& [code, words] : causes)
        if (sqlState.startsWith(QLatin1String(code)))
            return QString::fromLatin1(words);
    return {};
}

DbError DbError::From(const QSqlError& e) {
    // PostgreSQL's codes have five characters; SQLite's are numbers of at
    // most four digits.
    const QString native = e.nativeErrorCode();
    if (native.size() == 5) {
        QString text = ServerCause(native);
        if (text.isEmpty())
            text = e.text().trimmed();
        if (text.isEmpty())
            text = QStringLiteral("database error %1").arg(native);
        // A refused right: which table the server refused it on.
        static const QRegularExpression onTable(QStringLiteral("for (?:table|relation) (\\S+)"));
        if (const auto m = onTable.match(e.databaseText());
            native == QLatin1String("42501") && m.hasMatch())
            text += QStringLiteral(" (table %1)").arg(m.captured(1));
        DbError result(text);
        result.m_code = native.startsWith(QLatin1String("23")) ? ConstraintCode : 0;
        return result;
    }
    bool numeric = false;
    const int code = native.toInt(&numeric);
    QString text = numeric ? Cause(code) : QString();
    if (text.isEmpty())
        text = e.text().trimmed();
    if (text.isEmpty())
        text = e.isValid() ? QStringLiteral("database error %1").arg(e.nativeErrorCode())
                           : QStringLiteral("the database query failed");
    DbError result(text);
    result.m_code = numeric ? code & 0xff : 0;
    return result;
}

DbError DbError::From(const QSqlError& e, const QString& file) {
    return From(e).OnDatabase(file);
}

DbError DbError::Within(const QString& context) const {
    DbError result(*this);
    result.m_message = context + QStringLiteral(": ") + m_message;
    return result;
}

DbError DbError::OnDatabase(const QString& file) const {
    DbError result(*this);
    // SQLITE_PERM, SQLITE_READONLY, SQLITE_IOERR, SQLITE_CANTOPEN: the file
    // system may have refused the write.
    if (!file.isEmpty() && (m_code == 3 || m_code == 8 || m_code == 10 || m_code == 14)) {
        const QByteArray native = QFile::encodeName(file);
        const QString folder = QFileInfo(file).absolutePath();
        if (::access(native.constData(), F_OK) == 0 && ::access(native.constData(), R_OK) != 0)
            result.m_message = QStringLiteral("no permission to read the database file");
        else if (::access(native.constData(), F_OK) == 0 && ::access(native.constData(), W_OK) != 0)
            result.m_message = QStringLiteral("the database file is read-only");
        else if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
            result.m_message = QStringLiteral("the database folder %1 is read-only (the database "
                                              "writes its journal file there)")
                                   .arg(folder);
    }
    return result.Concerning(file);
}

DbError DbError::FromErrno(int code, const QString& what, const QString& file) {
    return DbError(QStringLiteral("%1: %2: %3").arg(what, file, ErrnoCause(code)));
}

DbError DbError::Concerning(const QString& file) const {
    if (file.isEmpty() || m_message.contains(file))
        return *this;
    DbError result(*this);
    result.m_message += QStringLiteral(": ") + file;
    return result;
}

bool DbError::Report(DbError* out) const {
    if (out)
        *out = *this;
    return false;
}

bool DbError::Report(QString* out) const {
    if (out)
        *out = m_message;
    return false;
}
