// Department, employee and presence records on a real database file.
#include "AppClock.h"
#include "DatabaseSchema.h"
#include "TestProgramDir.h"
#include "clsDbConn.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include "DbQuery.h"
#include "ExchangeFiles.h"
#include "RowSetXml.h"
#include "clsConfiguration.h"
#include "clsDept.h"
#include "clsDeptSet.h"
#include "clsEmployee.h"
#include "clsEmployeePresenceSet.h"
#include "clsEmployeeSet.h"
#include "clsPresence.h"
#include "clsPresenceSet.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

class TestRecords : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

    qint16 addDept(const QString& name) {
        clsDept d;
        d.setDNAME(name);
        if (!d.AppendToDb())
            return 0;
        clsDept again;
        again.setDNAME(name);
        return again.ID();
    }

    bool addEmployee(const QString& number, const QString& barcode, const QString& name, qint16 did,
                     int seed = 1) {
        clsEmployee e;
        e.setENUMBER(number);
        e.setEBARCODE(barcode);
        e.setENAME(name);
        e.setdid(did);
        e.setENTERDATE(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
        e.setHeadImg(
            fx->writeFile(number + QStringLiteral("-new.jpg"), TestProgramDir::jpeg(seed)));
        return e.Add();
    }

    int count(const QString& sql, const QVariantList& params = {}) {
        auto q = DbQuery::Select(sql, params);
        return q && q->next() ? q->value(0).toInt() : -1;
    }

    qint16 scanAt(const QString& number, const QDateTime& when) {
        AppClock::setFixed(when);
        clsPresence p;
        p.setENUMBER(number);
        return p.Add();
    }

    // A scan of employee "7" at an ISO date-time.
    qint16 scan7(const char* when) {
        return scanAt(QStringLiteral("7"), QDateTime::fromString(QLatin1String(when), Qt::ISODate));
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(QString()), qPrintable(fx->lastError));
    }
    void cleanup() { fx.reset(); }

    void storedDateTimes() {
        const QDateTime t(QDate(2026, 3, 10), QTime(8, 3, 7));
        QCOMPARE(DbDateTime::ToText(t), QStringLiteral("2026-03-10 08:03:07"));
        QCOMPARE(DbDateTime::FromText(QStringLiteral("2026-03-10 08:03:07")), t);
        QCOMPARE(DbDateTime::FromText(QStringLiteral("2026-03-10T08:03:07")), t);
        for (const char* bad :
             {"2026-02-30 08:00:00", "2026-03-10 24:00:00", "2026-03-1x 08:00:00", "", "garbage"})
            QVERIFY(!DbDateTime::FromText(QString::fromLatin1(bad)).isValid());
        QCOMPARE(DbDateTime::DayEnd(QDate(2026, 12, 31)), QStringLiteral("2027-01-01 00:00:00"));
    }

    void connectionNeedsTheFile() {
        QVERIFY(clsDbConn().GetDbConn().isValid());
        clsDbConn::CloseShared();
        QFile::remove(fx->dbPath);
        QVERIFY(!clsDbConn().GetDbConn().isValid());
        QVERIFY(!clsDbConn().TestConn());
        // The programs never create the database file themselves.
        QVERIFY(!QFileInfo::exists(fx->dbPath));
        // A file that is not a database does not open either.
        fx->writeFile(QStringLiteral("vorerur.dat"), "not a database at all, just text");
        QVERIFY(!clsDbConn().TestConn());
    }

    void pathWrittenWithBackslashes() {
        // A configuration written on another system names the folder with
        // backslashes; it still finds the database.
        clsDbConn::CloseShared();
        QString windowsStyle = fx->dir.path();
        windowsStyle.replace(QLatin1Char('/'), QLatin1Char('\\'));
        fx->writeFile(QStringLiteral("attendance.ini"),
                      "[data]\r\npath = \"" + windowsStyle.toUtf8() + "\\\"\r\n");
        QCOMPARE(DatabaseFilePath(), fx->dbPath);
        QVERIFY(clsDbConn().GetDbConn().isOpen());
    }

    void connectionIsSharedAndReopened() {
        {
            QSqlDatabase a = clsDbConn().GetDbConn();
            QVERIFY(a.isOpen());
            a.close();
        }
        QVERIFY(clsDbConn().GetDbConn().isOpen());
        QVERIFY(!DatabaseSchema::Create(fx->dbPath)); // never over an existing file
        QCOMPARE(QFileInfo(fx->dbPath).permissions() & (QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
    }

    void departmentRules() {
        clsDept fresh;
        QCOMPARE(fresh.EMPLOYEENUM(), qint16(-1));
        QVERIFY(!fresh.LoadByID());   // ID 0
        QVERIFY(!fresh.LoadByName()); // empty name

        const qint16 office = addDept(QStringLiteral("办公室"));
        QVERIFY(office > 0);

        clsDept dup;
        dup.setDNAME(QStringLiteral("办公室"));
        QCOMPARE(dup.ID(), office);
        QCOMPARE(dup.EMPLOYEENUM(), qint16(0));
        QVERIFY(!dup.AppendToDb()); // same name never inserted twice

        clsDept quoted;
        quoted.setDNAME(QStringLiteral("O'Brien's \"team\""));
        QVERIFY(quoted.AppendToDb());
        QCOMPARE(quoted.ID(), qint16(0)); // the new key is not read back
        clsDept back;
        back.setDNAME(QStringLiteral("O'Brien's \"team\""));
        QVERIFY(back.ID() > 0);

        clsDept rename;
        rename.setID(office);
        QCOMPARE(rename.DNAME(), QStringLiteral("办公室"));
        rename.setDNAME(QStringLiteral("总务处"));
        QVERIFY(rename.UpdateToDb());
        clsDept check;
        check.setID(office);
        QCOMPARE(check.DNAME(), QStringLiteral("总务处"));

        QVERIFY(!check.Remove(QString()));
        QVERIFY(!check.Remove(QStringLiteral("9999")));
        QVERIFY(!check.Remove(QStringLiteral("1; DROP TABLE Dept")));
        QVERIFY(addEmployee(QStringLiteral("E1"), QStringLiteral("123"), QStringLiteral("张三"),
                            office));
        check.setID(office);
        QCOMPARE(check.EMPLOYEENUM(), qint16(1));
        QVERIFY(check.RemoveMe());
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Employee")), 1); // employees stay
    }

    void departmentSet() {
        const qint16 a = addDept(QStringLiteral("A"));
        const qint16 b = addDept(QStringLiteral("B"));
        QVERIFY(addEmployee(QStringLiteral("1"), QStringLiteral("11"), QStringLiteral("x"), b));
        clsDeptSet set;
        QCOMPARE(set.Count(), 2);
        QCOMPARE(set.Item(1).DNAME(), QStringLiteral("A"));
        QCOMPARE(set.Item(QStringLiteral(" %1").arg(b)).EMPLOYEENUM(), qint16(1));
        QCOMPARE(set.Item(QStringLiteral(" %1").arg(a)).EMPLOYEENUM(), qint16(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, set.Item(3));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, set.Item(QStringLiteral("nope")));
        set.Remove(1);
        QCOMPARE(set.Count(), 1);
        QCOMPARE(set.Item(QStringLiteral(" %1").arg(b)).DNAME(), QStringLiteral("B"));
        int seen = 0;
        for (const clsDept& d : set)
            seen += d.ID();
        QCOMPARE(seen, int(b));
    }

    void employeeLookupAndStore() {
        const qint16 dept = addDept(QStringLiteral("教务处"));
        clsEmployee e;
        e.setEBARCODE(QStringLiteral("  abc123  "));
        QCOMPARE(e.EBARCODE(), QStringLiteral("ABC123"));
        e.setENAME(QStringLiteral("  李四 "));
        QCOMPARE(e.ENAME(), QStringLiteral("李四"));

        QVERIFY(!addEmployee(QStringLiteral("2001"), QStringLiteral("X"), QStringLiteral("n"), 0));
        QVERIFY(addEmployee(QStringLiteral("2001"), QStringLiteral("abc123"),
                            QStringLiteral("李四"), dept, 1));
        QVERIFY(addEmployee(QStringLiteral("O'Neil"), QStringLiteral("777"),
                            QStringLiteral("O'Neil"), dept, 2));

        clsEmployee scan;
        scan.setEBARCODE(QStringLiteral("abc123"));
        QCOMPARE(scan.IsExist(), qint16(1));
        QCOMPARE(scan.ENUMBER(), QStringLiteral("2001"));
        QCOMPARE(scan.DNAME(), QStringLiteral("教务处"));
        QCOMPARE(scan.HeadImgBytes(), TestProgramDir::jpeg(1));

        clsEmployee none;
        QCOMPARE(none.IsExist(), qint16(0));
        none.setEBARCODE(QStringLiteral("000"));
        QCOMPARE(none.IsExist(), qint16(0));

        clsEmployee quoted;
        quoted.setENUMBER(QStringLiteral("O'Neil"));
        QCOMPARE(quoted.LoadByENUMBER(), qint16(1));
        QCOMPARE(quoted.EBARCODE(), QStringLiteral("777"));

        // Storing an existing number overwrites that row.
        QVERIFY(addEmployee(QStringLiteral("2001"), QStringLiteral("999"), QStringLiteral("王五"),
                            dept, 3));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Employee WHERE ENUMBER = '2001'")), 1);
        clsEmployee changed;
        changed.setENUMBER(QStringLiteral("2001"));
        QCOMPARE(changed.LoadByENUMBER(), qint16(1));
        QCOMPARE(changed.ENAME(), QStringLiteral("王五"));
        QCOMPARE(changed.HeadImgBytes(), TestProgramDir::jpeg(3));

        // Without its department the employee is not found.
        clsDept d;
        QVERIFY(d.Remove(QString::number(dept)));
        clsEmployee orphan;
        orphan.setENUMBER(QStringLiteral("2001"));
        QCOMPARE(orphan.LoadByENUMBER(), qint16(0));
    }

    void addNeedsEveryField() {
        const qint16 dept = addDept(QStringLiteral("D"));
        clsEmployee e;
        e.setENUMBER(QStringLiteral("1"));
        e.setEBARCODE(QStringLiteral("2"));
        e.setENAME(QStringLiteral("n"));
        e.setdid(dept);
        QVERIFY(!e.Add()); // no photo
        e.setHeadImg(fx->dir.filePath(QStringLiteral("missing.jpg")));
        QVERIFY(!e.Add()); // unreadable photo
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Employee")), 0);
    }

    void photoFilesBelongToTheirRecord() {
        const qint16 dept = addDept(QStringLiteral("D"));
        QVERIFY(
            addEmployee(QStringLiteral("../evil"), QStringLiteral("1"), QStringLiteral("n"), dept));
        QString first, second;
        {
            auto a = std::make_unique<clsEmployee>();
            a->setENUMBER(QStringLiteral("../evil"));
            QCOMPARE(a->LoadByENUMBER(), qint16(1));
            clsEmployee b;
            b.setEBARCODE(QStringLiteral("1"));
            QCOMPARE(b.IsExist(), qint16(1));
            first = a->HeadImg();
            second = b.HeadImg();
            QVERIFY(first != second);
            QVERIFY(QFileInfo(first).fileName().endsWith(QStringLiteral(".jpg")));
            QVERIFY(!QFileInfo(first).fileName().contains(QLatin1Char('/')));
            QVERIFY(!first.startsWith(fx->dir.path())); // not in the program directory
            a.reset();
            QVERIFY(!QFileInfo::exists(first));
            QVERIFY(QFileInfo::exists(second)); // the other record keeps its file
            QFile f(second);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), TestProgramDir::jpeg(1));
        }
        QVERIFY(!QFileInfo::exists(second));

        // A caller's photo file is deleted with the record.
        const QString own = fx->writeFile(QStringLiteral("own.jpg"), TestProgramDir::jpeg(5));
        {
            clsEmployee e;
            e.setHeadImg(own);
        }
        QVERIFY(!QFileInfo::exists(own));
    }

    void employeeSetWritesNoPhotos() {
        const qint16 dept = addDept(QStringLiteral("D"));
        for (int i = 0; i < 5; ++i)
            QVERIFY(addEmployee(QString::number(100 + i), QString::number(500 + i),
                                QStringLiteral("n"), dept, i));
        QVERIFY(addEmployee(QStringLiteral("900"), QStringLiteral("900"), QStringLiteral("n"),
                            77)); // no dept
        clsEmployeeSet set;
        QVERIFY(set.LoadSet());
        QCOMPARE(set.Count(), 5);
        QCOMPARE(set.Item(QStringLiteral("102")).HeadImgBytes(), TestProgramDir::jpeg(2));
        QCOMPARE(set.Item(1).DNAME(), QStringLiteral("D"));
        QVERIFY(!set.Contains(QStringLiteral("900")));

        // A second row with the same number is refused by the keyed set.
        QVERIFY(
            DbQuery::Exec(
                QStringLiteral("INSERT INTO Employee(DID, ENUMBER, ENAME) VALUES(?, '100', 'dup')"),
                {int(dept)}) == 1);
        clsEmployeeSet again;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, again.LoadSet());
    }

    void generatedBarcodes() {
        const QRegularExpression digits(QStringLiteral("^[0-9]{15}$"));
        for (int i = 0; i < 200; ++i)
            QVERIFY(digits.match(clsEmployee::GenerateBarcode()).hasMatch());
        clsEmployee e;
        QVERIFY(e.UpdateEBarCode());
        QVERIFY(digits.match(e.EBARCODE()).hasMatch());
    }

    void newEmployeeFileLeavesDatabase() {
        const qint16 dept = addDept(QStringLiteral("D"));
        clsEmployee e;
        e.setENAME(QStringLiteral("新人"));
        e.setdid(dept);
        e.setENTERDATE(QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
        QVERIFY(!e.savetoXML(fx->dir.filePath(QStringLiteral("n.xml")))); // no photo
        e.setHeadImg(fx->writeFile(QStringLiteral("p.jpg"), TestProgramDir::jpeg(9)));
        const QString path = fx->dir.filePath(QStringLiteral("n.xml"));
        fx->writeFile(QStringLiteral("n.xml"), "old");
        QVERIFY(e.savetoXML(path)); // replaces an existing file
        ExchangeFiles::NewEmployee n;
        QString error;
        QVERIFY2(ExchangeFiles::ReadNewEmployee(path, &n, &error), qPrintable(error));
        QCOMPARE(n.ENAME, QStringLiteral("新人"));
        QCOMPARE(n.DID, dept);
        QCOMPARE(n.ENTERDATE, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
        QCOMPARE(n.HEADIMG, TestProgramDir::jpeg(9));
        RowSet rs;
        QVERIFY(RowSetXml::Load(path, &rs));
        QCOMPARE(rs.rows.size(), 1);
        QVERIFY(rs.value(0, QStringLiteral("ENUMBER")).isNull());
        QVERIFY(rs.value(0, QStringLiteral("EBARCODE")).isNull());
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Employee")), 0);
    }

    void signInRule() {
        QVERIFY(addEmployee(QStringLiteral("7"), QStringLiteral("7"), QStringLiteral("n"),
                            addDept(QStringLiteral("D"))));
        QCOMPARE(scan7("2026-03-10T08:00:00"), qint16(1));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Presence WHERE EXITTIME IS NULL")), 1);
        QCOMPARE(scan7("2026-03-10T08:00:30"), qint16(4));
        QCOMPARE(scan7("2026-03-10T08:01:00"), qint16(4));
        QCOMPARE(scan7("2026-03-10T08:01:01"), qint16(2));
        QCOMPARE(scan7("2026-03-10T09:00:00"), qint16(3));
        QCOMPARE(scan7("2026-03-10T23:59:59"), qint16(3));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Presence")), 1);
        auto q = DbQuery::Select(QStringLiteral("SELECT ENTERTIME, EXITTIME FROM Presence"));
        QVERIFY(q && q->next());
        QCOMPARE(q->value(0).toString(), QStringLiteral("2026-03-10 08:00:00"));
        QCOMPARE(q->value(1).toString(), QStringLiteral("2026-03-10 08:01:01"));
    }

    void signInAcrossMidnight() {
        QVERIFY(addEmployee(QStringLiteral("7"), QStringLiteral("7"), QStringLiteral("n"),
                            addDept(QStringLiteral("D"))));
        // 23:59:59 arrival; one second later is a new day with its own arrival.
        QCOMPARE(scan7("2026-03-10T23:59:59"), qint16(1));
        QCOMPARE(scan7("2026-03-11T00:00:00"), qint16(1));
        QCOMPARE(scan7("2026-03-11T00:00:30"), qint16(4));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Presence WHERE EXITTIME IS NULL")), 2);
        // The new year as well.
        QCOMPARE(scan7("2026-12-31T23:59:59"), qint16(1));
        QCOMPARE(scan7("2027-01-01T00:00:00"), qint16(1));
    }

    void twoRowsOnOneDay() {
        const QString day = QStringLiteral("2026-03-10 ");
        DbQuery::Exec(QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('9', ?)"),
                      {day + QStringLiteral("08:00:00")});
        DbQuery::Exec(QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('9', ?)"),
                      {day + QStringLiteral("08:00:30")});
        QCOMPARE(scanAt(QStringLiteral("9"), QDateTime(QDate(2026, 3, 10), QTime(9, 0))),
                 qint16(2));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Presence WHERE EXITTIME IS NOT NULL")),
                 2);
    }

    void databaseFailures() {
        clsPresence p;
        p.setENUMBER(QStringLiteral("1"));
        DbQuery::Exec(QStringLiteral("DROP TABLE Presence"));
        QCOMPARE(p.CheckState(), qint16(-1));
        QCOMPARE(p.Add(), qint16(-1));
        clsDbConn::CloseShared();
        QFile::remove(fx->dbPath);
        QCOMPARE(p.Add(), qint16(-2));
        clsEmployee e;
        e.setEBARCODE(QStringLiteral("1"));
        QCOMPARE(e.IsExist(), qint16(-1));
        clsPresenceSet set;
        QVERIFY(!set.LoadToday());
        clsEmployeePresenceSet month;
        QVERIFY(!month.LoadByDate(QDateTime(QDate(2026, 1, 1), QTime()),
                                  QDateTime(QDate(2026, 1, 31), QTime())));
    }

    void presenceSets() {
        const qint16 dept = addDept(QStringLiteral("D"));
        QVERIFY(addEmployee(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("甲"), dept));
        QVERIFY(addEmployee(QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("乙"), dept));
        const auto ins = [](const char* n, const char* in, const char* out) {
            DbQuery::Exec(
                QStringLiteral("INSERT INTO Presence VALUES(?, ?, ?)"),
                {QString::fromLatin1(n), QString::fromLatin1(in),
                 out ? QVariant(QString::fromLatin1(out)) : DbQuery::TextOrNull(QString())});
        };
        ins("2", "2026-03-03 07:50:00", "2026-03-03 17:10:00");
        ins("1", "2026-03-03 08:00:00", nullptr);
        ins("1", "2026-03-05 08:05:00", "2026-03-05 17:00:00");
        ins("1", "2026-03-05 09:00:00", "2026-03-05 18:00:00"); // second row that day
        ins("1", "2026-02-28 08:00:00", "2026-02-28 17:00:00");
        ins("1", "2026-04-01 00:00:00", nullptr);
        ins("ghost", "2026-03-04 08:00:00", nullptr); // no such employee

        const QDateTime first(QDate(2026, 3, 1), QTime(0, 0));
        const QDateTime last(QDate(2026, 3, 31), QTime(0, 0));
        clsPresenceSet set;
        QVERIFY(set.LoadSet(first, last));
        QCOMPARE(set.Count(), 4);

        clsPresenceSet backwards;
        QVERIFY(backwards.LoadSet(last, first));
        QCOMPARE(backwards.Count(), 0);

        AppClock::setFixed(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
        clsPresenceSet today;
        QVERIFY(today.LoadToday());
        QCOMPARE(today.Count(), 2);
        for (const clsPresence& p : today)
            if (p.ENUMBER() == QLatin1String("1"))
                QVERIFY(DbDateTime::IsZero(p.exitTime()));

        clsEmployeePresenceSet month;
        QVERIFY(month.LoadByDate(first, last));
        QCOMPARE(month.Count(), 2);
        const clsSingleEmployeeMonPresence& one = month.Item(QStringLiteral("1"));
        QCOMPARE(one.ENAME(), QStringLiteral("甲"));
        const auto day = [](int d) { return QDateTime(QDate(2026, 3, d), QTime(15, 0)); };
        QCOMPARE(one.GetEnterTime(day(3)), QDateTime(QDate(2026, 3, 3), QTime(8, 0)));
        QCOMPARE(one.GetExitTime(day(3)), DbDateTime::Zero());
        QCOMPARE(one.GetEnterTime(day(4)), DbDateTime::Zero());
        QCOMPARE(one.GetEnterTime(day(5)), QDateTime(QDate(2026, 3, 5), QTime(8, 5)));
        QCOMPARE(one.GetExitTime(day(5)), QDateTime(QDate(2026, 3, 5), QTime(17, 0)));

        clsEmployeePresenceSet empty;
        QVERIFY(empty.LoadByDate(QDateTime(QDate(2025, 1, 1), QTime()),
                                 QDateTime(QDate(2025, 1, 31), QTime())));
        QCOMPARE(empty.Count(), 0);
    }

    void monthTableBeyondSixteenBits() {
        // More than 32767 records in one range still load.
        QVERIFY(addEmployee(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("n"),
                            addDept(QStringLiteral("D"))));
        QCOMPARE(
            DbQuery::Exec(QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 32999) "
                "INSERT INTO Presence(ENUMBER, ENTERTIME) SELECT '1', "
                "printf('2026-03-%02d 08:%02d:%02d', 1 + i % 28, i / 60 % 60, i % 60) FROM n")),
            33000);
        clsEmployeePresenceSet month;
        QVERIFY(month.LoadByDate(QDateTime(QDate(2026, 3, 1), QTime()),
                                 QDateTime(QDate(2026, 3, 31), QTime())));
        QCOMPARE(month.Count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
