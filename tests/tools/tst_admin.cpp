// attendance-admin run as a separate process, the way scripts use it.
#include "PasswordModule.h"
#include "RowSetXml.h"
#include "clsConfiguration.h"
#include "clsDbConn.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Rows of a query on a database file, each row's values joined by '|',
// binaries as their SHA-256 (equal hashes: equal bytes).
QStringList rows(const QString& dbFile, const QString& sql) {
    static int serial = 0;
    const QString name = QStringLiteral("tst_admin_%1").arg(++serial);
    QStringList result;
    {
        QSqlDatabase db = clsDbConn::OpenFile(dbFile, name);
        if (!db.isValid())
            return {QStringLiteral("<cannot open %1>").arg(dbFile)};
        QSqlQuery q(db);
        if (!q.exec(sql))
            return {QStringLiteral("<query failed>")};
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant v = q.value(i);
                values << (v.typeId() == QMetaType::QByteArray
                               ? QString::fromLatin1(
                                     QCryptographicHash::hash(v.toByteArray(),
                                                              QCryptographicHash::Sha256)
                                         .toHex())
                           : v.isNull() ? QStringLiteral("NULL")
                                        : v.toString());
            }
            result << values.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

int count(const QString& dbFile, const QString& sql) {
    const QStringList r = rows(dbFile, sql);
    return r.size() == 1 ? r[0].toInt() : -1;
}

const QString kEmployeeColumns =
    QStringLiteral("SELECT ENUMBER, EBARCODE, ENAME, DID, ENTERDATE, HEADIMG FROM Employee "
                   "ORDER BY ENUMBER");

} // namespace

