// attendance-admin run as a separate process, the way scripts use it.
#include "shared/config/IniFile.h"
#include "shared/config/PasswordModule.h"
#include "shared/db/DbSchema.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "shared/rowset/RowSetXml.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/TestProgramDir.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Rows of a query on a database file, each row's values joined by '|',
// binaries as their SHA-256 (equal hashes: equal bytes).
QStringList rows(const QString& dbFile, const QString& sql) {
    const ScopedConnection name(QStringLiteral("tst_admin_rows"));
    QSqlQuery q(clsDbConn::OpenFile(dbFile, name.name()));
    QStringList result;
    if (!q.exec(sql))
        result << QStringLiteral("<query failed>");
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i) {
            const QVariant v = q.value(i);
            values << (v.typeId() == QMetaType::QByteArray
                           ? QCryptographicHash::hash(v.toByteArray(), QCryptographicHash::Sha256)
                                 .toHex()
                       : v.isNull() ? QStringLiteral("NULL")
                                    : v.toString());
        }
        result << values.join(QLatin1Char('|'));
    }
    return result;
}

int count(const QString& dbFile, const QString& sql) {
    const QStringList r = rows(dbFile, sql);
    return r.size() == 1 ? r[0].toInt() : -1;
}

// Makes a file or folder unwritable also for root (immutable) and back;
// false where the file system cannot.
bool setReadOnly(const QString& path, bool readOnly) {
    if (::geteuid() != 0)
        return ::chmod(QFile::encodeName(path).constData(), readOnly ? 0555 : 0755) == 0;
    return QProcess::execute(QStringLiteral("chattr"),
                             {readOnly ? QStringLiteral("+i") : QStringLiteral("-i"), path}) == 0;
}

// Takes the write protection away again however the test ends.
struct ReadOnlyGuard {
    QString path;
    bool ok;
    explicit ReadOnlyGuard(const QString& p) : path(p), ok(setReadOnly(p, true)) {}
    ~ReadOnlyGuard() {
        if (ok)
            setReadOnly(path, false);
    }
};

using AdminTool::ChangeFile, AdminTool::Fails, AdminTool::Run, AdminTool::Runs;

const QString kEmployeeColumns =
    QStringLiteral("SELECT ENUMBER, EBARCODE, ENAME, DID, ENTERDATE, HEADIMG FROM Employee "
                   "ORDER BY ENUMBER");

} // namespace

class tst_admin : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_root.filePath(name); }
    QString db(const QString& dir) const { return path(dir + QStringLiteral("/vorerur.dat")); }

    QTemporaryDir m_root;
    QString m_tool;
    QString m_demo; // program directory with demo data, made once

