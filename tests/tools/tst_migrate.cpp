// attendance-admin on a database server: init --engine postgresql and
// migrate, run as separate processes against the test server
// (ATTENDANCE_TEST_PG_SERVER, _USER, _PASSWORD); skipped without one.
#include "AppClock.h"
#include "DbSettings.h"
#include "IniFile.h"
#include "ProgramDirectory.h"
#include "TestProgramDir.h"
#include "clsDbConn.h"
#include "clsPresence.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QSqlQuery>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A fresh, empty database on the test server, dropped at the end.
class ServerDatabase {
public:
    ServerDatabase() {
        settings.engine = DbSettings::Engine::PostgreSQL;
        settings.server = qEnvironmentVariable("ATTENDANCE_TEST_PG_SERVER");
        settings.user = qEnvironmentVariable("ATTENDANCE_TEST_PG_USER");
        settings.password = qEnvironmentVariable("ATTENDANCE_TEST_PG_PASSWORD");
        static int serial = 0;
        settings.database = QStringLiteral("admin_%1_%2").arg(::getpid()).arg(++serial);
        created = !settings.server.isEmpty() &&
                  admin(QStringLiteral("CREATE DATABASE %1").arg(settings.database));
    }
    ~ServerDatabase() {
        if (created)
            admin(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(settings.database));
    }

    QStringList args() const {
        return {"--server",   settings.server,   "--user",     settings.user,
                "--password", settings.password, "--database", settings.database};
    }
    // The first value of a statement on the database; -1 on error.
    qint64 count(const QString& sql) const {
        qint64 result = -1;
        {
            QSqlDatabase db =
                clsDbConn::OpenServer(settings, QStringLiteral("probe"), nullptr, false);
            QSqlQuery q(db);
            if (db.isValid() && q.exec(sql) && q.next())
                result = q.value(0).toLongLong();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        return result;
    }

    DbSettings settings;
    bool created = false;

private:
    bool admin(const QString& sql) const {
        DbSettings maintenance = settings;
        maintenance.database = QStringLiteral("postgres");
        bool ok = false;
        {
            QSqlDatabase db =
                clsDbConn::OpenServer(maintenance, QStringLiteral("maintenance"), nullptr, false);
            ok = db.isValid() && QSqlQuery(db).exec(sql);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maintenance"));
        return ok;
    }
};

} // namespace

class tst_migrate : public QObject {
    Q_OBJECT

private:
    ToolRun run(const QStringList& args) { return RunTool(m_tool, args); }
    bool runs(const QStringList& args) {
        const ToolRun r = run(args);
        if (r.code != 0)
            qWarning("%s: %s", qPrintable(args.join(QLatin1Char(' '))), qPrintable(r.err));
        return r.code == 0;
    }
    // Fails with exit code 1, saying each of `says`.
    bool fails(const QStringList& args, const QStringList& says) {
        const ToolRun r = run(args);
        bool ok = r.code == 1;
        for (const QString& s : says)
            ok = ok && r.err.contains(s);
        if (!ok)
            qWarning("%s: %d %s", qPrintable(args.join(QLatin1Char(' '))), r.code,
                     qPrintable(r.err));
        return ok;
    }
    QString path(const QString& name) const { return m_root.filePath(name); }
    // The exchange files of a program directory, written into `folder`.
    void exportAll(const QString& dir, const QString& folder) {
        const QDate month = QDate::currentDate().addMonths(-1);
        QVERIFY(QDir().mkpath(path(folder)));
        QVERIFY(runs({"export-departments", path(folder + "/d.xml"), "--dir", dir}));
        QVERIFY(runs({"export-employees", path(folder + "/e.xml"), "--dir", dir}));
        QVERIFY(runs({"export-month", QString::number(month.year()), QString::number(month.month()),
                      path(folder + "/m.xml"), "--dir", dir}));
        QVERIFY(runs({"backup-month", path(folder + "/b.xml"), "--dir", dir}));
    }

