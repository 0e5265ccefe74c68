// attendance-admin's working-hours and calendar files and report-summary,
// run as a separate process: faulty files refused whole naming the line,
// export after import gives the same file, the summary as CSV, spreadsheet
// and PDF, never over an existing file.
#include "shared/db/clsDbConn.h"
#include "tests/common/TestProgramDir.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

class tst_rulescommands : public QObject {
    Q_OBJECT

    TestProgramDir m_dir;

    QStringList run(const char* command, const QString& file) const {
        return {QLatin1String(command), file, "--dir", m_dir.path()};
    }
    QStringList summary(const QString& name) const {
        return {"report-summary", "2008", "2", m_dir.file(name), "--dir", m_dir.path()};
    }
    static QByteArray unzip(const QString& xlsx, const char* part) {
        return RunTool("unzip", {"-p", xlsx, QLatin1String(part)}).out;
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(QStringLiteral("第一中学")), qPrintable(m_dir.lastError));
        QVERIFY(m_dir.addDept(1, "教务处"));
        QVERIFY(m_dir.addDept(2, "=总务"));
        QVERIFY(m_dir.addEmployee("1001", "张三", "500000000000001", 1));
        QVERIFY(m_dir.addEmployee("1002", "李四", "500000000000002", 2));
        QVERIFY(m_dir.exec("UPDATE Employee SET ENTERDATE = ?", {"2000-01-01 00:00:00"}));
        const QDate d(2008, 2, 4);
        QVERIFY(m_dir.addPresence("1001", QDateTime(d, QTime(8, 10)), QDateTime(d, QTime(17, 0))));
        QVERIFY(m_dir.addPresence("1001", QDateTime(d.addDays(1), QTime(8, 0))));
        QVERIFY(m_dir.addPresence("1001", QDateTime(QDate(2008, 3, 3), QTime(8, 0))));
        clsDbConn::CloseShared();
    }

    void summaryAsCsvSpreadsheetAndPdf() {
        QVERIFY(AdminTool::Runs(summary("s.csv")));
        QCOMPARE(
            readFile(m_dir.file("s.csv")),
            QStringLiteral("\xFEFF编号,姓名,部门,应出勤天数,出勤天数,迟到次数,迟到分钟,早退次数,"
                           "早退分钟,未签退次数,缺勤天数,工作时长\r\n"
                           "1002,李四,'=总务,21,0,0,0,0,0,0,21,0:00\r\n"
                           "1001,张三,教务处,21,2,1,10,0,0,1,19,8:50\r\n")
                .toUtf8());
        QVERIFY(AdminTool::Runs(summary("s.xlsx")));
        const QString sheet =
            QString::fromUtf8(unzip(m_dir.file("s.xlsx"), "xl/worksheets/sheet1.xml"));
        QVERIFY2(sheet.contains("<c r=\"D3\"><v>21</v></c>"), qPrintable(sheet));
        QVERIFY(sheet.contains("<f>SUM(K2:K3)</f><v>40</v>"));
        QVERIFY(sheet.contains("t=\"inlineStr\"><is><t>=总务</t>"));
        QCOMPARE(sheet.count("<f>"), 9);
        const QString days =
            QString::fromUtf8(unzip(m_dir.file("s.xlsx"), "xl/worksheets/sheet2.xml"));
        QVERIFY(days.contains("迟到10分钟") && days.contains("未签退"));
        QVERIFY(AdminTool::Runs(summary("s.pdf")));
        const QString pdf = PdfText(m_dir.file("s.pdf"));
        QVERIFY2(pdf.contains("第一中学") && pdf.contains("单位合计") && pdf.contains("8:50"),
                 qPrintable(pdf));
        for (const char* name : {"s.csv", "s.xlsx", "s.pdf"})
            QVERIFY(AdminTool::Fails(summary(name), {"exists"}));
        QVERIFY(AdminTool::Fails(summary("s.txt")));
    }

    void faultyFilesRefusedWhole() {
        const QByteArray head =
            "dept,weekday,working,start,end,late_grace,early_grace\n*,1,1,08:00,17:00,0,0\n";
        const QByteArray cal = "date,kind,name\n2009-01-01,holiday,元旦\n";
        const QByteArray cal4 = "date,kind,name,as_weekday\n2009-01-01,holiday,元旦,\n";
        const struct {
            const char* command;
            QByteArray text;
            const char* says;
        } cases[] = {
            {"schedule-import", head + "*,2,1,17:00,08:00,0,0\n", "end 08:00 is not after start"},
            {"schedule-import", head + "*,2,1,08:00,08:00,0,0\n", "end 08:00 is not after start"},
            {"schedule-import", head + "*,2,1,08:00,17:00,241,0\n", "late grace"},
            {"schedule-import", head + "*,2,1,08:00,17:00,0,241\n", "early grace \"241\""},
            {"schedule-import", head + "*,2,0,08:00,17:00,0,241\n", "early grace"},
            {"schedule-import", head + "*,8,1,08:00,17:00,0,0\n", "weekday"},
            {"schedule-import", head + "*,0,1,08:00,17:00,0,0\n", "weekday \"0\""},
            {"schedule-import", head + "*,2,1,08:00,17:00,0,0\x1b\n", "control character \\x1b"},
            {"schedule-import", head + "*,1,0,,,0,0\n", "given twice"},
            {"schedule-import", head + "财务,2,1,08:00,17:00,0,0\n", "unknown department"},
            {"schedule-import", head + "*,2,1,8:6x,17:00,0,0\n", "bad start time"},
            {"schedule-import", head + "*,2,1,08:00,17:00,0\n", "expected 7 columns"},
            {"calendar-import", cal + "2009-01-01,rest,x\n", "given twice"},
            {"calendar-import", cal + "2009-02-01,vacation,x\n", "unknown kind"},
            {"calendar-import", cal + "1899-12-31,rest,x\n", "outside 1900-2100"},
            {"calendar-import", cal + "2101-01-01,rest,x\n", "outside 1900-2100"},
            {"calendar-import", cal + "2009-2-1,rest,x\n", "bad date"},
            {"calendar-import", cal + "2009-02-01,rest,x,1\n", "expected 3 columns"},
            {"calendar-import", cal + QByteArray("2009-02-01,rest,a\0b\n", 20),
             "control character \\x00"},
            {"calendar-import", cal + "2009-02-01,rest,\x1b[2J\n", "control character \\x1b"},
            {"calendar-import", cal + "2009-02-01,rest,\"a\tb\"\n", "control character \\t"},
            {"calendar-import", cal + "2009-02-01,rest," + QByteArray(101, 'x') + "\n",
             "longer than 100 characters"},
            // 春节 in GBK: the line and the byte where it starts.
            {"calendar-import", cal + "2009-02-01,holiday,\xb4\xba\xbd\xda\n",
             "byte 20: not UTF-8"},
            {"calendar-import", cal4 + "2009-02-01,workday,x,0\n", "as_weekday \"0\""},
            {"calendar-import", cal4 + "2009-02-01,workday,x,8\n", "as_weekday \"8\""},
            {"calendar-import", cal4 + "2009-02-01,holiday,x,1\n", "for a workday only"},
        };
        for (const auto& c : cases) {
            const QString file = m_dir.writeFile("bad.csv", c.text);
            QVERIFY2(AdminTool::Fails(run(c.command, file), {"line 3", c.says}), c.says);
        }
        QCOMPARE(m_dir.rows("WorkSchedule") + m_dir.rows("WorkCalendar"), 0);
    }

    // A field of megabytes comes back cut to 80 characters, escaped.
    void echoedValuesCapped() {
        const QByteArray huge(3 * 1024 * 1024, 'x');
        const QString file =
            m_dir.writeFile("huge.csv", "date,kind,name\n2009-01-01,\x1b" + huge + ",x\n");
        const ToolRun r = AdminTool::Run(run("calendar-import", file));
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("line 2: control character \\x1b in \"\\x1bxxx") &&
                     r.err.contains("xxx...\""),
                 qPrintable(r.err.left(300)));
        QVERIFY2(r.err.size() < 300, qPrintable(r.err.left(300)));
        const QString wide = m_dir.writeFile("wide.csv", "date,kind,name\n" + huge + ",rest,x\n");
        const ToolRun w = AdminTool::Run(run("calendar-import", wide));
        QVERIFY2(w.code == 1 && w.err.contains("longer than 100") && w.err.size() < 300,
                 qPrintable(w.err.left(300)));
        QCOMPARE(m_dir.rows("WorkCalendar"), 0);
    }

    // The files written by export are read back by import, at the limits of
    // what they take: rest rows with any times (the editor keeps its own
    // there), grace 240, the first and last date, a name of 100 characters,
    // a make-up workday's weekday. Files of the three calendar columns are
    // read too.
    void exportAfterImportGivesTheSameFile() {
        QVERIFY(AdminTool::Runs(run("schedule-export", m_dir.file("default.csv"))));
        QCOMPARE(readFile(m_dir.file("default.csv")).count('\n'), 8);
        QByteArray hours = "dept,weekday,working,start,end,late_grace,early_grace\r\n";
        for (const char* dept : {"*", "'=总务"})
            for (int d = 1; d <= 7; ++d)
                hours +=
                    QStringLiteral("%1,%2,%3,%4,%5,5\r\n")
                        .arg(QString::fromUtf8(dept))
                        .arg(d)
                        .arg(d < 6 ? 1 : 0)
                        .arg(d < 6 ? QStringLiteral("09:00,18:30") : QStringLiteral("08:00,07:00"))
                        .arg(d == 1 ? 240 : d * 10)
                        .toUtf8();
        const QString name100(100, QChar(u'节'));
        const QByteArray days = "date,kind,name,as_weekday\r\n1900-01-01,holiday,元旦,\r\n"
                                "2009-01-04,workday,\"元旦, 调休\",5\r\n2009-01-10,workday,"
                                "调休,\r\n2010-02-01,rest," +
                                name100.toUtf8() + ",\r\n2100-12-31,rest,x,\r\n";
        QVERIFY(AdminTool::Runs(run("schedule-import", m_dir.writeFile("h.csv", hours))));
        QVERIFY(AdminTool::Runs(run("calendar-import", m_dir.writeFile("c.csv", days))));
        QVERIFY(AdminTool::Runs(run("schedule-export", m_dir.file("h2.csv"))));
        QVERIFY(AdminTool::Runs(run("calendar-export", m_dir.file("c2.csv"))));
        QCOMPARE(readFile(m_dir.file("h2.csv")), hours);
        QCOMPARE(readFile(m_dir.file("c2.csv")), days);
        QVERIFY(AdminTool::Fails(run("calendar-export", m_dir.file("c2.csv")), {"exists"}));
        const QByteArray three = "date,kind,name\r\n2009-01-04,workday,调休\r\n";
        QVERIFY(AdminTool::Runs(run("calendar-import", m_dir.writeFile("c3.csv", three))));
        QVERIFY(AdminTool::Runs(run("calendar-export", m_dir.file("c4.csv"))));
        QVERIFY(readFile(m_dir.file("c4.csv")).contains("\r\n2009-01-04,workday,调休,\r\n"));
    }

    // Years and months outside 1900-2100 and 1-12 are wrong usage (exit 2).
    void monthLimits() {
        const auto at = [&](const char* year, const char* month, const QString& out) {
            return QStringList{"report-summary", year, month, out, "--dir", m_dir.path()};
        };
        QVERIFY(AdminTool::Misuses(at("1899", "12", m_dir.file("l.csv")), {"not a year"}));
        QVERIFY(AdminTool::Misuses(at("2101", "1", m_dir.file("l.csv")), {"2101"}));
        QVERIFY(AdminTool::Misuses(at("2008", "13", m_dir.file("l.csv")), {"not a month"}));
        QVERIFY(AdminTool::Misuses(at("2008", "0", m_dir.file("l.csv")), {"not a month"}));
        QVERIFY(AdminTool::Misuses(
            {"export-month", "2101", "1", m_dir.file("l.xml"), "--dir", m_dir.path()}));
        QVERIFY(AdminTool::Misuses(
            {"report-month", "1899", "1", m_dir.file("l.pdf"), "--dir", m_dir.path()}));
        QVERIFY(!QFileInfo::exists(m_dir.file("l.csv")));
        QVERIFY(AdminTool::Runs(at("1900", "1", m_dir.file("l1900.csv"))));
        QVERIFY(AdminTool::Runs(at("2100", "12", m_dir.file("l2100.csv"))));
    }

    // The workbook is made beside OUT, whatever $TMPDIR is; a folder a killed
    // run left there is removed, a failure names OUT, and with
    // SOURCE_DATE_EPOCH the same records give the same bytes.
    void spreadsheetBesideOut() {
        const QString folder = m_dir.file("xlsx");
        QVERIFY(QDir().mkpath(folder));
        QProcess gone;
        gone.start("true", {});
        QVERIFY(gone.waitForStarted());
        const qint64 gonePid = gone.processId();
        QVERIFY(gone.waitForFinished());
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        const QString prefix = QStringLiteral(".attendance-xlsx-%1-").arg(QLatin1String(host));
        const QString left = folder + "/" + prefix + QString::number(gonePid);
        const QString alive = prefix + QString::number(QCoreApplication::applicationPid());
        QVERIFY(QDir().mkpath(left) && QDir().mkpath(folder + "/" + alive));
        QVERIFY(writeFile(left + "/summary.xlsx", "half"));
        qputenv("TMPDIR", "/nonexistent/attendance-test");
        qputenv("SOURCE_DATE_EPOCH", "1203811200");
        const bool first = AdminTool::Runs(summary("xlsx/a.xlsx"));
        const bool second = AdminTool::Runs(summary("xlsx/b.xlsx"));
        const bool refused = AdminTool::Fails(summary("none/c.xlsx"), {m_dir.file("none/c.xlsx")});
        qunsetenv("SOURCE_DATE_EPOCH");
        qunsetenv("TMPDIR");
        QVERIFY(first && second && refused);
        QCOMPARE(readFile(folder + "/a.xlsx"), readFile(folder + "/b.xlsx"));
        QVERIFY(unzip(folder + "/a.xlsx", "docProps/core.xml").contains("2008-02-24T00:00:00Z"));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({alive, "a.xlsx", "b.xlsx"}));
    }
};

QTEST_GUILESS_MAIN(tst_rulescommands)
#include "tst_rulescommands.moc"
