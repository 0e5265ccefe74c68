// Exchange files against a real database: what each export holds, and that
// every import either applies a whole file or leaves the database as it was.
#include "shared/base/AppClock.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsEmployee.h"
#include "shared/rowset/RowSetXml.h"
#include "tests/common/TestProgramDir.h"

#include <QFileInfo>
#include <QTest>

class TestExchange : public QObject {
    Q_OBJECT

    using Existing = ExchangeFiles::Existing;

    std::unique_ptr<TestProgramDir> fx;
    DbSession m_db; // the files' session, closed before the directory goes

    QString path(const char* name) { return fx->dir.filePath(QLatin1String(name)); }

    // Every row of the tables, rendered to compare whole databases.
    QString snapshot() {
        auto q = DbQuery::Read(
            "SELECT ID || quote(DID) || quote(ENUMBER) || quote(EBARCODE) || quote(ENAME) || "
            "quote(HEADIMG) || quote(ENTERDATE) FROM Employee UNION ALL SELECT ID || quote(DNAME) "
            "|| quote(PASSWORD) FROM Dept UNION ALL SELECT quote(ENUMBER) || quote(ENTERTIME) || "
            "quote(EXITTIME) FROM Presence");
        QString out;
        while (q && q->next())
            out += q->value(0).toString() + QLatin1Char('\n');
        return out;
    }

    // The rows of a table as an export reads them.
    RowSet table(const QString& name) {
        RowSet rs;
        if (!ExchangeFiles::QueryRowSet(m_db, "SELECT * FROM " + name, {}, name, &rs, nullptr))
            qFatal("%s not read", qPrintable(name));
        return rs;
    }

    // rs saved under `name` in the program directory; its path.
    QString saved(const RowSet& rs, const char* name) {
        return RowSetXml::Save(rs, path(name)) ? path(name) : QString();
    }

