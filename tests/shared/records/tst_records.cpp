// Department, employee and presence records on a real database file.
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbSettings.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsDept.h"
#include "shared/records/clsDeptSet.h"
#include "shared/records/clsEmployee.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "shared/records/clsEmployeeSet.h"
#include "shared/records/clsPresence.h"
#include "shared/records/clsPresenceSet.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"
#include "tests/shared/records/helpers/DayCases.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>

namespace {

// A second program, run as a child process of this program: opens the
// database of `dir`, says "ready", waits for a line on its input, then scans
// the cards "1" to "<mode>" at 08:00 and all of them again at 17:00 and
// prints the number of failed scans; with "remove" or "add" removes
// department 1 or stores employee "R1" of department 1 and prints the result.
int runStation(const QString& dir, const QByteArray& mode) {
    const int cards = mode.toInt();
    SetProgramDirectory(dir);
    const QDate day(2026, 3, 10);
    AppClock::setFixed(QDateTime(day, QTime(8, 0)));
    if (!clsDbConn().GetDbConn().isOpen())
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 1;
    DbSession session = DbSession::OpenConfigured();
    if (mode == "remove") {
        std::printf("%d\n", int(clsDept::RemoveEmpty(session, 1)));
        return 0;
    }
    if (mode == "add") {
        clsEmployee e(session);
        for (auto set :
             {&clsEmployee::setENUMBER, &clsEmployee::setEBARCODE, &clsEmployee::setENAME})
            (e.*set)(QStringLiteral("R1"));
        e.setdid(1);
        e.setHeadImg(dir + QStringLiteral("/r1.jpg"));
        std::printf("%d\n", int(e.Store(false)));
        return 0;
    }
    clsPresence p;
    int failed = 0;
    for (const QTime at : {QTime(8, 0), QTime(17, 0)}) {
        AppClock::setFixed(QDateTime(day, at));
        for (int card = 1; card <= cards; ++card) {
            p.setENUMBER(QString::number(card));
            failed += p.Add(session) < 0;
        }
    }
    std::printf("%d\n", failed);
    return 0;
}

QDateTime iso(const char* when) {
    return QDateTime::fromString(QLatin1String(when), Qt::ISODate);
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

    bool addEmployee(const QString& number, const QString& barcode, qint16 did, int seed = 1,
                     const QString& name = QStringLiteral("n"), bool dated = true) {
        return store(number, barcode, did, false, seed, name, dated) ==
               clsEmployee::StoreResult::Stored;
    }
    clsEmployee::StoreResult store(const QString& number, const QString& barcode, qint16 did,
                                   bool newNumber, int seed = 1,
                                   const QString& name = QStringLiteral("n"), bool dated = true) {
        clsEmployee e(fx->session());
        e.setENUMBER(number);
        e.setEBARCODE(barcode);
        e.setENAME(name);
        e.setdid(did);
        if (dated)
            e.setENTERDATE(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
        e.setHeadImg(
            fx->writeFile(QStringLiteral("new-%1.jpg").arg(seed), TestProgramDir::jpeg(seed)));
        return e.Store(newNumber);
    }

    qint16 scan(const QString& number, const QDateTime& when) {
        AppClock::setFixed(when);
        clsPresence p;
        p.setENUMBER(number);
        return p.Add(fx->session());
    }
    // A scan replayed from a station's journal under `scanId`.
    qint16 replay(const QString& number, const char* when, const QString& scanId) {
        clsPresence p;
        p.setENUMBER(number);
        return p.Add(fx->session(), iso(when), scanId);
    }

    // The server's connection failures: each says its cause and the server.
    void serverConnection() {
        const auto ini = [this](const char* key, const QString& value) {
            return fx->setIni("ATTENDANCE", QLatin1String(key), value);
        };
        const auto failure = [&ini](const char* key, const QString& value) {
            clsDbConn::CloseShared();
            if (!ini(key, value))
                return QStringLiteral("<not written>");
            clsDbConn conn;
            return conn.TestConn() ? QStringLiteral("<opened>") : conn.OpenError().Text();
        };
        const DbSettings good = DbSettings::FromConfiguration();
        const QString refused = failure("DBLOGINPWD", "wrong");
        QVERIFY2(refused.startsWith("the database server refused the login"), qPrintable(refused));
        QVERIFY(ini("DBLOGINPWD", good.password));
        QVERIFY(failure("DBNAME", "nosuchdb").startsWith("the database does not exist"));
        // A port where nothing listens: refused at once, not after a long wait;
        // a port out of range and an IPv6 address as written.
        for (const auto& [server, says] :
             std::initializer_list<std::pair<const char*, const char*>>{
                 {"127.0.0.1:1", "127.0.0.1:1"},
                 {"[::1]:1", "server [::1]:1,"},
                 {"h:99999", "the port 99999 is out of range (1 to 65535) (server h:99999,"}})
            QVERIFY2(failure("DBSERVER", QLatin1String(server)).contains(QLatin1String(says)),
                     server);
        // Back to the right settings; a database without the tables is refused.
        QVERIFY(ini("DBSERVER", good.server) && ini("DBNAME", good.database));
        // A login without rights on the tables connects, and is told which
        // table it may not use.
        QSqlDatabase admin = fx->server()->connect("admin");
        QSqlQuery q(admin);
        QVERIFY(q.exec("DROP ROLE IF EXISTS station_norights") &&
                q.exec("CREATE ROLE station_norights LOGIN PASSWORD 'x'"));
        QVERIFY(ini("DBLOGINNAME", "station_norights"));
        QCOMPARE(failure("DBLOGINPWD", "x"), QStringLiteral("<opened>"));
        Error why;
        QVERIFY(!clsDbConn::MayWriteTables(clsDbConn().GetDbConn(), &why));
        QCOMPARE(why.Text(), QStringLiteral("the login may not read and write table Dept"));
        QVERIFY(!DbQuery::Read("SELECT * FROM Presence", {}, &why));
        QVERIFY2(why.Text().endsWith("(table presence)"), qPrintable(why.Text()));
        clsDbConn::CloseShared();
        QVERIFY(q.exec("DROP ROLE station_norights"));
        QVERIFY(ini("DBLOGINNAME", good.user) && ini("DBLOGINPWD", good.password));
        QVERIFY(fx->exec("DROP TABLE Presence"));
        QVERIFY(failure("DBNAME", good.database).contains("lacks the tables Presence"));
        QCOMPARE(scan("1", iso("2026-03-10T08:00:00")), qint16(-1));
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(QString()), qPrintable(fx->lastError));
    }
    void cleanup() { fx.reset(); }

    // The server's sign-in function decides the days of the table that
    // PresenceDay is held to (helpers/DayCases.h) as PresenceDay does, and
    // closes the same first record (its write rolled back); a day holding
    // an arrival of another text form it leaves to the program (0).
    void serverSignInAgreesWithTheRule() {
        if (!TestProgramDir::OnServer())
            QSKIP("the function lives on the server");
        QSqlDatabase db = clsDbConn().GetDbConn();
        auto present = DbQuery::Read(
            db, DbDialect::SignInFunctionStateStatement(DbDialect::Engine::PostgreSQL), {});
        QVERIFY(present && present->next());
        if (!present->value(0).toBool())
            QSKIP("this database has no sign-in function");
        present = {};
        QSqlQuery q(db);
        for (const DayCase& c : kDayCases) {
            const QDateTime now = DbDateTime::FromText(QLatin1String(c.now));
            bool storedForm = true;
            QVERIFY(q.exec("DELETE FROM Presence"));
            for (const DayCase::Stored& r : c.records) {
                const QString in = QLatin1String(r.in);
                const bool ofTheDay =
                    in >= DbDateTime::DayStart(now.date()) && in < DbDateTime::DayEnd(now.date());
                storedForm =
                    storedForm && (!ofTheDay || DbDateTime::ToText(DbDateTime::FromText(in)) == in);
                QVERIFY(fx->exec(
                    "INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) VALUES('A1', ?, ?)",
                    {in, r.out ? QVariant(QLatin1String(r.out))
                               : QVariant(QMetaType::fromType<QString>())}));
            }
            QVERIFY(q.exec("BEGIN"));
            QVERIFY(q.prepare(DbDialect::SignInCallStatement(DbDialect::Engine::PostgreSQL)));
            for (const QVariant& v :
                 QVariantList{"A1", QLatin1String(c.now), DbDateTime::DayStart(now.date()),
                              DbDateTime::DayEnd(now.date()),
                              DbDateTime::ToText(now.addSecs(-clsPresence::RepeatSeconds))})
                q.addBindValue(v);
            QVERIFY2(q.exec() && q.next(), c.name);
            const int server = q.value(0).toInt();
            QString closed;
            if (server == clsPresence::Departure) {
                QVERIFY(q.prepare("SELECT ENTERTIME FROM Presence WHERE EXITTIME = ?"));
                q.addBindValue(QLatin1String(c.now));
                QVERIFY(q.exec() && q.next());
                closed = q.value(0).toString();
            }
            QVERIFY(q.exec("ROLLBACK"));
            QVERIFY2(server == (storedForm ? c.state : 0),
                     qPrintable(QStringLiteral("%1: server %2").arg(c.name).arg(server)));
            if (server == clsPresence::Departure)
                QCOMPARE(closed, QLatin1String(c.records[c.first].in));
        }
    }

    void storedDateTimes() {
        const QDate day(2026, 3, 10);
        const QDateTime t(day, QTime(8, 3, 7));
        QCOMPARE(DbDateTime::ToText(t), QStringLiteral("2026-03-10 08:03:07"));
        // The text forms SQLite's date functions read, and a one-digit hour.
        const std::pair<const char*, QDateTime> forms[] = {
            {"2026-03-10 08:03:07", t},
            {"2026-03-10T08:03:07", t},
            {"2026-03-10 8:03:07", t},
            {" 2026-03-10 08:03:07Z ", t},
            {"2026-03-10T08:03:07.250", QDateTime(day, QTime(8, 3, 7, 250))},
            {"2026-03-10 08:03:07.5", QDateTime(day, QTime(8, 3, 7, 500))},
            {"2026-03-10 08:03", QDateTime(day, QTime(8, 3))},
            {"2026-03-10", QDateTime(day, QTime(0, 0))},
            {"08:03:07", QDateTime(QDate(2000, 1, 1), QTime(8, 3, 7))}};
        for (const auto& [text, expected] : forms) {
            QVERIFY2(DbDateTime::FromText(QLatin1String(text)) == expected, text);
            // Every form of a day lies within that day's bounds on the text.
            const QString s = QLatin1String(text).trimmed();
            QVERIFY2(expected.date() != day ||
                         (s >= DbDateTime::DayStart(day) && s < DbDateTime::DayEnd(day)),
                     text);
        }
        for (const char* bad :
             {"2026-02-30 08:00:00", "2026-03-10 24:00:00", "2026-03-1x 08:00:00", "", "garbage",
              "2026-03-10 08", "2026-03-10 08:03:07.", "2026-03-10X08:03", "2026-03-10 08:03:7"})
            QVERIFY2(!DbDateTime::FromText(QString::fromLatin1(bad)).isValid(), bad);
        QCOMPARE(DbDateTime::DayEnd(QDate(2026, 12, 31)), QStringLiteral("2027-01-01"));
    }

    void timesWrittenByOtherTools() {
        QVERIFY(fx->addDept(1, "D"));
        QVERIFY(fx->addEmployee("7", "甲", "7", 1));
        QVERIFY(fx->addEmployee("8", "乙", "8", 1));
        QVERIFY(fx->exec("INSERT INTO Presence VALUES('7', '2026-03-10 8:00:00', NULL), "
                         "('7', '2026-03-11T08:00:00.000', NULL), "
                         "('8', '2026-03-01', NULL), "
                         "('8', '2026-03-12 10:00:00', NULL), "
                         "('8', '2026-03-12 9:59:30', '2026-03-12 11:00:00')"));

        AppClock::setFixed(iso("2026-03-10T12:00:00"));
        clsPresenceSet today;
        QVERIFY(today.LoadToday(fx->session()));
        QCOMPARE(today.Count(), 1);
        QCOMPARE(today.Item(1).enterTime(), iso("2026-03-10T08:00:00"));
        // Such an arrival is a departure due, not a system error.
        QCOMPARE(scan("7", iso("2026-03-10T17:00:00")), qint16(2));
        QCOMPARE(scan("7", iso("2026-03-11T17:00:00")), qint16(2));
        QCOMPARE(fx->rows("Presence WHERE EXITTIME IS NULL"), 2);
        // The day's first record by time (9:59, departed) decides, not text order.
        QCOMPARE(scan("8", iso("2026-03-12T10:00:20")), qint16(3));

        // A date alone belongs to its own day and month, not the one before.
        clsEmployeePresenceSet march, february;
        QVERIFY(march.LoadByDate(fx->session(), iso("2026-03-01"), iso("2026-03-31")));
        QVERIFY(february.LoadByDate(fx->session(), iso("2026-02-01"), iso("2026-02-28")));
        QCOMPARE(march.Item("8").GetEnterTime(iso("2026-03-01T12:00:00")), iso("2026-03-01"));
        QCOMPARE(february.Count(), 0);
    }

    void numbersAndBarcodesIgnoreCase() {
        // A database of this version, and one made before the columns
        // compared without case (default collation, its own indexes).
        for (const bool old : {false, true}) {
            if (old && TestProgramDir::OnServer())
                break; // older databases are files
            if (old) {
                clsDbConn::CloseShared();
                fx->session().Close();
                QFile::remove(fx->dbPath);
                const ScopedConnection name("old");
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name.name());
                db.setDatabaseName(fx->dbPath);
                QVERIFY(db.open());
                for (const char* sql :
                     {"CREATE TABLE Dept(ID INTEGER PRIMARY KEY AUTOINCREMENT, DNAME TEXT, "
                      "PASSWORD TEXT)",
                      "CREATE TABLE Employee(ID INTEGER PRIMARY KEY AUTOINCREMENT, DID INTEGER, "
                      "ENUMBER TEXT, EBARCODE TEXT, ENAME TEXT, HEADIMG BLOB, ENTERDATE TEXT)",
                      "CREATE TABLE Presence(ENUMBER TEXT, ENTERTIME TEXT, EXITTIME TEXT)",
                      "CREATE INDEX IX_Employee_EBARCODE ON Employee(EBARCODE)",
                      "CREATE INDEX IX_Employee_ENUMBER ON Employee(ENUMBER)"})
                    QVERIFY(QSqlQuery(db).exec(QLatin1String(sql)));
            }
            QVERIFY(fx->addDept(1, "D"));
            QVERIFY(fx->addEmployee("a100", "n", "abc9", 1));
            clsEmployee scanned(fx->session());
            scanned.setEBARCODE("abc9"); // the card reader's letters, upper-cased
            QCOMPARE(scanned.IsExist(), clsEmployee::Lookup::Found);
            QCOMPARE(scanned.ENUMBER(), QStringLiteral("a100"));
            // Only A-Z fold: full-width letters, invisible and control
            // characters make another code.
            for (const char16_t* other : {u"ＡＢＣ９", u"abc9\u200b",
                                          u"\x1b"
                                          u"abc9"}) {
                clsEmployee none(fx->session());
                none.setEBARCODE(QString::fromUtf16(other));
                QCOMPARE(none.IsExist(), clsEmployee::Lookup::NotFound);
            }
            clsEmployee byNumber(fx->session());
            byNumber.setENUMBER("A100");
            QCOMPARE(byNumber.LoadByENUMBER(), clsEmployee::Lookup::Found);
            // Storing A100 overwrites a100, keeping its spelling.
            QVERIFY(addEmployee("A100", "xyz", 1));
            QCOMPARE(fx->rows("Employee WHERE ENUMBER = 'a100' AND EBARCODE = 'XYZ'"), 1);
            QCOMPARE(fx->rows("Employee"), 1);
            // The sign-in look-up searches an index (on the server even
            // when reading the few rows whole would be cheaper).
            const bool server = TestProgramDir::OnServer();
            QSqlQuery plan(clsDbConn().GetDbConn());
            QVERIFY(!server || plan.exec("SET enable_seqscan = off"));
            QVERIFY(plan.exec(
                QStringLiteral("EXPLAIN %1 SELECT Employee.ID, Employee.HEADIMG, Dept.DNAME FROM "
                               "Employee, Dept WHERE Employee.DID = Dept.ID AND %2")
                    .arg(server ? QString() : QStringLiteral("QUERY PLAN"),
                         DbDialect::NoCaseEquals(clsDbConn::SharedEngine(), "Employee.EBARCODE",
                                                 "'XYZ'"))));
            QString steps;
            while (plan.next())
                steps += plan.value(server ? 0 : 3).toString() + QLatin1Char('\n');
            QVERIFY2(
                steps.contains(QRegularExpression(
                    server ? QStringLiteral("Index Scan (using|on) ix_employee_ebarcode_nocase")
                           : QStringLiteral("SEARCH Employee USING INDEX "
                                            "IX_Employee_EBARCODE\\S* \\(EBARCODE=\\?\\)"))),
                qPrintable(steps));
            // A day's records take their names from an index, not the photos' rows.
            QVERIFY(server ||
                    (plan.exec("EXPLAIN QUERY PLAN SELECT Employee.ENAME FROM Presence, Employee "
                               "WHERE Employee.ENUMBER = Presence.ENUMBER COLLATE NOCASE") &&
                     plan.last() && plan.value(3).toString().contains("COVERING INDEX")));
        }
    }

