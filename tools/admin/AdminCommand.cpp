#include "tools/admin/AdminCommand.h"

#include "shared/base/PlainText.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/IniFile.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/MonthChoice.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

namespace Admin {

Failed Fail(QTextStream& err, const QString& message) {
    err << "attendance-admin: " << message << Qt::endl;
    return {};
}

int Misused(QTextStream& err, const QString& message) {
    Fail(err, message);
    return WrongUsage;
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

QString DatabaseFileProblem() {
    const QString ini = clsConfiguration::DefaultFileName();
    if (DataPath().isEmpty()) {
        const QString unreadable = IniFile(ini).ReadProblem();
        return !unreadable.isEmpty()
                   ? unreadable
                   : QStringLiteral("%1 names no database folder (group DATA, key PATH); set the "
                                    "program directory up with 'attendance-admin init'")
                         .arg(ini);
    }
    // Only a file that is absent is "not found"; a folder this user may not
    // enter is named as the cause when the database is opened.
    const QString db = DatabaseFilePath();
    if (!QFileInfo(db).isFile() && ::access(QFile::encodeName(db).constData(), F_OK) != 0 &&
        errno == ENOENT)
        return QStringLiteral("database file not found: %1 (named by DATA/PATH in %2)")
            .arg(db, ini);
    return {};
}

bool OpenProgramDirectory(Context& c) {
    if (!UseDirOption(c))
        return false;
    // A server database is checked by opening it, below.
    if (DbSettings::FromConfiguration().engine == DbSettings::Engine::SQLite) {
        if (const QString problem = DatabaseFileProblem(); !problem.isEmpty())
            return Fail(c.err, problem);
    }
    // The command keeps this connection.
    clsDbConn conn;
    return conn.GetDbConn().isValid() || Fail(c.err, conn.OpenError().Text());
}

int ParseMonth(Context& c, int first, int* year, int* month) {
    const MonthChoice::YearMonth m =
        MonthChoice::Parse(c.args[first], c.args[first + 1], kFirstYear, kLastYear);
    if (!m.year)
        return Misused(c.err, QStringLiteral("not a year (%1 to %2): %3")
                                  .arg(kFirstYear)
                                  .arg(kLastYear)
                                  .arg(PlainText::Echo(c.args[first])));
    if (!m.month)
        return Misused(
            c.err,
            QStringLiteral("not a month (1 to 12): %1").arg(PlainText::Echo(c.args[first + 1])));
    *year = m.year;
    *month = m.month;
    return Success;
}

int ParseDate(Context& c, const QString& text, QDate* out) {
    *out = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!out->isValid())
        return Misused(
            c.err, QStringLiteral("a date is written YYYY-MM-DD: %1").arg(PlainText::Echo(text)));
    if (out->year() < kFirstYear || out->year() > kLastYear)
        return Misused(c.err, QStringLiteral("the date %1 is outside %2-%3")
                                  .arg(text)
                                  .arg(kFirstYear)
                                  .arg(kLastYear));
    return Success;
}

int ParseMonthReport(Context& c, const QStringList& suffixes, int* year, int* month, QString* out) {
    if (const int status = ParseMonth(c, 0, year, month))
        return status;
    *out = c.args[2];
    if (!suffixes.contains(QFileInfo(*out).suffix().toLower())) {
        QStringList dotted;
        for (const QString& s : suffixes)
            dotted << QLatin1Char('.') + s;
        const QString last = dotted.takeLast();
        const QString names =
            dotted.isEmpty() ? last
                             : dotted.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
        return Fail(c.err, QStringLiteral("OUT must end in %1: %2").arg(names, *out));
    }
    if (QFileInfo::exists(*out))
        return Fail(c.err, QStringLiteral("%1 exists already; nothing was written").arg(*out));
    return Success;
}

} // namespace Admin
