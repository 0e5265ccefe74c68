#include "shared/db/DbErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

namespace DbErrors {

QString Cause(int sqliteCode) {
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

QString ServerCause(const QString& sqlState) {
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

Error From(const QSqlError& e) {
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
        return Error(text, native.startsWith(QLatin1String("23")) ? ConstraintCode : 0);
    }
    bool numeric = false;
    const int code = native.toInt(&numeric);
    QString text = numeric ? Cause(code) : QString();
    if (text.isEmpty())
        text = e.text().trimmed();
    if (text.isEmpty())
        text = e.isValid() ? QStringLiteral("database error %1").arg(e.nativeErrorCode())
                           : QStringLiteral("the database query failed");
    return Error(text, numeric ? code & 0xff : 0);
}

Error From(const QSqlError& e, const QString& file) {
    return OnDatabase(From(e), file);
}

Error OnDatabase(const Error& error, const QString& file) {
    // The file system may have refused the write.
    const int code = error.Code();
    if (!file.isEmpty() &&
        (code == PermCode || code == ReadOnlyCode || code == IoErrorCode || code == CantOpenCode)) {
        const QByteArray native = QFile::encodeName(file);
        const QString folder = QFileInfo(file).absolutePath();
        if (::access(native.constData(), F_OK) == 0 && ::access(native.constData(), R_OK) != 0)
            return Error(QStringLiteral("no permission to read the database file"), code)
                .Concerning(file);
        if (::access(native.constData(), F_OK) == 0 && ::access(native.constData(), W_OK) != 0)
            return Error(QStringLiteral("the database file is read-only"), code).Concerning(file);
        if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
            return Error(QStringLiteral("the database folder %1 is read-only (the database "
                                        "writes its journal file there)")
                             .arg(folder),
                         code)
                .Concerning(file);
    }
    return error.Concerning(file);
}

} // namespace DbErrors