    void employeesWithoutEntryDate() {
        QVERIFY(fx->addDept(1, "D"));
        QVERIFY(addEmployee("1", "1", 1, 1, "n", false));
        QCOMPARE(fx->rows("Employee WHERE ENTERDATE = '1899-12-30 00:00:00'"), 1);
        // A row written elsewhere without a date reads as the zero date.
        QVERIFY(fx->exec("UPDATE Employee SET ENTERDATE = NULL"));
        clsEmployee loaded(fx->session());
        loaded.setEBARCODE("1");
        QCOMPARE(loaded.IsExist(), clsEmployee::Lookup::Found);
        QCOMPARE(loaded.ENTERDATE(), DbDateTime::Zero());
        clsEmployeeSet set(fx->session());
        QVERIFY(set.LoadSet());
        QCOMPARE(set.Item(1).ENTERDATE(), DbDateTime::Zero());
    }

    void readFailingPartWay() {
        // Presence as a view whose second row fails to compute: a failure,
        // not a shorter list.
        QVERIFY(fx->addDept(1, "D"));
        QVERIFY(fx->addEmployee("1", "n", "1", 1));
        for (const char* in : {"2026-03-10T08:00:00", "2026-03-10T09:00:00", "2026-03-10T10:00:00"})
            QVERIFY(fx->addPresence("1", iso(in)));
        QVERIFY(fx->exec("ALTER TABLE Presence RENAME TO P"));
        const bool server = TestProgramDir::OnServer();
        QVERIFY(fx->exec(
            server ? QStringLiteral("CREATE VIEW Presence AS SELECT ENUMBER, ENTERTIME, CASE WHEN "
                                    "ENTERTIME LIKE '%09:00:00' THEN (1 / 0)::text ELSE EXITTIME "
                                    "END AS EXITTIME FROM P")
                   : QStringLiteral("CREATE VIEW Presence AS SELECT ENUMBER, ENTERTIME, CASE WHEN "
                                    "rowid = 2 THEN abs(-9223372036854775807 - (rowid - 1)) ELSE "
                                    "EXITTIME END AS EXITTIME FROM P")));
        AppClock::setFixed(iso("2026-03-10T12:00:00"));
        clsPresenceSet today;
        QVERIFY(!today.LoadToday(fx->session()));
    }

