// Exchange files against a real database: what each export holds, and that
// every import either applies a whole file or leaves the database as it was.
#include "AppClock.h"
#include "TestProgramDir.h"
#include "clsDbConn.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include "DbQuery.h"
#include "ExchangeFiles.h"
#include "RowSetXml.h"
#include "clsDept.h"
#include "clsEmployee.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>

class TestExchange : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

    QString path(const QString& name) { return fx->dir.filePath(name); }

    // Every row of the tables, rendered to compare whole databases.
    QString snapshot(bool employeesOnly = false) {
        QString out;
        for (const char* sql :
             {"SELECT ID, DID, ENUMBER, EBARCODE, ENAME, hex(HEADIMG), ENTERDATE FROM "
              "Employee ORDER BY ID",
              "SELECT ID, DNAME, PASSWORD FROM Dept ORDER BY ID",
              "SELECT ENUMBER, ENTERTIME, EXITTIME FROM Presence ORDER BY rowid"}) {
            auto q = DbQuery::Select(QString::fromLatin1(sql));
            while (q && q->next()) {
                for (int i = 0; i < q->record().count(); ++i)
                    out += (q->isNull(i) ? QStringLiteral("<null>") : q->value(i).toString()) +
                           QLatin1Char('|');
                out += QLatin1Char('\n');
            }
            if (employeesOnly)
                break;
        }
        return out;
    }

    void seed() {
        for (const char* d : {"办公室", "教务处", "后勤部"}) {
            clsDept dept;
            dept.setDNAME(QString::fromUtf8(d));
            QVERIFY(dept.AppendToDb());
        }
        for (int i = 1; i <= 3; ++i) {
            clsEmployee e;
            e.setENUMBER(QStringLiteral("10%1").arg(i));
            e.setEBARCODE(QStringLiteral("12345678901234%1").arg(i));
            e.setENAME(i == 2 ? QStringLiteral("O'Hara & <Sons>")
                              : QStringLiteral("员工%1").arg(i));
            e.setdid(static_cast<qint16>(i));
            e.setENTERDATE(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)));
            e.setHeadImg(fx->writeFile(QStringLiteral("p%1.jpg").arg(i), TestProgramDir::jpeg(i)));
            QVERIFY(e.Add());
        }
    }

    QByteArray fileBytes(const QString& p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(QString()), qPrintable(fx->lastError));
        seed();
    }
    void cleanup() { fx.reset(); }

    void employeeFileRoundTrip() {
        QString error;
        QVERIFY2(ExchangeFiles::ExportEmployees(path(QStringLiteral("e.xml")),
                                                {QStringLiteral("101"), QStringLiteral("102")},
                                                ExchangeFiles::Existing::Refuse, &error),
                 qPrintable(error));
        RowSet rs;
        QVERIFY(RowSetXml::Load(path(QStringLiteral("e.xml")), &rs));
        QCOMPARE(rs.rows.size(), 2);
        QStringList cols;
        for (const RowSetColumn& c : rs.columns)
            cols << c.realName();
        QCOMPARE(cols, QStringList(
                           {"ID", "DID", "ENUMBER", "EBARCODE", "ENAME", "HEADIMG", "ENTERDATE"}));

        const QString before = snapshot();
        // Importing the station's own file again changes nothing.
        QVERIFY2(ExchangeFiles::ImportEmployees(path(QStringLiteral("e.xml")), &error),
                 qPrintable(error));
        QCOMPARE(snapshot(), before);
    }

    void importIntoAnotherDatabase() {
        const QString file = QDir::temp().filePath(
            QStringLiteral("attendance-exchange-%1.xml").arg(QCoreApplication::applicationPid()));
        QFile::remove(file);
        QVERIFY(ExchangeFiles::ExportEmployees(file, {}, ExchangeFiles::Existing::Refuse));
        const QString before = snapshot(true);

        clsDbConn::CloseShared();
        TestProgramDir other;
        QVERIFY(other.init());
        int n = 0;
        QString error;
        const bool ok = ExchangeFiles::ImportEmployees(file, &error, &n);
        QFile::remove(file);
        QVERIFY2(ok, qPrintable(error));
        QCOMPARE(n, 3);
        // Same rows (keys given anew in the same order), photos byte for byte.
        QCOMPARE(snapshot(true), before);
    }

    void importOverwritesByNumber() {
        RowSet rs;
        QVERIFY(ExchangeFiles::QueryRowSet(
            QStringLiteral("SELECT * FROM Employee WHERE ENUMBER = ?"), {QStringLiteral("101")},
            QStringLiteral("Employee"), &rs, nullptr));
        QCOMPARE(rs.rows.size(), 1);
        const int name = rs.columnIndex(QStringLiteral("ENAME"));
        const int number = rs.columnIndex(QStringLiteral("ENUMBER"));
        rs.rows[0].values[name] = QStringLiteral("改名");
        RowSetRow added = rs.rows[0];
        added.values[number] = QStringLiteral("200");
        rs.rows.append(added);
        QVERIFY(RowSetXml::Save(rs, path(QStringLiteral("x.xml"))));
        QVERIFY(ExchangeFiles::ImportEmployees(path(QStringLiteral("x.xml"))));
        auto q = DbQuery::Select(QStringLiteral("SELECT COUNT(*), MAX(ID) FROM Employee"));
        QVERIFY(q && q->next());
        QCOMPARE(q->value(0).toInt(), 4);
        QCOMPARE(q->value(1).toInt(), 4); // a new key for the new number
        auto r =
            DbQuery::Select(QStringLiteral("SELECT ENAME FROM Employee WHERE ENUMBER = '101'"));
        QVERIFY(r && r->next());
        QCOMPARE(r->value(0).toString(), QStringLiteral("改名"));
    }

    void badFilesLeaveTheDatabase() {
        const QString before = snapshot();
        RowSet good;
        QVERIFY(ExchangeFiles::QueryRowSet(QStringLiteral("SELECT * FROM Employee"), {},
                                           QStringLiteral("Employee"), &good, nullptr));
        const QByteArray bytes = RowSetXml::Serialize(good);
        const QList<QByteArray> bad = {
            QByteArray(),
            "not xml at all",
            bytes.left(bytes.size() / 2),                            // truncated
            QByteArray(bytes).replace("ENUMBER", "ENUMBRE"),         // wrong columns
            QByteArray(bytes).replace("HEADIMG='ff", "HEADIMG='zz"), // bad hex
            "<!DOCTYPE x [<!ENTITY a 'aaaa'><!ENTITY b '&a;&a;&a;&a;'>]><xml>&b;</xml>",
        };
        for (int i = 0; i < bad.size(); ++i) {
            const QString p = fx->writeFile(QStringLiteral("bad%1.xml").arg(i), bad[i]);
            QString error;
            QVERIFY2(!ExchangeFiles::ImportEmployees(p, &error), qPrintable(QString::number(i)));
            QVERIFY(!error.isEmpty());
            QVERIFY(!ExchangeFiles::ImportDepartments(p));
            QCOMPARE(snapshot(), before);
        }
        // A row that fails part-way through (its second row has no number)
        // takes the first one back with it.
        RowSet partly = good;
        partly.rows[0].values[partly.columnIndex(QStringLiteral("ENAME"))] =
            QStringLiteral("changed");
        partly.rows[1].values[partly.columnIndex(QStringLiteral("ENUMBER"))] = QVariant();
        QVERIFY(RowSetXml::Save(partly, path(QStringLiteral("partly.xml"))));
        QVERIFY(!ExchangeFiles::ImportEmployees(path(QStringLiteral("partly.xml"))));
        QCOMPARE(snapshot(), before);
        QVERIFY(!ExchangeFiles::ImportEmployees(path(QStringLiteral("missing.xml"))));
    }

    void departmentFileReplacesAll() {
        RowSet rs;
        QVERIFY(ExchangeFiles::QueryRowSet(QStringLiteral("SELECT * FROM Dept"), {},
                                           QStringLiteral("Dept"), &rs, nullptr));
        rs.rows.removeLast();
        rs.rows[0].values[0] = 7;
        rs.rows[0].values[1] = QStringLiteral("新部门");
        QVERIFY(RowSetXml::Save(rs, path(QStringLiteral("d.xml"))));
        int n = 0;
        QVERIFY(ExchangeFiles::ImportDepartments(path(QStringLiteral("d.xml")), nullptr, &n));
        QCOMPARE(n, 2);
        auto q = DbQuery::Select(QStringLiteral("SELECT ID, DNAME FROM Dept ORDER BY ID"));
        QStringList got;
        while (q && q->next())
            got << q->value(0).toString() + QLatin1Char('=') + q->value(1).toString();
        QCOMPARE(got, QStringList({QStringLiteral("2=教务处"), QStringLiteral("7=新部门")}));

        // Two rows with one key: the import fails and the departments stay.
        const QString before = snapshot();
        rs.rows[1].values[0] = 7;
        QVERIFY(RowSetXml::Save(rs, path(QStringLiteral("dup.xml"))));
        QVERIFY(!ExchangeFiles::ImportDepartments(path(QStringLiteral("dup.xml"))));
        QCOMPARE(snapshot(), before);

        // The export of all departments reads back as the same rows.
        QVERIFY(ExchangeFiles::ExportDepartments(path(QStringLiteral("all.xml")),
                                                 ExchangeFiles::Existing::Refuse));
        RowSet back;
        QVERIFY(RowSetXml::Load(path(QStringLiteral("all.xml")), &back));
        QCOMPARE(back.rows.size(), 2);
        QCOMPARE(back.value(1, QStringLiteral("DNAME")).toString(), QStringLiteral("新部门"));
    }

    void exportsNeverOverwrite() {
        const QString p = fx->writeFile(QStringLiteral("keep.xml"), "precious");
        QString error;
        QVERIFY(!ExchangeFiles::ExportEmployees(p, {}, ExchangeFiles::Existing::Refuse, &error));
        QVERIFY(!ExchangeFiles::ExportDepartments(p, ExchangeFiles::Existing::Refuse));
        QVERIFY(!ExchangeFiles::BackupMonth(p));
        QCOMPARE(fileBytes(p), QByteArray("precious"));
        QVERIFY(ExchangeFiles::ExportDepartments(p, ExchangeFiles::Existing::Replace));
        QVERIFY(fileBytes(p).startsWith("<xml "));
    }

    void monthBackupOnTheFirst() {
        for (const char* t : {"2026-02-28 08:00:00", "2026-03-01 00:00:00", "2026-03-01 23:59:59",
                              "2026-03-02 00:00:00"})
            DbQuery::Exec(
                QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('101', ?)"),
                {QString::fromLatin1(t)});
        AppClock::setFixed(QDateTime(QDate(2026, 3, 1), QTime(18, 0)));
        QVERIFY(ExchangeFiles::BackupMonth(path(QStringLiteral("b.xml"))));
        RowSet rs;
        QVERIFY(RowSetXml::Load(path(QStringLiteral("b.xml")), &rs));
        QCOMPARE(rs.rows.size(), 2);
        QCOMPARE(rs.value(0, QStringLiteral("ENTERTIME")).toDateTime(),
                 QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
        QVERIFY(rs.value(0, QStringLiteral("EXITTIME")).isNull());

        QVERIFY(ExchangeFiles::ExportPresence(path(QStringLiteral("m.xml")), QDate(2026, 2, 1),
                                              QDate(2026, 2, 28), ExchangeFiles::Existing::Refuse));
        QVERIFY(RowSetXml::Load(path(QStringLiteral("m.xml")), &rs));
        QCOMPARE(rs.rows.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
