#include "tools/admin/InitCommand.h"

#include "shared/base/AtomicFile.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/IniFile.h"
#include "shared/config/PasswordModule.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbSettings.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "tools/admin/DemoData.h"
#include "tools/admin/InitFolders.h"
#include "tools/admin/Migrate.h"
#include "tools/admin/ServerOptions.h"

#include <QFile>
#include <QFileInfo>

#include <optional>
#include <sys/stat.h>

namespace InitCommand {

using Admin::Context;
using Admin::Fail;

namespace {

struct Plan {
    QString dir;
    QString dataDir;
    QString db;
    QString ini;
    bool onServer = false;
    bool demo = false;
    DbSettings server;
    QString adminOption; // the option that names the administrator password
    QString password;
    bool passwordDefault = false; // the demo's, not given
    QString unit;
};

bool checkEngineOptions(Context& c, Plan* p) {
    const DbSettings::Engine engine = DbSettings::EngineNamed(c.value("engine"));
    if (engine == DbSettings::Engine::Unknown)
        return Fail(c.err,
                    QStringLiteral("unknown database engine \"%1\" (known: sqlite, postgresql)")
                        .arg(c.value("engine")));
    p->onServer = engine == DbSettings::Engine::PostgreSQL;
    if (p->onServer) {
        if (c.isSet("data"))
            return Fail(c.err, QStringLiteral("--data names the folder of a database file; with "
                                              "--engine postgresql the records are on the server"));
        return ServerOptions::Read(c, &p->server);
    }
    for (const char* name : {"server", "user", "database"})
        if (c.isSet(name))
            return Fail(c.err, QStringLiteral("--%1 is a database server setting: give --engine "
                                              "postgresql as well")
                                   .arg(QLatin1String(name)));
    if ((c.isSet("password") || c.isSet("password-file")) && c.isSet("admin-password"))
        return Fail(c.err, QStringLiteral("--password and --admin-password both name the "
                                          "administrator password; give one"));
    return true;
}

// The options, their combinations and values.
bool readOptions(Context& c, Plan* p) {
    p->dir = Admin::Absolute(c.args[0]);
    if (c.isSet("dir"))
        return Fail(c.err, QStringLiteral("init takes the program directory as its argument, not "
                                          "--dir"));
    if (!checkEngineOptions(c, p))
        return false;
    // With a server, --password is the server login's; the administrator's
    // is always also --admin-password.
    const bool adminIsPassword = !p->onServer && (c.isSet("password") || c.isSet("password-file"));
    p->adminOption =
        adminIsPassword ? QStringLiteral("password") : QStringLiteral("admin-password");
    p->dataDir = c.isSet("data") ? Admin::Absolute(c.value("data")) : p->dir;
    p->db = JoinPath(p->dataDir, QStringLiteral("vorerur.dat"));
    p->ini = JoinPath(p->dir, QStringLiteral("attendance.ini"));
    p->demo = c.isSet("demo");
    bool passwordGiven = false;
    // A new password: asked twice on the terminal.
    if (!ServerOptions::Secret(c, adminIsPassword ? "password" : "admin-password", nullptr,
                               &p->password, &passwordGiven, ServerOptions::Ask::Twice))
        return false;
    p->passwordDefault = !passwordGiven;
    p->unit = c.value("unit").trimmed();
    if (passwordGiven && !ServerOptions::AdminPasswordUsable(c, p->password))
        return false;
    if (c.isSet("unit") && p->unit.isEmpty())
        return Fail(c.err, QStringLiteral("the unit name must not be empty"));
    if (p->demo && !passwordGiven)
        p->password = DemoData::DefaultPassword();
    if (p->demo && !c.isSet("unit"))
        p->unit = DemoData::DefaultUnitName();
    return true;
}

// Never over an existing database, never an installation repointed away
// from the database it uses.
bool checkTargets(Context& c, const Plan& p) {
    if (!p.onServer && QFileInfo::exists(p.db))
        return Fail(c.err,
                    QStringLiteral("a database exists already: %1; nothing was changed").arg(p.db));
    if (!QFileInfo::exists(p.ini))
        return true;
    const IniFile existing(p.ini);
    const QString path = existing.Read(QStringLiteral("DATA"), QStringLiteral("PATH"));
    const QString engineText = existing.Read(QStringLiteral("DATA"), QStringLiteral("ENGINE"));
    const QString otherDb = JoinPath(path, QStringLiteral("vorerur.dat"));
    if (DbSettings::EngineNamed(engineText) != DbSettings::Engine::SQLite)
        return Fail(c.err, QStringLiteral("%1 already names a database server (ENGINE=%2); nothing "
                                          "was changed")
                               .arg(p.ini, engineText.trimmed()));
    const QString canonical = QFileInfo(otherDb).canonicalFilePath();
    const bool same = !canonical.isEmpty() && canonical == QFileInfo(p.db).canonicalFilePath();
    if (!path.isEmpty() && QFileInfo::exists(otherDb) && (p.onServer || !same))
        return Fail(c.err, QStringLiteral("%1 already names the database %2%3; nothing was changed")
                               .arg(p.ini, otherDb,
                                    p.onServer ? QStringLiteral(" (copy it to the server with "
                                                                "'attendance-admin migrate')")
                                               : QString()));
    return true;
}

// The existing configuration's bytes and attributes, kept for the rewrite
// and for putting it back.
struct OldIni {
    std::optional<struct stat> attributes;
    QByteArray bytes;
};

bool readOldIni(Context& c, const QString& ini, OldIni* old) {
    struct stat st {};
    if (::stat(QFile::encodeName(ini).constData(), &st) != 0)
        return true;
    old->attributes = st;
    QFile f(ini);
    if (!f.open(QIODevice::ReadOnly))
        return Fail(c.err, QStringLiteral("cannot read %1: %2").arg(ini, f.errorString()));
    old->bytes = f.readAll();
    return true;
}

// The configuration as it will be: the old file's lines with the new keys,
// written in one rewrite of a copy in the staging folder.
bool stageIni(Context& c, const Plan& p, const OldIni& old, const QString& built) {
    QFile f(built);
    if (!f.open(QIODevice::WriteOnly) || f.write(old.bytes) != old.bytes.size() || !f.flush())
        return Fail(c.err, QStringLiteral("cannot write %1: %2").arg(built, f.errorString()));
    f.close();
    std::vector<IniFile::Entry> keys;
    if (!p.onServer)
        keys.push_back({QStringLiteral("DATA"), QStringLiteral("PATH"), p.dataDir});
    if (!p.password.isEmpty())
        keys.push_back(
            {QStringLiteral("OTHER"), QStringLiteral("ALP"), EncodePassword(p.password)});
    if (!p.unit.isEmpty())
        keys.push_back({QStringLiteral("UNIT"), QStringLiteral("UNITNAME"), p.unit});
    if (p.onServer) {
        const std::vector<IniFile::Entry> server = Migrate::SettingsKeys(p.server);
        keys.insert(keys.end(), server.begin(), server.end());
    }
    if (!IniFile(built).WriteKeys(keys))
        return Fail(c.err,
                    QStringLiteral("cannot write the settings to %1 (a unit name or password "
                                   "without a GBK code?)")
                        .arg(p.ini));
    return true;
}

// The tables (on a server) and the demo data, in one transaction.
bool fill(Context& c, const Plan& p, const QString& builtDb, DemoData::Summary* summary) {
    if (!p.onServer && !p.demo)
        return true;
    const ScopedConnection name(QStringLiteral("attendance_init"));
    Error why;
    QSqlDatabase conn = p.onServer ? clsDbConn::OpenServer(p.server, name.name(), &why, false)
                                   : clsDbConn::OpenFile(builtDb, name.name(), &why);
    const QString failed = p.onServer ? QStringLiteral("nothing was changed on %1: %2")
                                      : QStringLiteral("cannot fill in the demo data%1: %2");
    const QString where = p.onServer ? p.server.Describe() : QString();
    if (!conn.isValid())
        return Fail(c.err, p.onServer ? QStringLiteral("cannot connect: %1").arg(why.Text())
                                      : failed.arg(where, why.Text()));
    // The tables and the demo data are written at once: no statement limit.
    clsDbConn::LiftStatementLimits(conn);
    Error error;
    DbTransaction tx(conn);
    const bool ok = tx.IsActive() && (!p.onServer || DbCreator::AddTables(conn, &why)) &&
                    (!p.demo || DemoData::Populate(conn, summary, &error)) && tx.Commit();
    if (!ok) {
        const QString cause = why.IsSet() ? why.Text() : error.Text();
        return Fail(c.err, failed.arg(where, cause.isEmpty() ? tx.Error().Text() : cause));
    }
    return true;
}

bool writeIni(const QString& ini, const OldIni& old, const QByteArray& bytes, Error* error) {
    AtomicFile f(ini);
    if (old.attributes)
        f.keepAttributesOf(*old.attributes);
    else
        f.setMode(0660);
    const auto existing =
        old.attributes ? AtomicFile::Existing::Replace : AtomicFile::Existing::Refuse;
    if (f.write(bytes, existing))
        return true;
    return Error(f.errorString()).Report(error);
}

// The configuration first, then the database, never over one that appeared
// meanwhile; should the database fail, the configuration goes back to what
// it was.
bool putInPlace(Context& c, const Plan& p, const OldIni& old, const QString& builtIni,
                const QString& builtDb) {
    QFile staged(builtIni);
    if (!staged.open(QIODevice::ReadOnly))
        return Fail(c.err, QStringLiteral("cannot read %1").arg(builtIni));
    Error error;
    if (!writeIni(p.ini, old, staged.readAll(), &error))
        return Fail(c.err, p.onServer
                               ? QStringLiteral("the tables are on %1, but %2 could not be "
                                                "written: %3")
                                     .arg(p.server.Describe(), p.ini, error.Text())
                               : QStringLiteral("cannot write %1: %2").arg(p.ini, error.Text()));
    Error why;
    if (p.onServer || DbCreator::Install(builtDb, p.db, &why))
        return true;
    const QString message =
        QStringLiteral("cannot create the database %1: %2").arg(p.db, why.Text());
    if (old.attributes)
        writeIni(p.ini, old, old.bytes, &error);
    else
        QFile::remove(p.ini);
    return Fail(c.err, message);
}

void tellResult(Context& c, const Plan& p, const DemoData::Summary& summary) {
    if (p.onServer)
        c.out << "created the tables on " << p.server.Describe();
    else
        c.out << "created database " << p.db;
    c.out << " (schema version " << DbSchema::Latest << ")" << Qt::endl;
    c.out << "wrote " << p.ini << Qt::endl;
    if (p.demo) {
        c.out << "demo data: " << summary.departments << " departments, " << summary.employees
              << " employees, " << summary.presenceRows << " presence records" << Qt::endl;
        const QStringList numbers = DemoData::Numbers();
        const QStringList barcodes = DemoData::Barcodes();
        // A password typed or read from a file is never shown.
        if (p.passwordDefault)
            c.out << "administrator password: " << p.password << Qt::endl;
        else
            c.out << "administrator password: as given (--" << p.adminOption << ")" << Qt::endl;
        for (int i = 0; i < 3; ++i)
            c.out << "card of employee " << numbers[i] << ": " << barcodes[i] << Qt::endl;
    } else if (p.password.isEmpty() &&
               IniFile(p.ini).Read(QStringLiteral("OTHER"), QStringLiteral("ALP")).isEmpty()) {
        c.err << "attendance-admin: warning: no administrator password is set (--" << p.adminOption
              << "); nobody can log in at the station until OTHER/ALP is set" << Qt::endl;
    }
}

} // namespace

QString Synopsis() {
    return QStringLiteral("DIR [--data DATADIR] [--password PW] [--unit NAME] [--demo]\n"
                          "       attendance-admin init DIR --engine postgresql --server "
                          "HOST[:PORT][,...] --user U\n"
                          "         --password P --database NAME [--admin-password PW] "
                          "[--unit NAME] [--demo]");
}

QString Summary() {
    return QStringLiteral(
        "Writes DIR/attendance.ini and creates the database (in DATADIR, default\n"
        "DIR); refuses, changing nothing, when the database exists. --demo adds\n"
        "departments, employees with photos and presence records (password\n"
        "and unit name default to the demo ones). A failed init removes the\n"
        "folders it made.\n\n"
        "With --engine postgresql the tables are created in the existing, empty\n"
        "database NAME on the server (refused, changing nothing, when it holds\n"
        "any of them), and attendance.ini gets DATA/ENGINE and the four server\n"
        "settings of group ATTENDANCE once they are committed. --password is\n"
        "then the server login's password; --admin-password sets the\n"
        "administrator password (with either engine).");
}

int Run(Context& c) {
    Plan p;
    if (!readOptions(c, &p) || !checkTargets(c, p))
        return Admin::Failure;
    CreatedFolders made;
    if (!made.make(p.dir))
        return Fail(c.err, QStringLiteral("cannot create the program directory %1").arg(p.dir));
    if (!made.make(p.dataDir))
        return Fail(c.err, QStringLiteral("cannot create the data directory %1").arg(p.dataDir));
    // The server's tables are there for good once committed: the
    // configuration must be writable before.
    if (p.onServer && !QFileInfo(p.dir).isWritable())
        return Fail(c.err, QStringLiteral("the program directory %1 is not writable").arg(p.dir));

    // Staged beside the database, so a killed init leaves either nothing or
    // a whole set-up, and a second init simply starts again.
    StagingFolder::RemoveStale(p.dataDir);
    const StagingFolder staging(p.dataDir);
    if (!staging.isValid())
        return Fail(c.err, staging.errorString());
    const QString builtDb = staging.filePath(QStringLiteral("vorerur.dat"));
    const QString builtIni = staging.filePath(QStringLiteral("attendance.ini"));
    Error why;
    if (!p.onServer && !DbCreator::Build(builtDb, &why))
        return Fail(c.err,
                    QStringLiteral("cannot create the database %1: %2").arg(p.db, why.Text()));
    OldIni old;
    DemoData::Summary summary;
    if (!readOldIni(c, p.ini, &old) || !stageIni(c, p, old, builtIni) ||
        !fill(c, p, builtDb, &summary) || !putInPlace(c, p, old, builtIni, builtDb))
        return Admin::Failure;
    made.keep();
    tellResult(c, p, summary);
    return Admin::Success;
}

} // namespace InitCommand