    void connection() {
        {
            QSqlDatabase a = clsDbConn().GetDbConn();
            QVERIFY(a.isOpen());
            a.close();
        }
        QVERIFY(clsDbConn().GetDbConn().isOpen()); // reopened after a close
        if (TestProgramDir::OnServer()) {
            serverConnection();
            return;
        }
        QVERIFY(!DbCreator::Create(fx->dbPath)); // never over an existing file
        QCOMPARE(QFileInfo(fx->dbPath).permissions() & (QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());

        // The programs never create the database file themselves, nor open a non-database.
        clsDbConn::CloseShared();
        QFile::remove(fx->dbPath);
        QVERIFY(!clsDbConn().GetDbConn().isValid());
        QVERIFY(!clsDbConn().TestConn());
        QVERIFY(!QFileInfo::exists(fx->dbPath));
        fx->writeFile("vorerur.dat", "not a database at all, just text");
        QVERIFY(!clsDbConn().TestConn());
        // Without a database the records give their error results.
        QCOMPARE(scan("1", iso("2026-03-10T08:00:00")), qint16(-1));
        clsEmployee e(fx->session());
        e.setEBARCODE("1");
        QCOMPARE(e.IsExist(), clsEmployee::Lookup::Failed);
        QVERIFY(!clsEmployeePresenceSet().LoadByDate(fx->session(), iso("2026-01-01"),
                                                     iso("2026-01-31")));
    }

    void departments() {
        clsDept fresh(fx->session());
        QVERIFY(!fresh.LoadByID());   // ID 0
        QVERIFY(!fresh.LoadByName()); // empty name
        const QString quoted = QStringLiteral("O'Brien's \"team\"");
        for (const QString& name : {QStringLiteral("办公室"), quoted, QStringLiteral("新")}) {
            clsDept d(fx->session());
            d.setDNAME(name);
            QVERIFY(d.AppendToDb());
        }
        clsDept dup(fx->session());
        dup.setDNAME("办公室");
        QCOMPARE(dup.ID(), qint16(1));
        QVERIFY(!dup.AppendToDb()); // same name never inserted twice
        dup.setDNAME("总务处");
        QVERIFY(dup.UpdateToDb());
        QVERIFY(addEmployee("E1", "123", 1));
        using R = clsDept::RemoveResult;
        QCOMPARE(clsDept::RemoveEmpty(fx->session(), 1), R::HasEmployees);
        QCOMPARE(clsDept::RemoveEmpty(fx->session(), 9), R::NotFound);

        clsDept check(fx->session());
        check.setID(1);
        QCOMPARE(check.DNAME(), QStringLiteral("总务处"));
        clsDeptSet set(fx->session());
        QCOMPARE(set.Count(), 3);
        QCOMPARE(set.Item(" 1").EMPLOYEENUM(), qint16(1));
        QCOMPARE(set.Item(" 2").EMPLOYEENUM(), qint16(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, set.Item(4));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, set.Item("nope"));
        set.Remove(1);
        QStringList names;
        for (const clsDept& d : set)
            names << d.DNAME();
        QCOMPARE(names, QStringList({quoted, QStringLiteral("新")}));

        for (const char* bad : {"", "9999", "1; DROP TABLE Dept"})
            QVERIFY2(!check.Remove(QLatin1String(bad)), bad);
        QCOMPARE(clsDept::RemoveEmpty(fx->session(), 3), R::Removed);
        QVERIFY(check.RemoveMe());
        QCOMPARE(fx->rows("Employee"), 1); // employees stay
    }

    void employees() {
        const qint16 dept = 1;
        QVERIFY(fx->addDept(dept, "教务处"));
        clsEmployee e(fx->session());
        e.setEBARCODE("  abc123  ");
        QCOMPARE(e.EBARCODE(), QStringLiteral("ABC123"));
        // Every field is needed: department, photo, a readable photo.
        QVERIFY(!addEmployee("2001", "X", 0));
        e.setENUMBER("1");
        e.setdid(dept);
        QVERIFY(!e.Add());
        e.setHeadImg(fx->file("missing.jpg"));
        QVERIFY(!e.Add());
        QCOMPARE(fx->rows("Employee"), 0);

        QVERIFY(addEmployee("2001", "abc123", dept, 1));
        QVERIFY(addEmployee("O'Neil", "777", dept, 2));
        clsEmployee scan(fx->session());
        scan.setEBARCODE("abc123");
        QCOMPARE(scan.IsExist(), clsEmployee::Lookup::Found);
        QCOMPARE(scan.ENUMBER(), QStringLiteral("2001"));
        QCOMPARE(scan.DNAME(), QStringLiteral("教务处"));
        clsEmployee none(fx->session());
        QCOMPARE(none.IsExist(), clsEmployee::Lookup::NotFound);
        none.setEBARCODE("000");
        QCOMPARE(none.IsExist(), clsEmployee::Lookup::NotFound);
        clsEmployee quoted(fx->session());
        quoted.setENUMBER("O'Neil");
        QCOMPARE(quoted.LoadByENUMBER(), clsEmployee::Lookup::Found);
        QCOMPARE(quoted.EBARCODE(), QStringLiteral("777"));

        // Storing an existing number overwrites that row.
        QVERIFY(addEmployee("2001", "999", dept, 3, "王五"));
        QCOMPARE(fx->rows("Employee WHERE ENUMBER = '2001'"), 1);
        clsEmployee changed(fx->session());
        changed.setENUMBER("2001");
        QCOMPARE(changed.LoadByENUMBER(), clsEmployee::Lookup::Found);
        QCOMPARE(changed.ENAME(), QStringLiteral("王五"));
        QCOMPARE(changed.HeadImgBytes(), TestProgramDir::jpeg(3));

        // Inside a caller's transaction a store is a savepoint: it goes with
        // the caller's rollback, and a refused one leaves the caller's
        // statements, which its commit keeps.
        for (const bool commit : {false, true}) {
            DbTransaction caller(fx->session(), DbTransaction::Mode::Immediate);
            QVERIFY(caller.IsActive());
            QVERIFY(caller.Exec("UPDATE Employee SET ENAME = 'r' WHERE ENUMBER = '2001'") == 1);
            QVERIFY(addEmployee("3001", "3001", dept, 4));
            QCOMPARE(store("3002", "3002", 77, false), clsEmployee::StoreResult::NoDepartment);
            QCOMPARE(fx->session().Depth(), 1);
            QVERIFY(!commit || caller.Commit());
        }
        QCOMPARE(fx->rows("Employee WHERE ENUMBER = '2001' AND ENAME = 'r'"), 1);
        QCOMPARE(fx->rows("Employee WHERE ENUMBER IN ('3001', '3002')"), 1);
        QVERIFY(clsEmployee(fx->session()).Remove("3001"));

        // Storing checks the department and, for batch entry, that no number
        // equals the new one without regard to case; an import does not.
        using R = clsEmployee::StoreResult;
        QCOMPARE(store("o'neil", "5", dept, true), R::NumberTaken);
        QCOMPARE(store("900", "900", 77, false), R::NoDepartment);
        QVERIFY(fx->addEmployee("900", "n", "900", 77));
        // The set holds employees of known departments, each photo read when asked.
        clsEmployeeSet set(fx->session());
        QVERIFY(set.LoadSet());
        QCOMPARE(set.Count(), 2);
        QCOMPARE(set.Item("O'Neil").HeadImgBytes(), TestProgramDir::jpeg(2));
        QCOMPARE(set.Item(1).DNAME(), QStringLiteral("教务处"));
        // A second row with the same number is refused by the keyed set.
        QVERIFY(fx->exec("INSERT INTO Employee(DID, ENUMBER, ENAME) VALUES(1, '2001', 'dup')"));
        Error why;
        QVERIFY(!clsEmployeeSet(fx->session()).LoadSet(&why));
        QCOMPARE(why.Text(), QStringLiteral("duplicate key in collection: 2001"));

        // Without its department the employee is not found.
        QVERIFY(clsDept(fx->session()).Remove(QString::number(dept)));
        QCOMPARE(changed.LoadByENUMBER(), clsEmployee::Lookup::NotFound);

        const QRegularExpression digits("^[0-9]{15}$");
        for (int i = 0; i < 200; ++i)
            QVERIFY(digits.match(clsEmployee::GenerateBarcode()).hasMatch());
    }

    void photoFilesBelongToTheirRecord() {
        QVERIFY(fx->addDept(1, "D"));
        QVERIFY(addEmployee("../evil", "1", 1));
        QString first, second;
        {
            auto a = std::make_unique<clsEmployee>(fx->session());
            a->setENUMBER("../evil");
            QCOMPARE(a->LoadByENUMBER(), clsEmployee::Lookup::Found);
            clsEmployee b(fx->session());
            b.setEBARCODE("1");
            QCOMPARE(b.IsExist(), clsEmployee::Lookup::Found);
            first = a->HeadImg();
            second = b.HeadImg();
            QVERIFY(first != second);
            QVERIFY(first.endsWith(QLatin1String(".jpg")) && !first.contains(QLatin1String("..")));
            QVERIFY(!first.startsWith(fx->path())); // not in the program directory
            a.reset();
            QVERIFY(!QFileInfo::exists(first));
            QCOMPARE(readFile(second), TestProgramDir::jpeg(1)); // the other record keeps its file
        }
        QVERIFY(!QFileInfo::exists(second));

        // A caller's photo file is deleted with the record.
        const QString own = fx->writeFile("own.jpg", TestProgramDir::jpeg(5));
        clsEmployee(fx->session()).setHeadImg(own);
        QVERIFY(!QFileInfo::exists(own));
    }

    // A new employee's file needs a photo and replaces an existing file (the
    // file read back, the database left alone: tst_enrolment, tst_empimport).
    void newEmployeeFile() {
        clsEmployee e(fx->session());
        e.setENAME("新人");
        e.setdid(1);
        const QString path = fx->writeFile("n.xml", "old");
        QVERIFY(!e.savetoXML(path)); // no photo
        e.setHeadImg(fx->writeFile("p.jpg", TestProgramDir::jpeg(9)));
        QVERIFY(e.savetoXML(path));
        QVERIFY(readFile(path) != "old");
    }

    void signInRule() {
        // Card 7: arrival, repeats within 60 s, departure, already departed;
        // each day (also across midnight and the year) starts anew.
        const std::pair<const char*, int> scans[] = {
            {"2026-03-10T08:00:00", 1}, {"2026-03-10T08:00:30", 4}, {"2026-03-10T08:01:00", 4},
            {"2026-03-10T08:01:01", 2}, {"2026-03-10T09:00:00", 3}, {"2026-03-10T23:59:59", 3},
            {"2026-03-11T23:59:59", 1}, {"2026-03-12T00:00:00", 1}, {"2026-03-12T00:00:30", 4},
            {"2026-12-31T23:59:59", 1}, {"2027-01-01T00:00:00", 1}};
        for (const auto& [when, expected] : scans)
            QVERIFY2(scan("7", iso(when)) == expected, when);
        QCOMPARE(fx->rows("Presence WHERE ENTERTIME = '2026-03-10 08:00:00' AND "
                          "EXITTIME = '2026-03-10 08:01:01'"),
                 1);
        QCOMPARE(fx->rows("Presence WHERE EXITTIME IS NULL"), 4);

        // The departure closes the day's first record alone (tst_trail).

        // A broken table: the scan's error result in tst_frmsign refusedScans.
        QVERIFY(fx->exec("DROP TABLE Presence"));
        QVERIFY(!clsPresenceSet().LoadToday(fx->session()));
    }

    // Statements stay prepared on the connection; a connection the server
    // ends is replaced by the next read or transaction.
    void serverConnectionKeptAndRenewed() {
        if (!TestProgramDir::OnServer())
            QSKIP("a database file has no server");
        QVERIFY(fx->addDept(1, "D"));
        QVERIFY(addEmployee("1", "1", 1));
        QVERIFY(addEmployee("2", "2", 1));
        // The statements of the session the scans run on.
        const auto prepared = [this] {
            auto q = DbQuery::Read(fx->session(), "SELECT COUNT(*) FROM pg_prepared_statements");
            return q && q->next() ? q->value(0).toInt() : -1;
        };
        QCOMPARE(scan("1", iso("2026-03-10T08:00:00")), qint16(1));
        QCOMPARE(scan("1", iso("2026-03-10T17:00:00")), qint16(2));
        // Kept prepared (the look-up, the lock, the state, the writes), and
        // the next scans add none.
        const int after = prepared();
        QVERIFY(after > 4);
        QCOMPARE(scan("2", iso("2026-03-10T08:00:00")), qint16(1));
        QCOMPARE(scan("2", iso("2026-03-10T17:00:00")), qint16(2));
        QCOMPARE(prepared(), after);
        // Two readers of one statement at once each keep their own rows.
        const QString sql = QStringLiteral("SELECT ENUMBER FROM Employee WHERE ENUMBER = ?");
        auto a = DbQuery::Read(fx->session(), sql, {QStringLiteral("1")});
        auto b = DbQuery::Read(fx->session(), sql, {QStringLiteral("2")});
        QVERIFY(a && b && b->next() && a->next());
        QCOMPARE(a->value(0).toString() + b->value(0).toString(), QStringLiteral("12"));
        a = {};
        b = {};

        // An administrator (or a restart) ends the stations' connections.
        QSqlDatabase admin = fx->server()->connect("admin");
        const auto endConnections = [&admin] {
            QSqlQuery q(admin);
            const QString others = QStringLiteral("FROM pg_stat_activity WHERE datname = "
                                                  "current_database() AND pid <> pg_backend_pid()");
            QVERIFY(q.exec(QStringLiteral("SELECT pg_terminate_backend(pid) ") + others));
            QTRY_VERIFY(q.exec(QStringLiteral("SELECT COUNT(*) ") + others) && q.next() &&
                        q.value(0).toInt() == 0);
        };
        // The card's look-up (as every read) and then the sign-in (as every
        // transaction) each find the connection gone and run on a new one
        // instead of failing.
        endConnections();
        clsEmployee card(fx->session());
        card.setEBARCODE("1");
        QCOMPARE(card.IsExist(), clsEmployee::Lookup::Found);
        endConnections();
        QCOMPARE(scan("1", iso("2026-03-11T08:00:00")), qint16(1));
        endConnections(); // a journal's scan of a card, one call: run on a new one too
        clsPresence p;
        qint16 state = 0;
        QCOMPARE(p.AddCard(fx->session(), card, iso("2026-03-11T17:00:00"), "s1", &state),
                 clsEmployee::Lookup::Found);
        QCOMPARE(state, qint16(clsPresence::Departure));
        endConnections(); // the employee list too: it once skipped the reconnect
        clsEmployeeSet all(fx->session());
        QVERIFY(all.LoadSet() && all.Count() == 2);
        admin.close();
    }

    // The server decides a scan, and applies a station's journal, in its
    // functions, which the tables' owner makes again where an older database
    // lacks them. Each scan id is applied once, whatever it meant, as the
    // statements do; a day of another text form is left to the statements.
    void serverFunctionsMadeAgain() {
        if (!TestProgramDir::OnServer() || qEnvironmentVariableIsSet("ATTENDANCE_TEST_PG_SIGNIN"))
            QSKIP("only where the login owns the server's tables");
        const auto functions = [this](const char* name) {
            return fx->rows(
                QStringLiteral("pg_proc WHERE proname = '%1'").arg(QLatin1String(name)));
        };
        QCOMPARE(functions("attendance_sign_in"), 1);
        QVERIFY(fx->exec("DROP FUNCTION attendance_sign_in"));
        QCOMPARE(scan("1", iso("2026-03-10T08:00:00")), qint16(1));
        QCOMPARE(functions("attendance_sign_in"), 1);
        QCOMPARE(scan("1", iso("2026-03-10T08:01:00")), qint16(4));

        QCOMPARE(functions("attendance_apply_scan"), 1);
        QVERIFY(fx->exec("DROP FUNCTION attendance_apply_scan"));
        using S = clsPresence::State;
        QCOMPARE(replay("3", "2026-03-10T08:00:00", "a"), qint16(S::Arrival));
        QCOMPARE(functions("attendance_apply_scan"), 1);
        QCOMPARE(replay("3", "2026-03-10T08:00:30", "b"), qint16(S::Repeated));
        QCOMPARE(replay("3", "2026-03-10T08:00:00", "a"), qint16(S::AlreadyReplayed));
        QCOMPARE(replay("3", "2026-03-10T17:00:00", "c"), qint16(S::Departure));
        QCOMPARE(replay("3", "2026-03-10T17:30:00", "d"), qint16(S::AlreadyDeparted));
        QCOMPARE(fx->rows("Presence WHERE ENUMBER = '3' AND ENTERTIME = '2026-03-10 08:00:00' AND "
                          "EXITTIME = '2026-03-10 17:00:00'"),
                 1);
        QCOMPARE(fx->rows("ScanReplay"), 4);
        QCOMPARE(fx->rows("ScanReplay WHERE SCANID = 'b' AND STATE = 4"), 1);
        // A day holding an arrival of another text form: the program decides.
        QVERIFY(fx->exec("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('2', "
                         "'2026-03-11T07:00:00')"));
        QCOMPARE(replay("2", "2026-03-11T17:00:00", "e"), qint16(S::Departure));
        QCOMPARE(fx->rows("Presence WHERE ENUMBER = '2'"), 1);
        QCOMPARE(fx->rows("ScanReplay WHERE SCANID = 'e'"), 1);

        // A card's scan looked up and applied in one call: the card as
        // IsExist reads it (its barcode without regard to case), the states
        // and the record as Add gives them, an unknown card writes nothing,
        // and a closed month is left to the statements (with its trail row).
        QVERIFY(fx->addDept(1, "D") && addEmployee("5", "b5", 1, 4, "五"));
        QCOMPARE(functions("attendance_scan_card"), 1);
        QVERIFY(fx->exec("DROP FUNCTION attendance_scan_card"));
        const auto card = [this](const char* barcode, const char* when, const char* id,
                                 clsPresence* p = nullptr) {
            clsEmployee e(fx->session());
            e.setEBARCODE(barcode);
            clsPresence own;
            qint16 state = -100;
            const clsEmployee::Lookup found =
                (p ? p : &own)->AddCard(fx->session(), e, iso(when), id, &state);
            if (found != clsEmployee::Lookup::Found)
                return qint16(-10 - int(found));
            const bool read = e.ENUMBER() == "5" && e.ENAME() == "五" && e.DNAME() == "D" &&
                              e.HeadImgBytes() == TestProgramDir::jpeg(4) &&
                              (p ? p : &own)->ENUMBER() == "5";
            return read ? state : qint16(-99);
        };
        clsPresence arrival;
        QCOMPARE(card("B5", "2026-03-12T08:00:00.700", "f", &arrival), qint16(S::Arrival));
        QCOMPARE(arrival.enterTime(), iso("2026-03-12T08:00:00"));
        QCOMPARE(functions("attendance_scan_card"), 1);
        QCOMPARE(card("b5", "2026-03-12T08:00:30", "g"), qint16(S::Repeated));
        QCOMPARE(card("b5", "2026-03-12T08:00:00", "f"), qint16(S::AlreadyReplayed));
        QCOMPARE(card("b5", "2026-03-12T17:00:00", "h"), qint16(S::Departure));
        QCOMPARE(card("b6", "2026-03-12T17:00:00", "i"), qint16(-10));
        QCOMPARE(card("", "2026-03-12T17:00:00", "j"), qint16(-10));
        QCOMPARE(fx->rows("ScanReplay WHERE SCANID IN ('f', 'g', 'h')"), 3);
        QCOMPARE(fx->rows("ScanReplay WHERE SCANID IN ('i', 'j')"), 0);
        // One call each: the look-up's own statement was never prepared.
        auto lookUp = DbQuery::Read(fx->session(), "SELECT COUNT(*) FROM pg_prepared_statements "
                                                   "WHERE statement LIKE '%Dept.DNAME%' AND "
                                                   "statement NOT LIKE '%pg_prepared%'");
        QVERIFY(lookUp && lookUp->next() && lookUp->value(0).toInt() == 0);
        lookUp = {};
        QCOMPARE(fx->rows("Presence WHERE ENUMBER = '5' AND ENTERTIME = '2026-03-12 08:00:00' "
                          "AND EXITTIME = '2026-03-12 17:00:00'"),
                 1);
        QVERIFY(fx->exec("INSERT INTO MonthClose VALUES ('2026-02', '2026-03-01 09:00:00', 'b')"));
        QCOMPARE(card("b5", "2026-02-27T08:00:00", "k"), qint16(S::Arrival));
        QCOMPARE(fx->rows("Correction WHERE ACTION = 'replay'"), 1);
    }

    // A commit the server refuses after the function has answered (a
    // deferred check fails at its end): the scan is reported failed and
    // nothing stays, whether recorded at once or applied from a journal;
    // the driver hands over the function's row before that commit ends.
    void serverCommitRefusedAfterTheCall() {
        if (!TestProgramDir::OnServer())
            QSKIP("the server's functions");
        QVERIFY(fx->exec("CREATE FUNCTION refuse_at_commit() RETURNS trigger LANGUAGE plpgsql AS "
                         "$$ BEGIN RAISE EXCEPTION 'refused at commit'; END $$"));
        QVERIFY(fx->exec("CREATE CONSTRAINT TRIGGER refuse AFTER INSERT ON Presence DEFERRABLE "
                         "INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION refuse_at_commit()"));
        QVERIFY(scan("1", iso("2026-03-10T08:00:00")) < 0);
        QVERIFY(replay("2", "2026-03-10T08:00:00", "s") < 0);
        QCOMPARE(fx->rows("Presence"), 0);
        QCOMPARE(fx->rows("ScanReplay"), 0);
        QVERIFY(fx->exec("DROP TRIGGER refuse ON Presence"));
        QCOMPARE(scan("1", iso("2026-03-10T08:00:00")), qint16(clsPresence::Arrival));
        QCOMPARE(replay("2", "2026-03-10T08:00:00", "s"), qint16(clsPresence::Arrival));
        QCOMPARE(fx->rows("Presence"), 2);
    }

    // Runs one child program a mode at once while a third connection keeps
    // them from writing `tables` (on the server they may read them, so each
    // decides before any writes unless the rule's locks keep them apart);
    // checks they wait, lets them go and gives their answers.
    QList<int> racing(const QList<const char*>& modes, const QString& tables) {
        QList<int> answers;
        QSqlDatabase holder = clsDbConn::Open(DbSettings::FromConfiguration(), "holder");
        QSqlQuery lock(holder);
        if (!(TestProgramDir::OnServer()
                  ? lock.exec("BEGIN") &&
                        lock.exec(QStringLiteral("LOCK TABLE %1 IN SHARE MODE").arg(tables))
                  : lock.exec("BEGIN IMMEDIATE")))
            return {};
        const auto line = [](QProcess& p, int ms) {
            while (!p.canReadLine())
                if (!p.waitForReadyRead(ms))
                    return QByteArray("no answer");
            return p.readLine().trimmed();
        };
        std::vector<std::unique_ptr<QProcess>> children;
        for (const char* mode : modes) {
            auto& p = children.emplace_back(std::make_unique<QProcess>());
            p->start(QCoreApplication::applicationFilePath(), {"--station", fx->path(), mode});
            if (line(*p, 30000) != "ready")
                return {};
            p->write("go\n");
        }
        // All wait for the lock instead of failing or writing.
        for (auto& p : children)
            if (line(*p, p == children.front() ? 500 : 1) != "no answer")
                return {};
        lock.exec("ROLLBACK");
        for (auto& p : children) {
            answers << line(*p, 120000).toInt();
            p->waitForFinished();
        }
        lock.finish();
        holder.close();
        return answers;
    }

    void twoProgramsAtOnce() {
        // Two stations scan the same hundred cards at once, each card at
        // 08:00 and again at 17:00: one arrival and one departure per card,
        // no failed scan.
        QCOMPARE(racing({"100", "100"}, "Presence"), QList<int>({0, 0}));
        QCOMPARE(fx->count("SELECT COUNT(DISTINCT ENUMBER) FROM Presence WHERE ENTERTIME = "
                           "'2026-03-10 08:00:00' AND EXITTIME = '2026-03-10 17:00:00'"),
                 100);
        QCOMPARE(fx->rows("Presence"), 100);
        // One program removes an empty department while another stores an
        // employee of it: either the employee comes first and the department
        // stays, or the department goes and the employee is refused.
        QVERIFY(fx->addDept(1, "D"));
        fx->writeFile("r1.jpg", TestProgramDir::jpeg(1));
        using D = clsDept::RemoveResult;
        using E = clsEmployee::StoreResult;
        const QList<int> both = racing({"remove", "add"}, "Dept, Employee");
        QVERIFY2(both == QList<int>({int(D::Removed), int(E::NoDepartment)}) ||
                     both == QList<int>({int(D::HasEmployees), int(E::Stored)}),
                 qPrintable(QStringLiteral("%1 and %2").arg(both.value(0)).arg(both.value(1))));
        QCOMPARE(clsEmployeeSet::WithUnknownDepartment(fx->session()), QStringList());
    }

    void presenceSets() {
        QVERIFY(fx->addDept(1, "D"));
        QVERIFY(fx->addEmployee("1", "甲", "1", 1));
        QVERIFY(fx->addEmployee("2", "乙", "2", 1));
        QVERIFY(fx->addEmployee("k3", "丙", "3", 1));
        // A second row on the 5th; a row of no known employee; rows outside
        // March; a row whose number differs from the employee's in case.
        for (const auto& [n, in, out] :
             std::initializer_list<std::tuple<const char*, const char*, const char*>>{
                 {"2", "2026-03-03T07:50:00", "2026-03-03T17:10:00"},
                 {"1", "2026-03-03T08:00:00", ""},
                 {"1", "2026-03-05T08:05:00", "2026-03-05T17:00:00"},
                 {"1", "2026-03-05T09:00:00", "2026-03-05T18:00:00"},
                 {"1", "2026-02-28T08:00:00", "2026-02-28T17:00:00"},
                 {"1", "2026-04-01T00:00:00", ""},
                 {"ghost", "2026-03-04T08:00:00", ""},
                 {"K3", "2026-03-06T08:00:00", ""}})
            QVERIFY(fx->addPresence(QLatin1String(n), iso(in), iso(out)));

        const QDateTime first = iso("2026-03-01"), last = iso("2026-03-31");
        clsPresenceSet set;
        QVERIFY(set.LoadSet(fx->session(), first, last));
        QCOMPARE(set.Count(), 5);

        AppClock::setFixed(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
        clsPresenceSet today;
        QVERIFY(today.LoadToday(fx->session()));
        QCOMPARE(today.Count(), 2);

        clsEmployeePresenceSet month, empty;
        QVERIFY(month.LoadByDate(fx->session(), first, last));
        QCOMPARE(month.Count(), 3);
        const clsSingleEmployeeMonPresence& one = month.Item("1");
        QCOMPARE(one.ENAME(), QStringLiteral("甲"));
        const auto day = [](int d) { return QDateTime(QDate(2026, 3, d), QTime(15, 0)); };
        QCOMPARE(one.GetEnterTime(day(3)), iso("2026-03-03T08:00:00"));
        QCOMPARE(one.GetExitTime(day(3)), DbDateTime::Zero());
        QCOMPARE(one.GetEnterTime(day(4)), DbDateTime::Zero());
        QCOMPARE(one.GetEnterTime(day(5)), iso("2026-03-05T08:05:00"));
        QCOMPARE(one.GetExitTime(day(5)), iso("2026-03-05T17:00:00"));
        QVERIFY(empty.LoadByDate(fx->session(), last, first));
        QCOMPARE(empty.Count(), 0);
    }

    void monthTableBeyondSixteenBits() {
        // More than 32767 records in one range still load.
        QVERIFY(fx->addDept(1, "D"));
        QVERIFY(addEmployee("1", "1", 1));
        QCOMPARE(DbQuery::Exec(
                     clsDbConn().GetDbConn(),
                     "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < "
                     "32999) "
                     "INSERT INTO Presence(ENUMBER, ENTERTIME) SELECT '1', '2026-03-' || "
                     "(CASE WHEN i % 28 < 9 THEN '0' ELSE '' END) || (1 + i % 28) || ' 08:' || "
                     "(CASE WHEN i / 60 % 60 < 10 THEN '0' ELSE '' END) || (i / 60 % 60) || ':' || "
                     "(CASE WHEN i % 60 < 10 THEN '0' ELSE '' END) || (i % 60) FROM n",
                     {}),
                 33000);
        clsEmployeePresenceSet month;
        QVERIFY(month.LoadByDate(fx->session(), iso("2026-03-01"), iso("2026-03-31")));
        QCOMPARE(month.Count(), 1);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], "--station") == 0)
        return runStation(QString::fromLocal8Bit(argv[2]), argc > 3 ? argv[3] : "");
    TestRecords tests;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_records.moc"
