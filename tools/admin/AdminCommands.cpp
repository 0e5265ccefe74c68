#include "tools/admin/AdminCommands.h"

#include "shared/base/AtomicFile.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/IniFile.h"
#include "shared/config/PasswordModule.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbError.h"
#include "shared/db/DbSettings.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/exchange/RowSetXml.h"
#include "shared/records/clsEmployeeSet.h"
#include "tools/admin/DemoData.h"
#include "tools/admin/Migrate.h"
#include "tools/admin/PrintCards.h"
#include "tools/admin/ReportMonth.h"
#include "tools/admin/RowSetDump.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>

#include <sys/stat.h>

namespace AdminCommands {

namespace {

enum Status { Success = 0, Failure = 1, WrongUsage = 2 };

struct Context {
    QCommandLineParser& parser;
    QStringList args; // positional arguments after the command
    QTextStream& out;
    QTextStream& err;
};

struct Command {
    QString name;
    QString synopsis;
    QString summary;
    int minArgs;
    int maxArgs; // -1: any number
    bool usesDirOption;
    std::function<int(Context&)> run;
};

int failure(QTextStream& err, const QString& message) {
    err << "attendance-admin: " << message << Qt::endl;
    return Failure;
}

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Opened before the command starts, so a locked, read-only or empty
// database, or an unreachable server, is named as such; the command keeps
// this connection.
bool openDatabase(Context& c) {
    clsDbConn conn;
    if (!conn.GetDbConn().isValid()) {
        failure(c.err, conn.OpenError().Text());
        return false;
    }
    return true;
}

// Points the shared classes at the program directory of --dir (default: the
// executable's own directory) and checks that its database file exists.
bool openProgramDirectory(Context& c) {
    QString dir = c.parser.value(QStringLiteral("dir"));
    if (!dir.isEmpty()) {
        if (!QFileInfo(dir).isDir()) {
            failure(c.err, QStringLiteral("no such program directory: %1").arg(dir));
            return false;
        }
        SetProgramDirectory(absolute(dir));
    }
    const QString ini = clsConfiguration::DefaultFileName();
    // A server database is checked by opening it, below.
    if (DbSettings::FromConfiguration().engine != DbSettings::Engine::SQLite)
        return openDatabase(c);
    if (DataPath().isEmpty()) {
        failure(c.err, QStringLiteral("%1 names no database folder (group DATA, key PATH); "
                                      "set the program directory up with 'attendance-admin init'")
                           .arg(ini));
        return false;
    }
    const QString db = DatabaseFilePath();
    if (!QFileInfo(db).isFile()) {
        failure(
            c.err,
            QStringLiteral("database file not found: %1 (named by DATA/PATH in %2)").arg(db, ini));
        return false;
    }
    return openDatabase(c);
}

int reportExchange(Context& c, bool ok, const QString& error, const QString& done) {
    if (!ok)
        return failure(c.err, error.isEmpty() ? QStringLiteral("operation failed") : error);
    c.out << done << Qt::endl;
    return Success;
}

// The server options a command takes; an engine other than PostgreSQL takes none.
const QStringList& serverOptions() {
    static const QStringList names = {QStringLiteral("server"), QStringLiteral("user"),
                                      QStringLiteral("password"), QStringLiteral("database")};
    return names;
}

// The server settings of the command line; false (said on `err`) when one is
// missing or unusable.
bool serverSettings(Context& c, DbSettings* settings) {
    QStringList missing;
    for (const QString& name : serverOptions())
        if (!c.parser.isSet(name))
            missing << QStringLiteral("--") + name;
    if (!missing.isEmpty()) {
        failure(c.err, QStringLiteral("a database server needs --server HOST[:PORT], --user, "
                                      "--password and --database (missing: %1)")
                           .arg(missing.join(QStringLiteral(", "))));
        return false;
    }
    settings->engine = DbSettings::Engine::PostgreSQL;
    settings->engineText = DbSettings::EngineName(settings->engine);
    settings->server = c.parser.value(QStringLiteral("server")).trimmed();
    settings->user = c.parser.value(QStringLiteral("user")).trimmed();
    settings->password = c.parser.value(QStringLiteral("password"));
    settings->database = c.parser.value(QStringLiteral("database")).trimmed();
    QString error;
    if (!settings->ServerComplete()) {
        failure(c.err, QStringLiteral("the server, login name and database name must not be "
                                      "empty and the port must be a number: %1")
                           .arg(settings->server));
        return false;
    }
    if (!Migrate::SettingsStorable(*settings, &error)) {
        failure(c.err, error);
        return false;
    }
    return true;
}

int runInit(Context& c) {
    const QString dir = absolute(c.args[0]);
    if (c.parser.isSet(QStringLiteral("dir")))
        return failure(c.err, QStringLiteral("init takes the program directory as its argument, "
                                             "not --dir"));
    const DbSettings::Engine engine =
        DbSettings::EngineNamed(c.parser.value(QStringLiteral("engine")));
    if (engine == DbSettings::Engine::Unknown)
        return failure(c.err, QStringLiteral("unknown database engine \"%1\" (known: sqlite, "
                                             "postgresql)")
                                  .arg(c.parser.value(QStringLiteral("engine"))));
    const bool onServer = engine == DbSettings::Engine::PostgreSQL;
    DbSettings server;
    if (onServer) {
        if (c.parser.isSet(QStringLiteral("data")))
            return failure(c.err, QStringLiteral("--data names the folder of a database file; "
                                                 "with --engine postgresql the records are on "
                                                 "the server"));
        if (!serverSettings(c, &server))
            return Failure;
    } else {
        for (const QString& name :
             {QStringLiteral("server"), QStringLiteral("user"), QStringLiteral("database")})
            if (c.parser.isSet(name))
                return failure(c.err, QStringLiteral("--%1 is a database server setting: give "
                                                     "--engine postgresql as well")
                                          .arg(name));
        if (c.parser.isSet(QStringLiteral("password")) &&
            c.parser.isSet(QStringLiteral("admin-password")))
            return failure(c.err, QStringLiteral("--password and --admin-password both name the "
                                                 "administrator password; give one"));
    }
    // With a server, --password is the server login's; the administrator's
    // is always also --admin-password.
    const QString adminOption = !onServer && c.parser.isSet(QStringLiteral("password"))
                                    ? QStringLiteral("password")
                                    : QStringLiteral("admin-password");
    const QString dataDir = c.parser.isSet(QStringLiteral("data"))
                                ? absolute(c.parser.value(QStringLiteral("data")))
                                : dir;
    const bool demo = c.parser.isSet(QStringLiteral("demo"));
    QString password = c.parser.value(adminOption);
    const bool passwordGiven = c.parser.isSet(adminOption);
    QString unit = c.parser.value(QStringLiteral("unit")).trimmed();
    const bool unitGiven = c.parser.isSet(QStringLiteral("unit"));

    // The station trims what is typed at its login, so such a password could never be entered.
    if (passwordGiven && (password.isEmpty() || password.trimmed() != password))
        return failure(c.err, QStringLiteral("the password must not be empty nor begin or end "
                                             "with blanks"));
    if (unitGiven && unit.isEmpty())
        return failure(c.err, QStringLiteral("the unit name must not be empty"));
    if (demo && !passwordGiven)
        password = DemoData::DefaultPassword();
    if (demo && !unitGiven)
        unit = DemoData::DefaultUnitName();

    const QString db = JoinPath(dataDir, QStringLiteral("vorerur.dat"));
    if (!onServer && QFileInfo::exists(db))
        return failure(
            c.err, QStringLiteral("a database exists already: %1; nothing was changed").arg(db));
    const QString ini = JoinPath(dir, QStringLiteral("attendance.ini"));
    if (QFileInfo::exists(ini)) {
        // Never repoint an installation away from the database it uses.
        clsConfiguration existing;
        existing.setFileName(ini);
        existing.setGroup(QStringLiteral("DATA"));
        const QString path = existing.GetItem(QStringLiteral("PATH"));
        const QString engineText = existing.GetItem(QStringLiteral("ENGINE"));
        const QString otherDb = JoinPath(path, QStringLiteral("vorerur.dat"));
        if (DbSettings::EngineNamed(engineText) != DbSettings::Engine::SQLite)
            return failure(c.err, QStringLiteral("%1 already names a database server (ENGINE=%2); "
                                                 "nothing was changed")
                                      .arg(ini, engineText.trimmed()));
        if (!path.isEmpty() && QFileInfo::exists(otherDb) && (onServer || !sameFile(otherDb, db)))
            return failure(c.err, QStringLiteral("%1 already names the database %2%3; "
                                                 "nothing was changed")
                                      .arg(ini, otherDb,
                                           onServer ? QStringLiteral(" (copy it to the server "
                                                                     "with 'attendance-admin "
                                                                     "migrate')")
                                                    : QString()));
    }
    if (!QDir().mkpath(dir))
        return failure(c.err, QStringLiteral("cannot create the program directory %1").arg(dir));
    if (!QDir().mkpath(dataDir))
        return failure(c.err, QStringLiteral("cannot create the data directory %1").arg(dataDir));
    // The server's tables are there for good once committed: the
    // configuration must be writable before.
    if (onServer && !QFileInfo(dir).isWritable())
        return failure(c.err, QStringLiteral("the program directory %1 is not writable").arg(dir));

    // Database and configuration are built completely in a private folder and
    // put into place last, so a killed init leaves either nothing or a whole
    // set-up, and a second init simply starts again.
    QTemporaryDir staging;
    if (!staging.isValid())
        return failure(
            c.err,
            QStringLiteral("cannot create a temporary folder: %1").arg(staging.errorString()));
    const QString builtDb = staging.filePath(QStringLiteral("vorerur.dat"));
    const QString builtIni = staging.filePath(QStringLiteral("attendance.ini"));
    QString error;
    DbError dbError;
    if (!onServer && !DbCreator::Build(builtDb, &dbError))
        return failure(c.err,
                       QStringLiteral("cannot create the database %1: %2").arg(db, dbError.Text()));

    // An existing configuration keeps its other keys and its mode.
    struct stat oldStat {};
    const bool hadIni = ::stat(QFile::encodeName(ini).constData(), &oldStat) == 0;
    QByteArray oldIni;
    if (hadIni) {
        QFile f(ini);
        if (!f.open(QIODevice::ReadOnly))
            return failure(c.err, QStringLiteral("cannot read %1: %2").arg(ini, f.errorString()));
        oldIni = f.readAll();
    }
    {
        QFile f(builtIni);
        if (!f.open(QIODevice::WriteOnly) || f.write(oldIni) != oldIni.size() || !f.flush())
            return failure(c.err,
                           QStringLiteral("cannot write %1: %2").arg(builtIni, f.errorString()));
    }
    IniFile staged(builtIni);
    if (!onServer && !staged.Write(QStringLiteral("DATA"), QStringLiteral("PATH"), dataDir))
        return failure(
            c.err, QStringLiteral("cannot write the database folder %1 to %2").arg(dataDir, ini));
    if (!password.isEmpty() &&
        !staged.Write(QStringLiteral("OTHER"), QStringLiteral("ALP"), EncodePassword(password)))
        return failure(c.err, QStringLiteral("cannot write the password to %1").arg(ini));
    if (!unit.isEmpty() && !staged.Write(QStringLiteral("UNIT"), QStringLiteral("UNITNAME"), unit))
        return failure(c.err, QStringLiteral("cannot write the unit name to %1").arg(ini));
    if (onServer) {
        SetProgramDirectory(staging.path());
        const bool written = Migrate::WriteSettings(server);
        SetProgramDirectory(dir);
        if (!written)
            return failure(c.err,
                           QStringLiteral("cannot write the server settings to %1").arg(ini));
    }
    SetProgramDirectory(dir);

    // The tables (on a server) and the demo data in one transaction.
    DemoData::Summary summary;
    if (onServer || demo) {
        const ScopedConnection name(QStringLiteral("attendance_init"));
        DbError why;
        QSqlDatabase conn = onServer ? clsDbConn::OpenServer(server, name.name(), &why, false)
                                     : clsDbConn::OpenFile(builtDb, name.name(), &why);
        if (!conn.isValid())
            return failure(
                c.err, onServer
                           ? QStringLiteral("cannot connect: %1").arg(why.Text())
                           : QStringLiteral("cannot fill in the demo data: %1").arg(why.Text()));
        DbTransaction tx(conn);
        const bool ok =
            tx.IsActive() &&
            (!onServer || DbCreator::AddTables(conn, &dbError) || dbError.Report(&error)) &&
            (!demo || DemoData::Populate(conn, &summary, &error)) && tx.Commit();
        if (!ok) {
            if (error.isEmpty())
                error = tx.Error().Text();
            return failure(
                c.err,
                onServer
                    ? QStringLiteral("nothing was changed on %1: %2").arg(server.Describe(), error)
                    : QStringLiteral("cannot fill in the demo data: %1").arg(error));
        }
    }

    // Into place: the configuration first, then the database, never over one
    // that appeared meanwhile. Should the database fail, the configuration
    // goes back to what it was.
    QFile builtIniFile(builtIni);
    if (!builtIniFile.open(QIODevice::ReadOnly))
        return failure(c.err, QStringLiteral("cannot read %1").arg(builtIni));
    const QByteArray newIni = builtIniFile.readAll();
    const auto writeIni = [&](const QByteArray& bytes, AtomicFile::Existing existing) {
        AtomicFile f(ini);
        if (hadIni)
            f.keepAttributesOf(oldStat);
        else
            f.setMode(0660);
        if (!f.write(bytes, existing))
            error = f.errorString();
        return error.isEmpty();
    };
    if (!writeIni(newIni, hadIni ? AtomicFile::Existing::Replace : AtomicFile::Existing::Refuse))
        return failure(c.err, onServer ? QStringLiteral("the tables are on %1, but %2 could not "
                                                        "be written: %3")
                                             .arg(server.Describe(), ini, error)
                                       : QStringLiteral("cannot write %1: %2").arg(ini, error));
    if (!onServer && !DbCreator::Install(builtDb, db, &dbError)) {
        const QString message =
            QStringLiteral("cannot create the database %1: %2").arg(db, dbError.Text());
        error.clear();
        if (hadIni)
            writeIni(oldIni, AtomicFile::Existing::Replace);
        else
            QFile::remove(ini);
        return failure(c.err, message);
    }

    if (onServer)
        c.out << "created the tables on " << server.Describe() << Qt::endl;
    else
        c.out << "created database " << db << Qt::endl;
    c.out << "wrote " << ini << Qt::endl;
    if (demo) {
        c.out << "demo data: " << summary.departments << " departments, " << summary.employees
              << " employees, " << summary.presenceRows << " presence records" << Qt::endl;
        const QStringList numbers = DemoData::Numbers();
        const QStringList barcodes = DemoData::Barcodes();
        c.out << "administrator password: " << password << Qt::endl;
        for (int i = 0; i < 3; ++i)
            c.out << "card of employee " << numbers[i] << ": " << barcodes[i] << Qt::endl;
    } else if (password.isEmpty() &&
               IniFile(ini).Read(QStringLiteral("OTHER"), QStringLiteral("ALP")).isEmpty()) {
        c.err << "attendance-admin: warning: no administrator password is set (--" << adminOption
              << "); nobody can log in at the station until OTHER/ALP is set" << Qt::endl;
    }
    return Success;
}

int runExportEmployees(Context& c) {
    if (!openProgramDirectory(c))
        return Failure;
    const QStringList numbers = c.args.mid(1);
    // Every number asked for must exist: a file quietly missing people is worse than none.
    for (const QString& number : numbers) {
        RowSet found;
        QString error;
        if (!ExchangeFiles::QueryRowSet(QStringLiteral("SELECT ENUMBER FROM Employee WHERE ") +
                                            DbDialect::NoCaseEquals(clsDbConn::SharedEngine(),
                                                                    QStringLiteral("ENUMBER"),
                                                                    QStringLiteral("?")),
                                        {number}, QStringLiteral("Employee"), &found, &error))
            return failure(c.err, error);
        if (found.rows.isEmpty())
            return failure(
                c.err, QStringLiteral("no employee with number %1; no file written").arg(number));
    }
    QString error;
    const bool ok =
        ExchangeFiles::ExportEmployees(c.args[0], numbers, ExchangeFiles::Existing::Refuse, &error);
    return reportExchange(c, ok, error, QStringLiteral("wrote %1").arg(c.args[0]));
}

int runExportDepartments(Context& c) {
    if (!openProgramDirectory(c))
        return Failure;
    QString error;
    const bool ok =
        ExchangeFiles::ExportDepartments(c.args[0], ExchangeFiles::Existing::Refuse, &error);
    return reportExchange(c, ok, error, QStringLiteral("wrote %1").arg(c.args[0]));
}

int runImportEmployees(Context& c) {
    if (!openProgramDirectory(c))
        return Failure;
    QString error;
    int count = 0;
    const bool ok = ExchangeFiles::ImportEmployees(c.args[0], &error, &count);
    const int status = reportExchange(
        c, ok, error, QStringLiteral("imported %1 employees from %2").arg(count).arg(c.args[0]));
    if (status == Success) {
        // Such employees vanish from every list and cannot sign in.
        if (const auto unknown = clsEmployeeSet::WithUnknownDepartment(); !unknown.isEmpty())
            c.err << "attendance-admin: warning: " << unknown.size()
                  << " employees have a department key that this database does not know; "
                     "import the department file of the exporting database as well"
                  << Qt::endl;
    }
    return status;
}

int runImportDepartments(Context& c) {
    if (!openProgramDirectory(c))
        return Failure;
    QString error;
    int count = 0;
    const bool ok = ExchangeFiles::ImportDepartments(c.args[0], &error, &count);
    return reportExchange(
        c, ok, error, QStringLiteral("imported %1 departments from %2").arg(count).arg(c.args[0]));
}

int runBackupMonth(Context& c) {
    if (!openProgramDirectory(c))
        return Failure;
    QString error;
    const bool ok = ExchangeFiles::BackupMonth(c.args[0], &error);
    return reportExchange(c, ok, error, QStringLiteral("wrote %1").arg(c.args[0]));
}

int runExportMonth(Context& c) {
    bool yearOk = false;
    bool monthOk = false;
    const int year = c.args[0].toInt(&yearOk);
    const int month = c.args[1].toInt(&monthOk);
    if (!yearOk || year < 1900 || year > 9999)
        return failure(c.err, QStringLiteral("not a year: %1").arg(c.args[0]));
    if (!monthOk || month < 1 || month > 12)
        return failure(c.err, QStringLiteral("not a month (1 to 12): %1").arg(c.args[1]));
    if (!openProgramDirectory(c))
        return Failure;
    const QDate first(year, month, 1);
    const QDate last = first.addMonths(1).addDays(-1);
    QString error;
    const bool ok = ExchangeFiles::ExportPresence(c.args[2], first, last,
                                                  ExchangeFiles::Existing::Refuse, &error);
    return reportExchange(c, ok, error, QStringLiteral("wrote %1").arg(c.args[2]));
}

int runMigrate(Context& c) {
    DbSettings server;
    if (!serverSettings(c, &server))
        return Failure;
    const QString dir = c.parser.value(QStringLiteral("dir"));
    if (!dir.isEmpty()) {
        if (!QFileInfo(dir).isDir())
            return failure(c.err, QStringLiteral("no such program directory: %1").arg(dir));
        SetProgramDirectory(absolute(dir));
    }
    return Migrate::Run(server, c.out, c.err);
}

int runDump(Context& c) {
    RowSet rs;
    QString error;
    if (!RowSetXml::Load(c.args[0], &rs, &error))
        return failure(c.err, QStringLiteral("cannot read %1: %2").arg(c.args[0], error));
    c.out << c.args[0] << Qt::endl;
    RowSetDump::Write(rs, c.out);
    c.out.flush();
    return Success;
}

const QVector<Command>& commands() {
    static const QVector<Command> list = {
        {QStringLiteral("init"),
         QStringLiteral("DIR [--data DATADIR] [--password PW] [--unit NAME] [--demo]\n"
                        "       attendance-admin init DIR --engine postgresql --server "
                        "HOST[:PORT] --user U\n"
                        "         --password P --database NAME [--admin-password PW] "
                        "[--unit NAME] [--demo]"),
         QStringLiteral("Writes DIR/attendance.ini and creates the database (in DATADIR, default\n"
                        "DIR); refuses, changing nothing, when the database exists. --demo adds\n"
                        "departments, employees with photos and presence records (password\n"
                        "and unit name default to the demo ones).\n\n"
                        "With --engine postgresql the tables are created in the existing, empty\n"
                        "database NAME on the server (refused, changing nothing, when it holds\n"
                        "any of them), and attendance.ini gets DATA/ENGINE and the four server\n"
                        "settings of group ATTENDANCE once they are committed. --password is\n"
                        "then the server login's password; --admin-password sets the\n"
                        "administrator password (with either engine)."),
         1, 1, false, runInit},
        {QStringLiteral("migrate"),
         QStringLiteral("--server HOST[:PORT] --user U --password P --database NAME"),
         QStringLiteral("Copies the database file of the program directory (its attendance.ini\n"
                        "must name no engine or sqlite) into the empty server database NAME in\n"
                        "one transaction: departments and employees with their keys, photos\n"
                        "and every presence record. The row counts are checked, and only then\n"
                        "attendance.ini is switched to the server. The file stays as it was.\n"
                        "Stop the stations and office programs first."),
         0, 0, true, runMigrate},
        {QStringLiteral("export-employees"), QStringLiteral("FILE [ENUMBER...]"),
         QStringLiteral("Writes an employee file with the given employees (all when none given)."),
         1, -1, true, runExportEmployees},
        {QStringLiteral("export-departments"), QStringLiteral("FILE"),
         QStringLiteral("Writes a department file with all departments."), 1, 1, true,
         runExportDepartments},
        {QStringLiteral("import-employees"), QStringLiteral("FILE"),
         QStringLiteral("Inserts or overwrites the file's employees by number."), 1, 1, true,
         runImportEmployees},
        {QStringLiteral("import-departments"), QStringLiteral("FILE"),
         QStringLiteral("Replaces all departments with those of the file."), 1, 1, true,
         runImportDepartments},
        {QStringLiteral("backup-month"), QStringLiteral("FILE"),
         QStringLiteral("Writes the presence records of the current month up to today."), 1, 1,
         true, runBackupMonth},
        {QStringLiteral("export-month"), QStringLiteral("YEAR MONTH FILE"),
         QStringLiteral("Writes the presence records of one month."), 3, 3, true, runExportMonth},
        {QStringLiteral("report-month"), ReportMonth::Synopsis(), ReportMonth::Summary(), 3, 3,
         true,
         [](Context& c) {
             return ReportMonth::Run(
                 c.args, [&c] { return openProgramDirectory(c); }, c.out, c.err);
         }},
        {QStringLiteral("print-cards"), PrintCards::Synopsis(), PrintCards::Summary(), 1, -1, true,
         [](Context& c) {
             return PrintCards::Run(
                 c.args, [&c] { return openProgramDirectory(c); }, c.out, c.err);
         }},
        {QStringLiteral("dump"), QStringLiteral("FILE"),
         QStringLiteral("Prints a row-set XML file as a table: columns, then rows; binary\n"
                        "values as their byte count and SHA-256."),
         1, 1, false, runDump},
    };
    return list;
}

QString commandUsage(const Command& cmd) {
    QString text = QStringLiteral("usage: attendance-admin %1 %2").arg(cmd.name, cmd.synopsis);
    if (cmd.usesDirOption)
        text += QStringLiteral(" [--dir DIR]");
    text += QStringLiteral("\n\n") + cmd.summary + QLatin1Char('\n');
    if (cmd.usesDirOption)
        text += QStringLiteral("\n--dir DIR  the program directory whose attendance.ini is used\n"
                               "           (default: the directory of attendance-admin)\n");
    if (cmd.name.startsWith(QLatin1String("export")) || cmd.name == QLatin1String("backup-month"))
        text += QStringLiteral(
            "\nThe file is never overwritten: an existing FILE makes the command fail.\n");
    return text;
}

} // namespace

bool NeedsGui(const QStringList& arguments) {
    // report-month and print-cards lay out and draw their reports' text.
    return arguments.size() > 1 && ((arguments[1] == QLatin1String("init") &&
                                     arguments.contains(QStringLiteral("--demo"))) ||
                                    arguments[1] == QLatin1String("report-month") ||
                                    arguments[1] == QLatin1String("print-cards"));
}

QString Usage() {
    QString text = QStringLiteral(
        "usage: attendance-admin COMMAND [ARGS] [--dir DIR]\n\n"
        "Sets up and scripts a program directory of the attendance system (the folder with\n"
        "signdesk, manage and attendance.ini). Commands other than init work on the\n"
        "program directory given by --dir, by default the directory of attendance-admin.\n\n"
        "commands:\n");
    for (const Command& cmd : commands())
        text += QStringLiteral("  %1 %2\n").arg(cmd.name, cmd.synopsis);
    text += QStringLiteral("\n'attendance-admin COMMAND --help' describes one command.\n"
                           "Exit status: 0 success, 1 failure, 2 wrong usage.\n");
    return text;
}

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() < 2) {
        err << Usage();
        return WrongUsage;
    }
    const QString name = arguments[1];
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        out << Usage();
        return Success;
    }
    const Command* cmd = nullptr;
    for (const Command& candidate : commands())
        if (candidate.name == name)
            cmd = &candidate;
    if (!cmd) {
        err << "attendance-admin: unknown command: " << name << "\n\n" << Usage();
        return WrongUsage;
    }

    QCommandLineParser parser;
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help")});
    parser.addOption(
        {QStringLiteral("dir"), QStringLiteral("program directory"), QStringLiteral("DIR")});
    if (cmd->name == QLatin1String("init")) {
        parser.addOption(
            {QStringLiteral("data"), QStringLiteral("data directory"), QStringLiteral("DATADIR")});
        parser.addOption({QStringLiteral("password"), QStringLiteral("administrator password"),
                          QStringLiteral("PW")});
        parser.addOption(
            {QStringLiteral("unit"), QStringLiteral("unit name"), QStringLiteral("NAME")});
        parser.addOption({QStringLiteral("demo"), QStringLiteral("demo data")});
        parser.addOption({QStringLiteral("engine"), QStringLiteral("database engine"),
                          QStringLiteral("ENGINE")});
        parser.addOption({QStringLiteral("admin-password"),
                          QStringLiteral("administrator password"), QStringLiteral("PW")});
    }
    if (cmd->name == QLatin1String("init") || cmd->name == QLatin1String("migrate")) {
        for (const QString& name : serverOptions())
            if (name != QLatin1String("password"))
                parser.addOption({name, QStringLiteral("server setting"), QStringLiteral("VALUE")});
        if (cmd->name == QLatin1String("migrate"))
            parser.addOption({QStringLiteral("password"), QStringLiteral("server login password"),
                              QStringLiteral("P")});
    }
    if (!parser.parse(QStringList{arguments[0]} + arguments.mid(2))) {
        err << "attendance-admin " << cmd->name << ": " << parser.errorText() << "\n\n"
            << commandUsage(*cmd);
        return WrongUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << commandUsage(*cmd);
        return Success;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() < cmd->minArgs || (cmd->maxArgs >= 0 && args.size() > cmd->maxArgs)) {
        err << "attendance-admin " << cmd->name << ": wrong number of arguments\n\n"
            << commandUsage(*cmd);
        return WrongUsage;
    }
    Context context{parser, args, out, err};
    const int status = cmd->run(context);
    clsDbConn::CloseShared();
    out.flush();
    err.flush();
    return status;
}

} // namespace AdminCommands