private slots:
    void initTestCase() {
        m_tool = AdminTool::Path();
        QVERIFY2(QFileInfo(m_tool).isExecutable(), qPrintable(m_tool));
        QVERIFY(m_root.isValid());
        m_demo = path("demo");
        QVERIFY(Runs({"init", m_demo, "--demo"}));
    }

    void helpAndUsage() {
        QVERIFY(Run({"check", "--dir", m_demo}).out.contains("vorerur.dat"));
        // Usage errors: exit code 2, nothing done.
        QCOMPARE(Run({}).code, 2);
        QVERIFY(Run({"frobnicate"}).err.contains(QStringLiteral("unknown command")));
        QCOMPARE(Run({"dump"}).code, 2);
        QCOMPARE(Run({"init", path("x"), "--bogus"}).code, 2);
        QVERIFY(!QFileInfo::exists(path("x")));
    }

    void initWritesConfigurationAndSchema() {
        const QString dir = path("plain");
        const QString data = path("plain-data");
        writeFile(path("pw"), "pass word\n"); // kept out of the process list
        QVERIFY(Runs({"init", dir, "--data", data, "--password-file", path("pw"), "--unit",
                      "  第一实验小学 "}));

        const IniFile ini(dir + QStringLiteral("/attendance.ini"));
        QCOMPARE(ini.Read("DATA", "PATH"), QDir(data).absolutePath());
        QCOMPARE(ini.Read("OTHER", "ALP"), EncodePassword(QStringLiteral("pass word")));
        QCOMPARE(ini.Read("UNIT", "UNITNAME"), QStringLiteral("第一实验小学"));

        QCOMPARE(count(data + QStringLiteral("/vorerur.dat"),
                       QStringLiteral("SELECT (SELECT COUNT(*) FROM Employee) + (SELECT COUNT(*) "
                                      "FROM Dept) + (SELECT COUNT(*) FROM Presence)")),
                 0);
    }

    void initRefusesAndChangesNothing() {
        // Over the demo database: neither the file nor the configuration changes.
        const QByteArray ini = readFile(m_demo + QStringLiteral("/attendance.ini"));
        const QByteArray data = readFile(db("demo"));
        QVERIFY(!data.isEmpty());
        QVERIFY(
            Fails({"init", m_demo, "--password", "other", "--unit", "别的", "--demo"}, {"exists"}));
        QCOMPARE(readFile(m_demo + QStringLiteral("/attendance.ini")), ini);
        QCOMPARE(readFile(db("demo")), data);

        // A new program directory sharing that database's folder is refused too.
        const QString other = path("other");
        QVERIFY(Fails({"init", other, "--data", m_demo}));
        QVERIFY(!QFileInfo::exists(other + QStringLiteral("/attendance.ini")));

        // A program directory whose configuration names another existing
        // database is not pointed at a new, empty one.
        QDir().mkpath(other);
        writeFile(other + QStringLiteral("/attendance.ini"),
                  QByteArray("[DATA]\r\nPATH=") + QFile::encodeName(m_demo) + "\r\n");
        QVERIFY(Fails({"init", other}));
        QVERIFY(!QFileInfo::exists(other + QStringLiteral("/vorerur.dat")));

        // A password the station's login could never accept.
        QVERIFY(Fails({"init", path("blanks"), "--password", " x "}));
        QVERIFY(!QFileInfo::exists(path("blanks")));
    }

    void demoMadeJustAfterMidnight() {
        // Set up at 00:00:10 local time (a zone chosen so): this morning's arrivals lie before.
        const QDateTime utc = QDateTime::currentDateTimeUtc();
        const int west = utc.time().msecsSinceStartOfDay() / 1000 - 10;
        qputenv("TZ", (west < 0 ? "ABC-" : "ABC+") +
                          QTime(0, 0).addSecs(qAbs(west)).toString("H:mm:ss").toLatin1());
        QVERIFY(Runs({"init", path("midnight"), "--demo"}));
        qunsetenv("TZ");
        const QString setUp = utc.addSecs(-west).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(count(db("midnight"),
                       "SELECT COUNT(*) FROM Presence WHERE ENTERTIME > '" + setUp + "'"),
                 0);
    }

    void demoDatabase() {
        const QString file = db("demo");
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Dept")), 4);
        // Every employee is in a department (so every card can sign in), with
        // a distinct 15-digit barcode and a real JPEG photo.
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(DISTINCT EBARCODE) FROM Employee, Dept "
                                            "WHERE Employee.DID = Dept.ID AND length(EBARCODE) = "
                                            "15 AND EBARCODE NOT GLOB '*[^0-9]*' AND "
                                            "hex(substr(HEADIMG, 1, 3)) = 'FFD8FF' AND "
                                            "length(HEADIMG) > 2000")),
                 20);

        // Presence lies in the past, of known employees only.
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME > '%1' "
                                            "OR ENUMBER NOT IN (SELECT ENUMBER FROM Employee)")
                                 .arg(QDateTime::currentDateTime().toString(
                                     QStringLiteral("yyyy-MM-dd HH:mm:ss")))),
                 0);

        // The demo cards are the same on every run; the README names the first three.
        const QStringList firstCards =
            rows(file, QStringLiteral("SELECT EBARCODE FROM Employee WHERE ENUMBER IN "
                                      "('1001', '1002', '1003') ORDER BY ENUMBER"));
        QCOMPARE(firstCards.size(), 3);
        for (const char* doc : {"/README.md", "/run.sh"})
            for (const QString& card : firstCards)
                QVERIFY2(readFile(QLatin1String(ATTENDANCE_SOURCE_DIR) + QLatin1String(doc))
                             .contains(card.toLatin1()),
                         doc);
        QVERIFY(Runs({"init", path("demo-again"), "--demo"}));
        const QString employees = QStringLiteral(
            "SELECT ENUMBER, EBARCODE, ENAME, HEADIMG FROM Employee ORDER BY ENUMBER");
        QCOMPARE(rows(db("demo-again"), employees), rows(file, employees));
    }

    void employeesRoundTripByteForByte() {
        const QString target = path("target"), depts = path("depts.xml"), emps = path("emps.xml");
        QVERIFY(Runs({"init", target, "--password", "x"}));
        QVERIFY(Runs({"export-departments", depts, "--dir", m_demo}));
        QVERIFY(Runs({"export-employees", emps, "--dir", m_demo}));
        QVERIFY(Runs({"import-departments", depts, "--dir", target}));
        ToolRun r = Run({"import-employees", emps, "--dir", target});
        QVERIFY(r.code == 0 && r.out.contains("20"));

        const QStringList source = rows(db("demo"), kEmployeeColumns);
        QCOMPARE(source.size(), 20);
        QCOMPARE(rows(db("target"), kEmployeeColumns), source);
        QCOMPARE(rows(db("target"), QStringLiteral("SELECT ID, DNAME FROM Dept ORDER BY ID")),
                 rows(db("demo"), QStringLiteral("SELECT ID, DNAME FROM Dept ORDER BY ID")));

        // Without the departments the employees could not sign in: said, not refused.
        QVERIFY(Runs({"init", path("bare"), "--password", "x"}));
        r = Run({"import-employees", emps, "--dir", path("bare")});
        QVERIFY2(r.code == 0 && r.err.contains(QStringLiteral("warning")), qPrintable(r.err));
        QCOMPARE(rows(db("bare"), kEmployeeColumns), source);
    }

    void exportChosenEmployees() {
        QVERIFY(Runs({"export-employees", path("two.xml"), "1005", "1002", "--dir", m_demo}));
        RowSet rs;
        QVERIFY(RowSetXml::Load(path("two.xml"), &rs));
        QCOMPARE(rs.rows.size(), 2);
        QCOMPARE(QSet<QString>({rs.value(0, QStringLiteral("ENUMBER")).toString(),
                                rs.value(1, QStringLiteral("ENUMBER")).toString()}),
                 QSet<QString>({QStringLiteral("1002"), QStringLiteral("1005")}));

        // An unknown number writes no file at all.
        QVERIFY(Fails({"export-employees", path("none.xml"), "1002", "9999", "--dir", m_demo},
                      {"9999"}));
        QVERIFY(!QFileInfo::exists(path("none.xml")));
    }

    void monthFiles() {
        // The previous month whole, and the current one up to today.
        const QDate today = QDate::currentDate();
        const QDate first = QDate(today.year(), today.month(), 1).addMonths(-1);
        QVERIFY(Runs({"export-month", QString::number(first.year()), QString::number(first.month()),
                      path("month.xml"), "--dir", m_demo}));
        QVERIFY(Runs({"backup-month", path("backup.xml"), "--dir", m_demo}));
        RowSet month, current;
        QVERIFY(RowSetXml::Load(path("month.xml"), &month));
        QVERIFY(RowSetXml::Load(path("backup.xml"), &current));
        const QString in = QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME >= '%1' "
                                          "AND ENTERTIME < '%2'");
        const auto day = [](const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); };
        QVERIFY(month.rows.size() > 0);
        QCOMPARE(month.rows.size(), count(db("demo"), in.arg(day(first), day(first.addMonths(1)))));
        QCOMPARE(current.rows.size(),
                 count(db("demo"), in.arg(day(first.addMonths(1)), day(today.addDays(1)))));
        // A wrong month: tst_rulescommands (the commands share its check).
    }

    void dumpPrintsColumnsThenRows() {
        const QString file = path("one.xml");
        QVERIFY(Runs({"export-employees", file, "1003", "--dir", m_demo}));
        ToolRun r = Run({"dump", file});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QString out = QString::fromUtf8(r.out);
        // The photo as its size and SHA-256.
        const QString photo =
            rows(db("demo"), QStringLiteral("SELECT length(HEADIMG), HEADIMG "
                                            "FROM Employee WHERE ENUMBER = '1003'"))
                .value(0)
                .replace(QLatin1Char('|'), QLatin1String(" bytes sha256:"));
        QVERIFY2(out.contains(photo), qPrintable(photo + QLatin1Char('\n') + out));
        const int columns = out.indexOf(QStringLiteral("columns (7)"));
        QVERIFY(columns >= 0 && out.indexOf(QStringLiteral("rows (1)")) > columns);
        QVERIFY(out.contains(QStringLiteral("李娜")));

        // One huge value among 200 rows: the output is cut, not padded to it.
        RowSet rs;
        rs.columns.resize(2);
        rs.columns[0].name = QStringLiteral("ID");
        rs.columns[0].type = RowSetColumn::Type::Int;
        rs.columns[1].name = QStringLiteral("MEMO");
        for (int i = 0; i < 200; ++i)
            rs.rows.append(RowSetRow{
                {i, i == 7 ? QString(3'000'000, QLatin1Char('x')) : QStringLiteral("short")}});
        QVERIFY(RowSetXml::Save(rs, path("huge.xml")));
        r = Run({"dump", path("huge.xml")});
        QCOMPARE(r.code, 0);
        out = QString::fromUtf8(r.out);
        QVERIFY2(out.size() < 40000, qPrintable(QString::number(out.size())));
        QVERIFY(out.contains(QStringLiteral("are cut")));
        QVERIFY(out.contains(QString(57, QLatin1Char('x')) + QStringLiteral("...")));
        QVERIFY(out.contains(QStringLiteral("199  short\n")));
    }

    void killedInitLeavesNothingOrAWholeSetUp() {
        // kill -9 at increasing moments of a demo set-up (about 1 s whole).
        int nothing = 0;
        for (int delay : {0, 5, 10, 20, 40, 80, 160, 320, 640, 1280}) {
            const QString dir = path(QStringLiteral("killed%1").arg(delay));
            QProcess p;
            p.start(m_tool, {"init", dir, "--demo"});
            QVERIFY(p.waitForStarted());
            if (!p.waitForFinished(delay)) {
                p.kill();
                QVERIFY(p.waitForFinished());
            }
            const QString file = dir + QStringLiteral("/vorerur.dat");
            if (!QFileInfo::exists(file)) {
                ++nothing;
                QVERIFY2(Runs({"init", dir, "--demo"}), qPrintable(QString::number(delay)));
            }
            QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden),
                     QStringList({"attendance.ini", "vorerur.dat"}));
            QCOMPARE(IniFile(dir + QStringLiteral("/attendance.ini")).Read("DATA", "PATH"), dir);
            QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Employee")), 20);
            QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Dept")), 4);
        }
        QVERIFY(nothing > 0);
    }

    void cutOffInitLeavesNoFolderBehind() {
        // A full disk: the folders init made are gone again. Killed: its
        // staging folder (beside the database) goes at the next init.
        using FileSizeLimit::Outcome;
        const QStringList full{"init", path("full/dir"), "--data", path("full-data/x"), "--demo"};
        QCOMPARE(FileSizeLimit::Run(m_tool, full, 20000, Outcome::FullDisk).code, 1);
        QVERIFY(!QFileInfo::exists(path("full")) && !QFileInfo::exists(path("full-data")));
        const QStringList cut{"init", path("cut"), "--demo"};
        QCOMPARE(FileSizeLimit::Run(m_tool, cut, 20000, Outcome::Killed).code, -1);
        const auto hidden = QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(path("cut")).entryList(hidden).size(), 1);
        QVERIFY(Runs(cut));
        QVERIFY(QDir(path("cut")).entryList(hidden).isEmpty());
    }

    void failuresNameTheirCause() {
        const QString dir = path("causes"), file = db("causes"), emps = path("causes.xml");
        QVERIFY(Runs({"init", dir, "--password", "x"}));
        QVERIFY(Runs({"export-employees", emps, "--dir", m_demo}));

        // Another program holds the database longer than the busy wait (5 s, once).
        {
            QSqlDatabase holder = clsDbConn::OpenFile(file, QStringLiteral("holder"));
            QSqlQuery q(holder);
            QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(Fails({"import-employees", emps, "--dir", dir},
                          {"locked by another program", file}));
            q.exec(QStringLiteral("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));

        // A read-only database file, a read-only folder for an export.
        {
            ReadOnlyGuard guard(file);
            if (!guard.ok)
                QSKIP("no way to write-protect a file here");
            QVERIFY(Fails({"import-employees", emps, "--dir", dir}, {"read-only", file}));
        }
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Employee")), 0);
        const QString out = path("sealed");
        QDir().mkpath(out);
        {
            ReadOnlyGuard guard(out);
            const QString d = out + QStringLiteral("/d.xml");
            QVERIFY(Fails({"export-departments", d, "--dir", m_demo}, {"read-only", d}));
        }

        // A bad byte deep in a file is reported at its line.
        QByteArray bytes = readFile(emps);
        qsizetype at = 0;
        for (int line = 1; line < 12; ++line)
            at = bytes.indexOf('\n', at) + 1;
        bytes.insert(at + 2, "\xff");
        writeFile(path("badbyte.xml"), bytes);
        QVERIFY(Fails({"import-employees", path("badbyte.xml"), "--dir", dir},
                      {"line 12", path("badbyte.xml")}));

        // A database file without tables (an interrupted set-up by an older version).
        QVERIFY(QFile::resize(file, 0));
        for (const QStringList& args : {QStringList{"import-employees", emps},
                                        {"backup-month", path("never.xml")},
                                        {"check"}}) {
            QVERIFY(Fails(args + QStringList{"--dir", dir},
                          {"the database file has no tables: " + file}));
        }
        QVERIFY(!clsDbConn::OpenFile(file, QStringLiteral("empty")).isValid());
    }

    // The schema version: migrate brings an older database to this program's
    // version, naming each step, and then has nothing to do; a database newer
    // than the tool is refused, naming both versions, and
    // left as it is.
    void schemaVersions() {
        if (TestProgramDir::OnServer())
            QSKIP("on a server: shared_db_tst_schema_pg");
        const QString dir = path("schema");
        const QString file = db("schema");
        const QByteArray latest = QByteArray::number(DbSchema::Latest);
        QVERIFY(Run({"init", dir, "--password", "x"}).out.contains("schema version " + latest));
        QVERIFY(Run({"check", "--dir", dir}).out.contains("schema version " + latest));
        QVERIFY(Run({"migrate", "--dir", dir}).out.contains("at schema version " + latest));
        // Made before the replayed scans' table, without the version table.
        QVERIFY(ChangeFile(file, {"DROP TABLE SchemaVersion", "DROP TABLE ScanReplay",
                                  "DROP INDEX IX_Employee_ENUMBER_ENAME",
                                  "DROP TRIGGER TR_Presence_Closed_insert"}));
        const ToolRun upgraded = Run({"migrate", "--dir", dir});
        QCOMPARE(upgraded.code, 0);
        QVERIFY2(upgraded.out.contains("schema version 6: scans replayed by stations\n") &&
                     upgraded.out.contains("schema version 8: guards") &&
                     upgraded.out.contains("from schema version 5 to " + latest),
                 upgraded.out.constData());
        QCOMPARE(count(file, "SELECT COUNT(*) FROM ScanReplay"), 0);
        QVERIFY(Run({"migrate", "--dir", dir}).out.contains("nothing to do"));

        QVERIFY(ChangeFile(file, {QStringLiteral("INSERT INTO SchemaVersion VALUES (%1, "
                                                 "'2027-01-01 00:00:00', 'later')")
                                      .arg(DbSchema::Latest + 1)}));
        const QByteArray before = readFile(file);
        const QString newer = QStringLiteral("schema version %1, newer than this program's %2")
                                  .arg(DbSchema::Latest + 1)
                                  .arg(DbSchema::Latest);
        QVERIFY(Fails({"check", "--dir", dir}, {newer}));
        QVERIFY(Fails({"migrate", "--dir", dir}, {newer})); // each profile: tst_schema
        QCOMPARE(readFile(file), before);
    }

    void badInputFails() {
        // Unreadable files change nothing.
        const QString garbage = path("garbage.xml");
        writeFile(garbage, "<xml><this is not a row set");
        QVERIFY(Fails({"dump", garbage}, {"garbage.xml"}));
        QVERIFY(Fails({"dump", path("missing.xml")}));
        const QString all = QStringLiteral("SELECT * FROM Employee, Dept ORDER BY 1, 8");
        const QStringList before = rows(db("demo"), all);
        QVERIFY(Fails({"import-employees", garbage, "--dir", m_demo}));
        QVERIFY(Fails({"import-departments", garbage, "--dir", m_demo}));
        QCOMPARE(rows(db("demo"), all), before);

        // Exports never overwrite a file.
        writeFile(path("taken.xml"), "keep me");
        for (const QStringList& args : {QStringList{"export-departments"},
                                        {"export-employees"},
                                        {"backup-month"},
                                        {"export-month", "2026", "1"}}) {
            QVERIFY(Fails(args + QStringList{path("taken.xml"), "--dir", m_demo}));
        }
        QCOMPARE(readFile(path("taken.xml")), QByteArray("keep me"));

        // A program directory without a database, one that does not exist, and
        // a database failure said in the database's words.
        const QString empty = path("empty");
        QDir().mkpath(empty);
        QVERIFY(Fails({"export-departments", path("e.xml"), "--dir", empty}, {"PATH"}));
        QVERIFY(Fails({"backup-month", path("e.xml"), "--dir", path("nowhere")}, {"nowhere"}));
        QCOMPARE(Run({"init", path("broken"), "--password", "x"}).code, 0);
        rows(db("broken"), QStringLiteral("DROP TABLE Presence"));
        QVERIFY(Fails({"backup-month", path("e.xml"), "--dir", path("broken")},
                      {"no such table: Presence"}));
        QVERIFY(!QFileInfo::exists(path("e.xml")));
    }
};

QTEST_GUILESS_MAIN(tst_admin)
#include "tst_admin.moc"
