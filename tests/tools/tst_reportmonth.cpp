// attendance-admin report-month run as a separate process on a small
// program directory: the CSV read back with a CSV reader, the PDF with
// pdftotext, and the refusals.
#include "TestProgramDir.h"
#include "clsDbConn.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

// RFC 4180 records: quoted fields may hold commas, quotes ("") and line breaks.
QList<QStringList> readCsv(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += QLatin1Char('"'), ++i;
            else if (ch == QLatin1Char('"'))
                quoted = false;
            else
                field += ch;
        } else if (ch == QLatin1Char('"')) {
            quoted = true;
        } else if (ch == QLatin1Char(',')) {
            record << field;
            field.clear();
        } else if (ch == QLatin1Char('\n')) {
            record << field;
            field.clear();
            records << record;
            record.clear();
        } else if (ch != QLatin1Char('\r')) {
            field += ch;
        }
    }
    if (!field.isEmpty() || !record.isEmpty())
        records << (record << field);
    return records;
}

} // namespace

class tst_reportmonth : public QObject {
    Q_OBJECT

private:
    Result run(const QStringList& args) {
        QProcess p;
        p.start(m_tool, args);
        Result r;
        if (!p.waitForFinished(300000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    QString out(const QString& name) const { return m_dir.file(QStringLiteral("out-") + name); }

    TestProgramDir m_dir;
    QString m_tool;

private slots:
    void initTestCase() {
        m_tool = QCoreApplication::applicationDirPath() + QStringLiteral("/attendance-admin");
        QVERIFY(QFileInfo(m_tool).isExecutable());
        QVERIFY2(m_dir.init(QStringLiteral("第一中学")), qPrintable(m_dir.lastError));
        QVERIFY(m_dir.addDept(1, QStringLiteral("教务处, \"一\"")));
        QVERIFY(m_dir.addDept(2, QStringLiteral("总务处")));
        QVERIFY(m_dir.addEmployee("1001", QStringLiteral("张\"大\",三"), "500000000000001", 1));
        QVERIFY(m_dir.addEmployee("1002", QStringLiteral("李四"), "500000000000002", 2));
        const QDate d(2008, 2, 5);
        QVERIFY(m_dir.addPresence("1001", QDateTime(d, QTime(8, 5)), QDateTime(d, QTime(17, 0))));
        QVERIFY(m_dir.addPresence("1002", QDateTime(d, QTime(7, 50))));
        QVERIFY(m_dir.addPresence("1002", QDateTime(QDate(2008, 2, 29), QTime(8, 0)),
                                  QDateTime(QDate(2008, 2, 29), QTime(16, 30))));
        // Next month: not in February's report.
        QVERIFY(m_dir.addPresence("1001", QDateTime(QDate(2008, 3, 1), QTime(9, 0))));
        clsDbConn::CloseShared();
    }

    void csvOneLinePerEmployeeAndDay() {
        const Result r = run({"report-month", "2008", "2", out("feb.csv"), "--dir", m_dir.path()});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QFile f(out("feb.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = readCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(rows.size(), 1 + 2 * 29); // header, two employees, 29 days
        for (const QStringList& row : rows)
            QCOMPARE(row.size(), 7);
        // In the order of each employee's first record (07:50 before 08:05).
        QCOMPARE(rows[1].mid(0, 4), QStringList({"1002", "李四", "总务处", "2008-02-01"}));
        QCOMPARE(rows[1].mid(4), QStringList({"", "", ""}));
        // Arrival without departure: no duration.
        QCOMPARE(rows[5], QStringList({"1002", "李四", "总务处", "2008-02-05", "07:50", "", ""}));
        QCOMPARE(rows[29],
                 QStringList({"1002", "李四", "总务处", "2008-02-29", "08:00", "16:30", "8:30"}));
        // The awkward names survive whole.
        QCOMPARE(rows[29 + 5], QStringList({"1001", "张\"大\",三", "教务处, \"一\"", "2008-02-05",
                                            "08:05", "17:00", "8:55"}));
        QCOMPARE(rows.last()[3], QStringLiteral("2008-02-29"));
    }

    void pdfAndRefusals() {
        Result r = run({"report-month", "2008", "2", out("feb.pdf"), "--dir", m_dir.path()});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {out("feb.pdf"), QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& expected :
             {QStringLiteral("第一中学"), QStringLiteral("2月员工考勤报表"), QStringLiteral("李四"),
              QStringLiteral("08:05"), QStringLiteral("16:30")})
            QVERIFY2(pdf.contains(expected), qPrintable(expected));
        QVERIFY(!pdf.contains(QStringLiteral("09:00")));

        // Never over an existing file, whatever the format.
        const QByteArray before = readFile(out("feb.pdf"));
        r = run({"report-month", "2008", "2", out("feb.pdf"), "--dir", m_dir.path()});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("exists")));
        QCOMPARE(readFile(out("feb.pdf")), before);
        QCOMPARE(run({"report-month", "2008", "2", out("feb.csv"), "--dir", m_dir.path()}).code, 1);

        QCOMPARE(run({"report-month", "2008", "13", out("x.csv"), "--dir", m_dir.path()}).code, 1);
        QCOMPARE(run({"report-month", "2008", "2", out("x.txt"), "--dir", m_dir.path()}).code, 1);
        QCOMPARE(run({"report-month", "2008", "2", out("x.csv"), "--dir", out("nowhere")}).code, 1);
        QCOMPARE(run({"report-month", "2008", "2"}).code, 2);
        QVERIFY(!QFileInfo::exists(out("x.csv")));
        QVERIFY(run({"--help"}).out.contains(QStringLiteral("report-month")));
    }
};

QTEST_MAIN(tst_reportmonth)
#include "tst_reportmonth.moc"