class tst_admin : public QObject {
    Q_OBJECT

private:
    Result run(const QStringList& args) {
        QProcess p;
        p.start(m_tool, args);
        Result r;
        if (!p.waitForFinished(300000)) {
            p.kill();
            p.waitForFinished();
            r.err = QStringLiteral("timed out");
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    QString path(const QString& name) const { return m_root.filePath(name); }
    QString db(const QString& dir) const { return path(dir + QStringLiteral("/vorerur.dat")); }

    QTemporaryDir m_root;
    QString m_tool;
    QString m_demo; // program directory with demo data, made once

private slots:
    void initTestCase() {
        m_tool = QCoreApplication::applicationDirPath() + QStringLiteral("/attendance-admin");
        QVERIFY2(QFileInfo(m_tool).isExecutable(), qPrintable(m_tool));
        QVERIFY(m_root.isValid());
        m_demo = path("demo");
        const Result r = run({"init", m_demo, "--demo"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
    }

    void helpAndUsage() {
        Result r = run({"--help"});
        QCOMPARE(r.code, 0);
        for (const char* cmd :
             {"init", "export-employees", "export-departments", "import-employees",
              "import-departments", "backup-month", "export-month", "dump"})
            QVERIFY2(r.out.contains(QLatin1String(cmd)), cmd);
        QVERIFY(run({"export-month", "--help"}).out.contains(QStringLiteral("YEAR MONTH FILE")));
        // Usage errors: exit code 2, nothing done.
        QCOMPARE(run({}).code, 2);
        r = run({"frobnicate"});
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("unknown command")));
        QCOMPARE(run({"dump"}).code, 2);
        QCOMPARE(run({"init", path("x"), "--bogus"}).code, 2);
        QVERIFY(!QFileInfo::exists(path("x")));
    }

    void initWritesConfigurationAndSchema() {
        const QString dir = path("plain");
        const QString data = path("plain-data");
        const Result r = run(
            {"init", dir, "--data", data, "--password", "pass word", "--unit", "  第一实验小学 "});
        QVERIFY2(r.code == 0, qPrintable(r.err));

        clsConfiguration config;
        config.setFileName(dir + QStringLiteral("/attendance.ini"));
        config.setGroup(QStringLiteral("DATA"));
        QCOMPARE(config.GetItem(QStringLiteral("PATH")), QDir(data).absolutePath());
        config.setGroup(QStringLiteral("OTHER"));
        QCOMPARE(config.GetItem(QStringLiteral("ALP")),
                 EncodePassword(QStringLiteral("pass word")));
        config.setGroup(QStringLiteral("UNIT"));
        QCOMPARE(config.GetItem(QStringLiteral("UNITNAME")), QStringLiteral("第一实验小学"));

        const QString file = data + QStringLiteral("/vorerur.dat");
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Employee")), 0);
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Dept")), 0);
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Presence")), 0);
    }

    void initRefusesAndChangesNothing() {
        // Over the demo database: neither the file nor the configuration changes.
        const QByteArray ini = readAll(m_demo + QStringLiteral("/attendance.ini"));
        const QByteArray data = readAll(db("demo"));
        QVERIFY(!data.isEmpty());
        Result r = run({"init", m_demo, "--password", "other", "--unit", "别的", "--demo"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("exists")), qPrintable(r.err));
        QCOMPARE(readAll(m_demo + QStringLiteral("/attendance.ini")), ini);
        QCOMPARE(readAll(db("demo")), data);

        // A new program directory sharing that database's folder is refused too.
        const QString other = path("other");
        r = run({"init", other, "--data", m_demo});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFileInfo::exists(other + QStringLiteral("/attendance.ini")));

        // A program directory whose configuration names another existing
        // database is not pointed at a new, empty one.
        QDir().mkpath(other);
        writeFile(other + QStringLiteral("/attendance.ini"),
                  QByteArray("[DATA]\r\nPATH=") + QFile::encodeName(m_demo) + "\r\n");
        r = run({"init", other});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFileInfo::exists(other + QStringLiteral("/vorerur.dat")));

        // A password the station's login could never accept.
        const QString blanks = path("blanks");
        r = run(
            {QStringLiteral("init"), blanks, QStringLiteral("--password"), QStringLiteral(" x ")});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFileInfo::exists(blanks + QStringLiteral("/vorerur.dat")));
        QVERIFY(!QFileInfo::exists(blanks + QStringLiteral("/attendance.ini")));
    }

    void demoDatabase() {
        const QString file = db("demo");
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Dept")), 4);
        // Every employee is in a department, so every card can sign in.
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Employee, Dept "
                                            "WHERE Employee.DID = Dept.ID")),
                 20);
        const QStringList barcodes = rows(file, QStringLiteral("SELECT EBARCODE FROM Employee"));
        QCOMPARE(QSet<QString>(barcodes.begin(), barcodes.end()).size(), 20);
        for (const QString& b : barcodes)
            QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]{15}$")).match(b).hasMatch(),
                     qPrintable(b));
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Employee WHERE "
                                            "hex(substr(HEADIMG, 1, 3)) = 'FFD8FF' AND "
                                            "length(HEADIMG) > 2000")),
                 20);

        // Presence lies in the past, of known employees only.
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME > '%1'")
                                 .arg(QDateTime::currentDateTime().toString(
                                     QStringLiteral("yyyy-MM-dd HH:mm:ss")))),
                 0);
        QCOMPARE(count(file, QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENUMBER NOT IN "
                                            "(SELECT ENUMBER FROM Employee)")),
                 0);

        // The demo cards are the same on every run; the README names the first three.
        const QStringList firstCards =
            rows(file, QStringLiteral("SELECT EBARCODE FROM Employee WHERE ENUMBER IN "
                                      "('1001', '1002', '1003') ORDER BY ENUMBER"));
        QCOMPARE(firstCards.size(), 3);
        const QByteArray readme = readAll(QStringLiteral(ATTENDANCE_SOURCE_DIR "/README.md"));
        const QByteArray runScript = readAll(QStringLiteral(ATTENDANCE_SOURCE_DIR "/run.sh"));
        for (const QString& card : firstCards) {
            QVERIFY2(readme.contains(card.toLatin1()), qPrintable(card));
            QVERIFY2(runScript.contains(card.toLatin1()), qPrintable(card));
        }
        QCOMPARE(run({"init", path("demo-again"), "--demo"}).code, 0);
        const QString employees = QStringLiteral(
            "SELECT ENUMBER, EBARCODE, ENAME, HEADIMG FROM Employee ORDER BY ENUMBER");
        QCOMPARE(rows(db("demo-again"), employees), rows(file, employees));
    }

    void employeesRoundTripByteForByte() {
        const QString target = path("target");
        QCOMPARE(run({"init", target, "--password", "x"}).code, 0);
        const QString depts = path("depts.xml");
        const QString emps = path("emps.xml");
        const QString dir = QStringLiteral("--dir");
        Result r = run({"export-departments", depts, dir, m_demo});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        r = run({"export-employees", emps, dir, m_demo});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        r = run({"import-departments", depts, dir, target});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        r = run({"import-employees", emps, dir, target});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("20")));

        const QStringList source = rows(db("demo"), kEmployeeColumns);
        QCOMPARE(source.size(), 20);
        QCOMPARE(rows(db("target"), kEmployeeColumns), source);
        QCOMPARE(rows(db("target"), QStringLiteral("SELECT ID, DNAME FROM Dept ORDER BY ID")),
                 rows(db("demo"), QStringLiteral("SELECT ID, DNAME FROM Dept ORDER BY ID")));

        // Without the departments the employees could not sign in: said, not refused.
        const QString bare = path("bare");
        QCOMPARE(run({"init", bare, "--password", "x"}).code, 0);
        r = run({"import-employees", emps, dir, bare});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.err.contains(QStringLiteral("warning")), qPrintable(r.err));
        QCOMPARE(rows(db("bare"), kEmployeeColumns), source);

        // A second import overwrites by number and adds nobody.
        r = run({"import-employees", emps, dir, target});
        QCOMPARE(r.code, 0);
        QCOMPARE(rows(db("target"), kEmployeeColumns), source);
    }

    void exportChosenEmployees() {
        const QString file = path("two.xml");
        Result r = run({"export-employees", file, "1005", "1002", "--dir", m_demo});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        RowSet rs;
        QVERIFY(RowSetXml::Load(file, &rs));
        QCOMPARE(rs.rows.size(), 2);
        QStringList numbers{rs.value(0, QStringLiteral("ENUMBER")).toString(),
                            rs.value(1, QStringLiteral("ENUMBER")).toString()};
        numbers.sort();
        QCOMPARE(numbers, QStringList({QStringLiteral("1002"), QStringLiteral("1005")}));

        // An unknown number writes no file at all.
        const QString none = path("none.xml");
        r = run({"export-employees", none, "1002", "9999", "--dir", m_demo});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("9999")));
        QVERIFY(!QFileInfo::exists(none));
    }

    void exportsNeverOverwrite() {
        const QString file = path("taken.xml");
        writeFile(file, "keep me");
        for (const QStringList& args :
             {QStringList{QStringLiteral("export-departments"), file},
              QStringList{QStringLiteral("export-employees"), file},
              QStringList{QStringLiteral("backup-month"), file},
              QStringList{QStringLiteral("export-month"), QStringLiteral("2026"),
                          QStringLiteral("1"), file}}) {
            const Result r = run(args + QStringList{QStringLiteral("--dir"), m_demo});
            QVERIFY2(r.code == 1, qPrintable(args[0]));
            QVERIFY(!r.err.isEmpty());
            QCOMPARE(readAll(file), QByteArray("keep me"));
        }
    }

    void monthFiles() {
        const QDate today = QDate::currentDate();
        const QDate first = QDate(today.year(), today.month(), 1).addMonths(-1);
        const QString month = path("month.xml");
        Result r = run({"export-month", QString::number(first.year()),
                        QString::number(first.month()), month, "--dir", m_demo});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        RowSet rs;
        QVERIFY(RowSetXml::Load(month, &rs));
        const auto dayText = [](const QDate& d) {
            return d.toString(QStringLiteral("yyyy-MM-dd"));
        };
        QCOMPARE(rs.rows.size(),
                 count(db("demo"),
                       QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME >= '%1' AND "
                                      "ENTERTIME < '%2'")
                           .arg(dayText(first), dayText(first.addMonths(1)))));
        QVERIFY(rs.rows.size() > 0);

        const QString backup = path("backup.xml");
        r = run({"backup-month", backup, "--dir", m_demo});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        RowSet current;
        QVERIFY(RowSetXml::Load(backup, &current));
        QCOMPARE(current.rows.size(),
                 count(db("demo"),
                       QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME >= '%1'")
                           .arg(dayText(first.addMonths(1)))));

        for (const QStringList& bad : {QStringList{QStringLiteral("2026"), QStringLiteral("13")},
                                       QStringList{QStringLiteral("twenty"), QStringLiteral("1")},
                                       QStringList{QStringLiteral("2026"), QStringLiteral("0")}}) {
            const QString file = path("bad-month.xml");
            r = run(QStringList{QStringLiteral("export-month")} + bad +
                    QStringList{file, QStringLiteral("--dir"), m_demo});
            QCOMPARE(r.code, 1);
            QVERIFY(!r.err.isEmpty());
            QVERIFY(!QFileInfo::exists(file));
        }
    }

    void dumpPrintsColumnsThenRows() {
        const QString file = path("one.xml");
        QCOMPARE(run({"export-employees", file, "1003", "--dir", m_demo}).code, 0);
        const Result r = run({"dump", file});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QByteArray photo = QByteArray::fromHex(
            rows(db("demo"),
                 QStringLiteral("SELECT hex(HEADIMG) FROM Employee WHERE ENUMBER = '1003'"))
                .value(0)
                .toLatin1());
        QVERIFY(!photo.isEmpty());
        const QString expected =
            QStringLiteral("%1 bytes sha256:%2")
                .arg(photo.size())
                .arg(QString::fromLatin1(
                    QCryptographicHash::hash(photo, QCryptographicHash::Sha256).toHex()));
        QVERIFY2(r.out.contains(expected), qPrintable(r.out));
        const int columns = r.out.indexOf(QStringLiteral("columns (7)"));
        const int rowsAt = r.out.indexOf(QStringLiteral("rows (1)"));
        QVERIFY(columns >= 0 && rowsAt > columns);
        for (const char* column :
             {"ID", "DID", "ENUMBER", "EBARCODE", "ENAME", "HEADIMG", "ENTERDATE"})
            QVERIFY2(r.out.indexOf(QLatin1String(column)) > columns, column);
        QVERIFY(r.out.contains(QStringLiteral("李娜")));
    }

    void badInputFails() {
        // Unreadable files.
        const QString garbage = path("garbage.xml");
        writeFile(garbage, "<xml><this is not a row set");
        Result r = run({"dump", garbage});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("garbage.xml")));
        r = run({"dump", path("missing.xml")});
        QCOMPARE(r.code, 1);
        QVERIFY(!r.err.isEmpty());

        const QStringList before = rows(db("demo"), kEmployeeColumns);
        const QStringList departments =
            rows(db("demo"), QStringLiteral("SELECT ID, DNAME FROM Dept"));
        r = run({"import-employees", garbage, "--dir", m_demo});
        QCOMPARE(r.code, 1);
        QVERIFY(!r.err.isEmpty());
        r = run({"import-departments", garbage, "--dir", m_demo});
        QCOMPARE(r.code, 1);
        QCOMPARE(rows(db("demo"), kEmployeeColumns), before);
        QCOMPARE(rows(db("demo"), QStringLiteral("SELECT ID, DNAME FROM Dept")), departments);

        // A program directory without a database, and one that does not exist.
        const QString empty = path("empty");
        QDir().mkpath(empty);
        r = run({"export-departments", path("e.xml"), "--dir", empty});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("PATH")), qPrintable(r.err));
        r = run({"backup-month", path("e.xml"), "--dir", path("nowhere")});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("nowhere")));
        QVERIFY(!QFileInfo::exists(path("e.xml")));
    }
};

QTEST_GUILESS_MAIN(tst_admin)
#include "tst_admin.moc"
