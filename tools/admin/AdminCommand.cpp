#include "tools/admin/AdminCommand.h"

#include "shared/base/PlainText.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/IniFile.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/MonthChoice.h"
#include "tools/admin/ServerOptions.h"

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

QString AdminCommand::Usage() const {
    const Admin::CommandSpec& s = m_spec;
    QString text =
        QStringLiteral("usage: attendance-admin ") + (s.name + u' ' + s.synopsis).trimmed();
    const bool dirOnly = s.options.size() == 1 && s.options[0].name == QLatin1String("dir");
    if (dirOnly)
        text += QStringLiteral(" [--dir DIR]");
    text += QStringLiteral("\n\n") + s.summary + QStringLiteral("\n\noptions:\n");
    bool server = false;
    for (const Admin::Option& o : s.options) {
        const QString head =
            QStringLiteral("  --%1%2")
                .arg(o.name, o.valueName.isEmpty() ? QString() : QLatin1Char(' ') + o.valueName);
        QString help = o.help;
        help.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(30, QLatin1Char(' ')));
        text += head.leftJustified(29) + QLatin1Char(' ') + help + QLatin1Char('\n');
        server = server || o.name == QLatin1String("server");
    }
    if (server)
        text += QStringLiteral("\nThe server login's password, kept out of the process list: "
                               "\"--password -\"\n(asked on the terminal), --password-file "
                               "FILE, or the variable %1.\n")
                    .arg(QLatin1String(ServerOptions::kPasswordVariable));
    if (s.refusesExistingFile)
        text += QStringLiteral(
            "\nThe file is never overwritten: an existing FILE makes the command fail.\n");
    return text;
}

bool AdminCommand::NeedsGui(const QStringList& arguments) const {
    return m_spec.gui == Admin::Gui::Always ||
           (m_spec.gui == Admin::Gui::WithDemo && arguments.contains(QStringLiteral("--demo")));
}
