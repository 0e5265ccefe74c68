// attendance-admin on a database server: init --engine postgresql and
// migrate, run as separate processes against the test server
// (ATTENDANCE_TEST_PG_SERVER, _USER, _PASSWORD); skipped without one.
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/IniFile.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsPresence.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QSqlQuery>
#include <QtTest>

namespace {

using AdminTool::ChangeFile, AdminTool::Fails, AdminTool::Run, AdminTool::Runs;

// A fresh, empty database on the test server, dropped at the end, with the
// options that name it.
struct ServerDatabase {
    QStringList args() const { return secretless() + QStringList{"--password", settings.password}; }
    // Without --password: the password from a file or the environment.
    QStringList secretless() const {
        return {"--server",    settings.server, "--user",
                settings.user, "--database",    settings.database};
    }
    // The first value of a statement on the database; -1 on error.
    qint64 count(const QString& sql) const {
        qint64 result = -1;
        {
            QSqlDatabase db = database.connect(QStringLiteral("probe"));
            QSqlQuery q(db);
            if (db.isValid() && q.exec(sql) && q.next())
                result = q.value(0).toLongLong();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        return result;
    }

    // How many tables the database holds.
    qint64 tables() const {
        return count("SELECT COUNT(*) FROM pg_tables WHERE schemaname = 'public'");
    }

    PgTestDatabase database;
    const DbSettings& settings = database.settings();
    const bool created = database.ok();
};

} // namespace

class tst_migrate : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_root.filePath(name); }
    // The exchange files of a program directory, written into `folder`.
    void exportAll(const QString& dir, const QString& folder) {
        const QDate month = QDate::currentDate().addMonths(-1);
        QVERIFY(QDir().mkpath(path(folder)));
        QVERIFY(Runs({"export-departments", path(folder + "/d.xml"), "--dir", dir}));
        QVERIFY(Runs({"export-employees", path(folder + "/e.xml"), "--dir", dir}));
        QVERIFY(Runs({"export-month", QString::number(month.year()), QString::number(month.month()),
                      path(folder + "/m.xml"), "--dir", dir}));
        QVERIFY(Runs({"backup-month", path(folder + "/b.xml"), "--dir", dir}));
    }

    QTemporaryDir m_root;