    QTemporaryDir m_root;
    QString m_tool;

private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("ATTENDANCE_TEST_PG_SERVER"))
            QSKIP("no test database server (ATTENDANCE_TEST_PG_SERVER)");
        m_tool = QCoreApplication::applicationDirPath() + QStringLiteral("/attendance-admin");
        QVERIFY(QFileInfo(m_tool).isExecutable());
        QVERIFY(m_root.isValid());
    }

    void migrationRoundTripsByteForByte() {
        ServerDatabase server;
        QVERIFY(server.created);
        const QString dir = path("demo");
        QVERIFY(runs({"init", dir, "--demo"}));
        exportAll(dir, "before");
        const QString file = dir + QStringLiteral("/vorerur.dat");
        const QByteArray fileBytes = readFile(file);

        const ToolRun r = run(QStringList{"migrate", "--dir", dir} + server.args());
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains("4 departments, 20 employees") && r.out.contains(" s ("),
                 r.out.constData());
        QCOMPARE(readFile(file), fileBytes);
        const IniFile ini(dir + QStringLiteral("/attendance.ini"));
        QCOMPARE(ini.Read("DATA", "ENGINE"), QStringLiteral("postgresql"));
        QCOMPARE(ini.Read("ATTENDANCE", "DBNAME"), server.settings.database);
        QCOMPARE(ini.Read("ATTENDANCE", "DBLOGINPWD"), server.settings.password);

        // The same exchange files, now read from the server.
        exportAll(dir, "after");
        for (const char* name : {"/d.xml", "/e.xml", "/m.xml", "/b.xml"}) {
            const QByteArray before = readFile(path(QStringLiteral("before") + name));
            QVERIFY(!before.isEmpty());
            QVERIFY2(readFile(path(QStringLiteral("after") + name)) == before, name);
        }

        // New keys follow the copied ones: after a department file imported
        // back, a new department gets a key of its own (not 1 again).
        QVERIFY(runs({"import-departments", path("before/d.xml"), "--dir", dir}));
        QVERIFY(QSqlQuery(clsDbConn::OpenServer(server.settings, "keys", nullptr))
                    .exec(QStringLiteral("INSERT INTO Dept(DNAME) VALUES('new')")));
        QSqlDatabase::removeDatabase(QStringLiteral("keys"));
        QCOMPARE(server.count(QStringLiteral("SELECT COUNT(DISTINCT ID) FROM Dept")), 5);

        // Once switched, a second migrate is refused without touching anything.
        const QByteArray iniBytes = readFile(ini.fileName());
        QVERIFY(fails(QStringList{"migrate", "--dir", dir} + server.args(), {"ENGINE=postgresql"}));
        QCOMPARE(readFile(ini.fileName()), iniBytes);
    }

    void refusalsAndFailuresChangeNothing() {
        ServerDatabase server;
        QVERIFY(server.created);
        const QString dir = path("refused");
        QVERIFY(runs({"init", dir, "--demo"}));
        const QString ini = dir + QStringLiteral("/attendance.ini");
        const QByteArray iniBytes = readFile(ini);

        // A row the server cannot take (a NUL in a text) stops the copy
        // after the first tables: all of it is rolled back.
        {
            QSqlDatabase db = clsDbConn::OpenFile(dir + "/vorerur.dat", "bad");
            QVERIFY(QSqlQuery(db).exec("INSERT INTO Presence VALUES('10' || char(0) || '01', "
                                       "'2020-01-01 08:00:00', NULL)"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bad"));
        QVERIFY(fails(QStringList{"migrate", "--dir", dir} + server.args(),
                      {"Presence", server.settings.database}));
        QCOMPARE(readFile(ini), iniBytes);
        QCOMPARE(server.count(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE "
                                             "schemaname = 'public'")),
                 0);

        // An unreachable server, and options that do not fit.
        QStringList unreachable = server.args();
        unreachable[1] = QStringLiteral("127.0.0.1:1");
        QVERIFY(fails(QStringList{"migrate", "--dir", dir} + unreachable, {"127.0.0.1:1"}));
        QVERIFY(fails({"migrate", "--dir", dir, "--server", "h"}, {"--user"}));
        QVERIFY(fails({"init", path("x"), "--server", "h"}, {"--engine postgresql"}));
        QVERIFY(
            fails({"init", path("x"), "--engine", "postgresql", "--server", "h"}, {"--database"}));
        QVERIFY(fails({"init", path("x"), "--engine", "oracle"}, {"oracle"}));
        QCOMPARE(readFile(ini), iniBytes);
        QVERIFY(!QFileInfo::exists(path("x")));

        // A server database holding a table already takes neither.
        QVERIFY(runs(QStringList{"init", path("first"), "--engine", "postgresql"} + server.args()));
        QVERIFY(fails(QStringList{"init", path("second"), "--engine", "postgresql"} + server.args(),
                      {"holds tables already"}));
        QVERIFY(!QFileInfo::exists(path("second/attendance.ini")));
        QVERIFY(runs({"init", path("demo2"), "--demo"}));
        const QByteArray demo2 = readFile(path("demo2/attendance.ini"));
        QVERIFY(fails(QStringList{"migrate", "--dir", path("demo2")} + server.args(),
                      {"holds tables already"}));
        QCOMPARE(readFile(path("demo2/attendance.ini")), demo2);
        QCOMPARE(server.count(QStringLiteral("SELECT COUNT(*) FROM Employee")), 0);
    }

    void initOnServerThenSignIn() {
        ServerDatabase server;
        QVERIFY(server.created);
        const QString dir = path("server");
        QVERIFY(
            runs(QStringList{"init", dir, "--engine", "postgresql", "--demo", "--unit", "一中"} +
                 server.args()));
        const QString ini = dir + QStringLiteral("/attendance.ini");
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(ini).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, 0660u);
        QCOMPARE(IniFile(ini).Read("UNIT", "UNITNAME"), QStringLiteral("一中"));
        QCOMPARE(server.count(QStringLiteral("SELECT COUNT(*) FROM Employee")), 20);
        QVERIFY(server.count(QStringLiteral("SELECT COUNT(*) FROM Presence")) > 20);

        // The records layer of the programs reads the configuration written.
        SetProgramDirectory(dir);
        AppClock::setFixed(QDateTime::currentDateTime());
        clsPresence scan;
        scan.setENUMBER(QStringLiteral("1001")); // not yet arrived today in the demo
        QCOMPARE(scan.Add(), qint16(1));
        AppClock::advance(qint64(clsPresence::RepeatSeconds + 1) * 1000);
        QCOMPARE(scan.Add(), qint16(2));
        clsDbConn::CloseShared();
        AppClock::reset();
        SetProgramDirectory(QString());
    }
};

QTEST_GUILESS_MAIN(tst_migrate)
#include "tst_migrate.moc"