    void seed() {
        const char* depts[] = {"办公室", "教务处", "后勤部"};
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(fx->addDept(i, QString::fromUtf8(depts[i - 1])));
            clsEmployee e(fx->session());
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

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(QString()), qPrintable(fx->lastError));
        m_db = DbSession::OpenConfigured();
        QVERIFY(m_db.IsOpen());
        seed();
    }
    void cleanup() {
        m_db.Close();
        fx.reset();
    }

    void employeeFileImportsByNumber() {
        const QString file = path("e.xml");
        Error error;
        QVERIFY2(ExchangeFiles::ExportEmployees(m_db, file,
                                                {QStringLiteral("101"), QStringLiteral("102")},
                                                Existing::Refuse, &error),
                 qPrintable(error.Text()));
        RowSet rs;
        QVERIFY(RowSetXml::Load(file, &rs)); // which rows: tst_importexport
        QStringList cols;
        for (const RowSetColumn& c : rs.columns)
            cols << c.realName();
        QCOMPARE(cols, QStringList(
                           {"ID", "DID", "ENUMBER", "EBARCODE", "ENAME", "HEADIMG", "ENTERDATE"}));

        // Importing the station's own file again changes nothing.
        const QString before = snapshot();
        QVERIFY2(ExchangeFiles::ImportEmployees(m_db, file, &error), qPrintable(error.Text()));
        QCOMPARE(snapshot(), before);

        // A known number is overwritten, a new one gets a new key.
        rs.rows[0].values[rs.columnIndex("ENAME")] = QStringLiteral("改名");
        rs.rows[1].values[rs.columnIndex("ENUMBER")] = QStringLiteral("200");
        QVERIFY(ExchangeFiles::ImportEmployees(m_db, saved(rs, "x.xml")));
        QCOMPARE(fx->rows("Employee"), 4);
        QCOMPARE(fx->count("SELECT ID FROM Employee WHERE ENUMBER = '200'"), 4);
        QCOMPARE(fx->rows("Employee WHERE ENUMBER = '101' AND ENAME = '改名'"), 1);
    }

    void badFilesLeaveTheDatabase() {
        const QString before = snapshot();
        RowSet good = table("Employee");
        const QByteArray bytes = RowSetXml::Serialize(good);
        // One file the reader refuses (each reason: tst_rowsetxml), one with wrong columns.
        const QList<QByteArray> bad = {bytes.left(bytes.size() / 2),
                                       QByteArray(bytes).replace("ENUMBER", "ENUMBRE")};
        for (int i = 0; i < bad.size(); ++i) {
            const QString p = fx->writeFile(QStringLiteral("bad%1.xml").arg(i), bad[i]);
            Error error;
            QVERIFY2(!ExchangeFiles::ImportEmployees(m_db, p, &error),
                     qPrintable(QString::number(i)));
            QVERIFY(!error.Text().isEmpty());
            QVERIFY(!ExchangeFiles::ImportDepartments(m_db, p));
            QCOMPARE(snapshot(), before);
        }
        // A row that fails part-way through (its second row has no number)
        // takes the first one back with it.
        RowSet partly = good;
        partly.rows[0].values[partly.columnIndex("ENAME")] = QStringLiteral("changed");
        partly.rows[1].values[partly.columnIndex("ENUMBER")] = QVariant();
        const QString partlyFile = saved(partly, "partly.xml");
        QVERIFY(!partlyFile.isEmpty() && !ExchangeFiles::ImportEmployees(m_db, partlyFile));
        QCOMPARE(snapshot(), before);
    }

    void typeConfusedFilesAreRefused() {
        const QString before = snapshot();
        RowSet good = table("Employee");
        const QByteArray bytes = RowSetXml::Serialize(good);
        // One employee whose number is the hex of "101" under bin.hex (two
        // control bytes once read) and whose photo's hex is declared text.
        RowSet one = good;
        one.rows.resize(1);
        one.rows[0].values[one.columnIndex("ENUMBER")] = QStringLiteral("313031");
        QByteArray confused =
            RowSetXml::Serialize(one).replace("dt:type='bin.hex'", "dt:type='string'");
        const qsizetype type = confused.indexOf("dt:type='string'", confused.indexOf("'ENUMBER'"));
        confused.replace(type, 16, "dt:type='bin.hex'");
        // The column each reader names: the import checks ENUMBER first, the
        // new-employee reader does not read the number.
        const QList<std::tuple<QByteArray, const char*, const char*>> files = {
            {confused, "ENUMBER", "HEADIMG"},
            {QByteArray(bytes).replace("dt:type='dateTime'", "dt:type='string'"), "ENTERDATE",
             "ENTERDATE"},
            {QByteArray(bytes).replace("dt:type='i2'", "dt:type='string'"), "DID", "DID"},
            {QByteArray(bytes).replace("dt:type='bin.hex'",
                                       "dt:type='bin.hex'/><s:datatype dt:type='string'"),
             "HEADIMG", "HEADIMG"}};
        for (int i = 0; i < files.size(); ++i) {
            const auto& [content, column, newColumn] = files[i];
            const QString file = fx->writeFile(QStringLiteral("t%1.xml").arg(i), content);
            Error error;
            QVERIFY2(!ExchangeFiles::ImportEmployees(m_db, file, &error), column);
            QVERIFY2(error.Text().contains(QLatin1String(column)) && error.Text().contains(file),
                     qPrintable(error.Text()));
            ExchangeFiles::NewEmployee e;
            QVERIFY(!ExchangeFiles::ReadNewEmployee(file, &e, &error));
            QVERIFY2(error.Text().contains(QLatin1String(newColumn)), qPrintable(error.Text()));
        }
        QCOMPARE(snapshot(), before);

        // The old system's widths still import: an int key, short text columns.
        QByteArray widths = QByteArray(bytes)
                                .replace("dt:type='i2' dt:maxLength='2'", "dt:type='int' "
                                                                          "dt:maxLength='4'")
                                .replace("dt:maxLength='50'", "dt:maxLength='20'");
        Error error;
        QVERIFY2(ExchangeFiles::ImportEmployees(m_db, fx->writeFile("w.xml", widths), &error),
                 qPrintable(error.Text()));
        QCOMPARE(snapshot(), before);

        // A department file whose key is text.
        RowSet depts = table("Dept");
        depts.columns[0].type = RowSetColumn::Type::String;
        QVERIFY(!ExchangeFiles::ImportDepartments(m_db, saved(depts, "dt.xml"), &error));
        QVERIFY2(error.Text().contains(QLatin1String("column ID")), qPrintable(error.Text()));
        QCOMPARE(snapshot(), before);
    }

    void departmentFileReplacesAll() {
        RowSet rs = table("Dept");
        rs.rows.removeLast();
        rs.rows[0].values[0] = 7;
        rs.rows[0].values[1] = QStringLiteral("新部门");
        int n = 0;
        QVERIFY(ExchangeFiles::ImportDepartments(m_db, saved(rs, "d.xml"), nullptr, &n));
        QCOMPARE(n, 2);
        QCOMPARE(fx->rows("Dept WHERE ID || DNAME IN ('2教务处', '7新部门')"), 2);

        // Two rows with one key, or a key 0, negative or empty: the import
        // fails and the departments stay.
        const QString before = snapshot();
        int k = 0;
        for (const QVariant& key : {QVariant(7), QVariant(0), QVariant(-3), QVariant()}) {
            rs.rows[1].values[0] = key;
            const QString file = saved(rs, qPrintable(QStringLiteral("k%1.xml").arg(++k)));
            QVERIFY(!file.isEmpty() && !ExchangeFiles::ImportDepartments(m_db, file));
            QCOMPARE(snapshot(), before);
        }
    }

    void timesOfOtherToolsAreExportedOrRefused() {
        AppClock::setFixed(QDateTime(QDate(2026, 3, 20), QTime(12, 0)));
        QVERIFY(fx->exec("INSERT INTO Presence VALUES('101', '2026-03-05 8:00:00', "
                         "'2026-03-05T17:00:00.000')"));
        QVERIFY(ExchangeFiles::BackupMonth(m_db, path("ok.xml")));
        RowSet rs;
        QVERIFY(RowSetXml::Load(path("ok.xml"), &rs));
        QCOMPARE(rs.value(0, "ENTERTIME").toDateTime(), QDateTime(QDate(2026, 3, 5), QTime(8, 0)));
        QCOMPARE(rs.value(0, "EXITTIME").toDateTime(), QDateTime(QDate(2026, 3, 5), QTime(17, 0)));
        // A value that is no date-time fails the export, naming its row.
        QVERIFY(fx->exec("INSERT INTO Presence VALUES('102', '2026-03-06 soon', NULL)"));
        Error error;
        QVERIFY(!ExchangeFiles::BackupMonth(m_db, path("bad.xml"), &error));
        QVERIFY2(error.Text().contains("row 2 (ENUMBER 102)") &&
                     error.Text().contains("2026-03-06 soon"),
                 qPrintable(error.Text()));
        QVERIFY(!QFileInfo::exists(path("bad.xml")));
    }

    void monthFilesNeverOverwrite() {
        for (const char* t : {"2026-02-28T08:00:00", "2026-03-01T00:00:00", "2026-03-01T23:59:59",
                              "2026-03-02T00:00:00"})
            QVERIFY(fx->addPresence("101", QDateTime::fromString(t, Qt::ISODate)));
        AppClock::setFixed(QDateTime(QDate(2026, 3, 1), QTime(18, 0)));
        QVERIFY(ExchangeFiles::BackupMonth(m_db, path("b.xml")));
        // Exports never overwrite a file unless told to.
        QVERIFY(!ExchangeFiles::BackupMonth(m_db, path("b.xml")));
        QVERIFY(!ExchangeFiles::ExportEmployees(m_db, path("b.xml"), {}, Existing::Refuse));
        QVERIFY(ExchangeFiles::ExportDepartments(m_db, path("d.xml"), Existing::Replace));
        QVERIFY(ExchangeFiles::ExportDepartments(m_db, path("d.xml"), Existing::Replace));
        RowSet rs;
        QVERIFY(RowSetXml::Load(path("b.xml"), &rs));
        QCOMPARE(rs.rows.size(), 2);
        QCOMPARE(rs.value(0, "ENTERTIME").toDateTime(), QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
        QVERIFY(rs.value(0, "EXITTIME").isNull());

        QVERIFY(ExchangeFiles::ExportPresence(m_db, path("m.xml"), QDate(2026, 2, 1),
                                              QDate(2026, 2, 28), Existing::Refuse));
        QVERIFY(RowSetXml::Load(path("m.xml"), &rs));
        QCOMPARE(rs.rows.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