private slots:
    void initTestCase() {
        if (!PgTestServer::Available())
            QSKIP("no test database server (ATTENDANCE_TEST_PG_SERVER)");
        QVERIFY(m_root.isValid());
    }

    void migrationRoundTripsByteForByte() {
        ServerDatabase server;
        QVERIFY(server.created);
        const QString dir = path("demo");
        QVERIFY(Runs({"init", dir, "--demo"}));
        const QString file = dir + QStringLiteral("/vorerur.dat");
        // A department added and removed: its key is never given again.
        QVERIFY(
            ChangeFile(file, {"INSERT INTO Dept(DNAME) VALUES('gone')",
                              "DELETE FROM Dept WHERE DNAME = 'gone'",
                              "INSERT INTO WorkCalendar VALUES('2026-10-01', 'holiday', 'x')"}));
        exportAll(dir, "before");
        const QByteArray fileBytes = readFile(file);

        qputenv("ATTENDANCE_DB_PASSWORD", server.settings.password.toUtf8());
        const ToolRun r = Run(QStringList{"migrate", "--dir", dir} + server.secretless());
        qunsetenv("ATTENDANCE_DB_PASSWORD");
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains("4 departments, 20 employees") && r.out.contains(" s ("),
                 r.out.constData());
        QCOMPARE(readFile(file), fileBytes);
        QCOMPARE(server.count("SELECT COUNT(*) FROM WorkCalendar"), 1);
        QCOMPARE(server.count("SELECT MAX(VERSION) FROM SchemaVersion"), qint64(DbSchema::Latest));
        const IniFile ini(dir + "/attendance.ini");
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
        // back, a new department gets a key of its own (not 1 again, nor the
        // removed department's 5).
        QVERIFY(Runs({"import-departments", path("before/d.xml"), "--dir", dir}));
        QVERIFY(QSqlQuery(clsDbConn::OpenServer(server.settings, "keys", nullptr))
                    .exec("INSERT INTO Dept(DNAME) VALUES('new')"));
        QSqlDatabase::removeDatabase(QStringLiteral("keys"));
        QCOMPARE(server.count("SELECT COUNT(DISTINCT ID) FROM Dept"), 5);
        QCOMPARE(server.count("SELECT MAX(ID) FROM Dept"), 6);

        // Once switched, a second migrate is refused without touching anything.
        const QByteArray iniBytes = readFile(ini.fileName());
        QVERIFY(Fails(QStringList{"migrate", "--dir", dir} + server.args(), {"ENGINE=postgresql"}));
        QCOMPARE(readFile(ini.fileName()), iniBytes);
    }

    void refusalsAndFailuresChangeNothing() {
        ServerDatabase server;
        QVERIFY(server.created);
        const QString dir = path("refused");
        QVERIFY(Runs({"init", dir, "--demo"}));
        const QString ini = dir + QStringLiteral("/attendance.ini");
        const QByteArray iniBytes = readFile(ini);

        // A row the server cannot take (a NUL in a text) stops the copy
        // after the first tables: all of it is rolled back.
        QVERIFY(ChangeFile(dir + "/vorerur.dat", {"INSERT INTO Presence VALUES('10' || char(0) || "
                                                  "'01', '2020-01-01 08:00:00', NULL)"}));
        QVERIFY(Fails(QStringList{"migrate", "--dir", dir} + server.args(),
                      {"Presence", server.settings.database}));
        QCOMPARE(readFile(ini), iniBytes);
        QCOMPARE(server.tables(), 0);

        // An unreachable server, and options that do not fit.
        QStringList unreachable = server.args();
        unreachable[1] = QStringLiteral("127.0.0.1:1");
        QVERIFY(Fails(QStringList{"migrate", "--dir", dir} + unreachable, {"127.0.0.1:1"}));
        QVERIFY(Fails({"migrate", "--dir", dir, "--server", "h"}, {"--user"}));
        QVERIFY(Fails({"init", path("x"), "--server", "h"}, {"--engine postgresql"}));
        QVERIFY(
            Fails({"init", path("x"), "--engine", "postgresql", "--server", "h"}, {"--database"}));
        QVERIFY(Fails({"init", path("x"), "--engine", "oracle"}, {"oracle"}));
        QCOMPARE(readFile(ini), iniBytes);
        QVERIFY(!QFileInfo::exists(path("x")));

        // A server database holding a table already takes neither.
        QVERIFY(Runs(QStringList{"init", path("first"), "--engine", "postgresql"} + server.args()));
        QVERIFY(Fails(QStringList{"init", path("second"), "--engine", "postgresql"} + server.args(),
                      {"holds tables already"}));
        QVERIFY(!QFileInfo::exists(path("second"))); // nor the folder it made
        QVERIFY(Runs({"init", path("demo2"), "--demo"}));
        const QByteArray demo2 = readFile(path("demo2/attendance.ini"));
        QVERIFY(Fails(QStringList{"migrate", "--dir", path("demo2")} + server.args(),
                      {"holds tables already"}));
        QCOMPARE(readFile(path("demo2/attendance.ini")), demo2);
        QCOMPARE(server.count("SELECT COUNT(*) FROM Employee"), 0);
        // Without server options: the server's database is at this version.
        QVERIFY(Run({"migrate", "--dir", path("first")}).out.contains("nothing to do"));

        // A file newer than the tool is not copied: its later tables would be lost.
        ServerDatabase empty;
        QVERIFY(empty.created);
        QVERIFY(ChangeFile(path("demo2/vorerur.dat"),
                           {QStringLiteral("INSERT INTO SchemaVersion VALUES (%1, '2027-01-01 "
                                           "00:00:00', 'later')")
                                .arg(DbSchema::Latest + 1)}));
        QVERIFY(Fails(QStringList{"migrate", "--dir", path("demo2")} + empty.args(),
                      {QStringLiteral("schema version %1, newer").arg(DbSchema::Latest + 1)}));
        QCOMPARE(readFile(path("demo2/attendance.ini")), demo2);
        QCOMPARE(empty.tables(), 0);
    }

    void initOnServerThenSignIn() {
        ServerDatabase server;
        QVERIFY(server.created);
        const QString dir = path("server");
        writeFile(path("pw"), server.settings.password.toUtf8() + "\n");
        QVERIFY(Runs(QStringList{"init", dir, "--engine", "postgresql", "--demo", "--unit", "一中",
                                 "--password-file", path("pw")} +
                     server.secretless()));
        QCOMPARE(IniFile(dir + QStringLiteral("/attendance.ini")).Read("UNIT", "UNITNAME"),
                 QStringLiteral("一中"));
        QCOMPARE(server.count("SELECT COUNT(*) FROM Employee"), 20);
        QVERIFY(server.count("SELECT COUNT(*) FROM Presence") > 20);

        // The records layer of the programs reads the configuration written.
        SetProgramDirectory(dir);
        AppClock::setFixed(QDateTime::currentDateTime());
        {
            DbSession session = DbSession::OpenConfigured();
            clsPresence scan;
            scan.setENUMBER("1001"); // not yet arrived today in the demo
            QCOMPARE(scan.Add(session), qint16(1));
            AppClock::advance(qint64(clsPresence::RepeatSeconds + 1) * 1000);
            QCOMPARE(scan.Add(session), qint16(2));
        }
        clsDbConn::CloseShared();
        AppClock::reset();
        SetProgramDirectory(QString());
    }
};

QTEST_GUILESS_MAIN(tst_migrate)
#include "tst_migrate.moc"
