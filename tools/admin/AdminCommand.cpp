#include "tools/admin/AdminCommand.h"

#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"

#include <QDir>
#include <QFileInfo>

namespace Admin {

Failed Fail(QTextStream& err, const QString& message) {
    err << "attendance-admin: " << message << Qt::endl;
    return {};
}

QString Absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool UseDirOption(Context& c) {
    const QString dir = c.value("dir");
    if (dir.isEmpty())
        return true;
    if (!QFileInfo(dir).isDir())
        return Fail(c.err, QStringLiteral("no such program directory: %1").arg(dir));
    SetProgramDirectory(Absolute(dir));
    return true;
}

bool OpenProgramDirectory(Context& c) {
    if (!UseDirOption(c))
        return false;
    const QString ini = clsConfiguration::DefaultFileName();
    // A server database is checked by opening it, below.
    if (DbSettings::FromConfiguration().engine == DbSettings::Engine::SQLite) {
        if (DataPath().isEmpty())
            return Fail(c.err, QStringLiteral("%1 names no database folder (group DATA, key "
                                              "PATH); set the program directory up with "
                                              "'attendance-admin init'")
                                   .arg(ini));
        const QString db = DatabaseFilePath();
        if (!QFileInfo(db).isFile())
            return Fail(c.err,
                        QStringLiteral("database file not found: %1 (named by DATA/PATH in %2)")
                            .arg(db, ini));
    }
    // The command keeps this connection.
    clsDbConn conn;
    return conn.GetDbConn().isValid() || Fail(c.err, conn.OpenError().Text());
}

bool ParseMonth(Context& c, int first, int* year, int* month) {
    bool yearOk = false;
    bool monthOk = false;
    *year = c.args[first].toInt(&yearOk);
    *month = c.args[first + 1].toInt(&monthOk);
    if (!yearOk || *year < 1900 || *year > 9999)
        return Fail(c.err, QStringLiteral("not a year: %1").arg(c.args[first]));
    if (!monthOk || *month < 1 || *month > 12)
        return Fail(c.err, QStringLiteral("not a month (1 to 12): %1").arg(c.args[first + 1]));
    return true;
}

} // namespace Admin
