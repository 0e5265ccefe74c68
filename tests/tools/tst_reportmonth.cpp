// attendance-admin report-month run as a separate process on a small
// program directory: the CSV compared line by line, the PDF read back with
// pdftotext, and the refusals.
#include "report/ReportFonts.h"
#include "report/ReportPainter.h"
#include "report/ReportPrinter.h"
#include "reports/month/EmployeeMonthReport.h"
#include "shared/base/AtomicFile.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/TestProgramDir.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QDate>
#include <QFileInfo>
#include <QPrinter>
#include <QtTest>

class tst_reportmonth : public QObject {
    Q_OBJECT

private:
    // The command line of a report of a month of 2008 into out(file).
    QStringList report(const QString& month, const QString& file) const {
        return {"report-month", "2008", month, out(file), "--dir", m_dir.path()};
    }
    QString out(const QString& name) const { return m_dir.file(QStringLiteral("out-") + name); }
    // The names of the fonts a PDF embeds, as pdffonts lists them.
    static QStringList fonts(const QString& pdf) {
        QStringList names;
        for (const QString& line :
             QString::fromUtf8(RunTool("pdffonts", {pdf}).out).split('\n').mid(2))
            names << line.section(QLatin1Char(' '), 0, 0);
        return names;
    }

    // February as the station makes it.
    ReportDocument stationReport() {
        clsEmployeePresenceSet table;
        EmployeeMonthReport::LoadMonthTable(m_dir.session(), 2008, 2, table);
        EmployeeMonthReport report;
        report.setYear(2008);
        report.setMonth(2);
        report.setMonthTable(&table);
        return ReportDocument::Run(report);
    }

    TestProgramDir m_dir;

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(QStringLiteral("第一中学")), qPrintable(m_dir.lastError));
        QVERIFY(m_dir.addDept(1, "教务处, \"一\""));
        QVERIFY(m_dir.addDept(2, "总务处"));
        QVERIFY(m_dir.addEmployee("1001", "张\"大\",三", "500000000000001", 1));
        QVERIFY(m_dir.addEmployee("1002", "李四", "500000000000002", 2));
        // Formulas for a spreadsheet; times with seconds.
        QVERIFY(m_dir.addDept(3, "@SUM(A1:A2)"));
        QVERIFY(m_dir.addEmployee("1003", "=1+2", "500000000000003", 3));
        QVERIFY(m_dir.addPresence("1003", QDateTime(QDate(2008, 2, 10), QTime(7, 41, 50)),
                                  QDateTime(QDate(2008, 2, 10), QTime(18, 0, 10))));
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
        const ToolRun r = AdminTool::Run(report("2", "feb.csv"));
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QByteArray bytes = readFile(out("feb.csv"));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF") && bytes.endsWith("\r\n"));
        const QStringList rows = QString::fromUtf8(bytes.mid(3)).split("\r\n");
        QCOMPARE(rows.size(), 1 + 3 * 29 + 1); // header, three employees, 29 days, end
        QCOMPARE(rows[0], QStringLiteral("编号,姓名,部门,日期,到达,离开,时长"));
        // In the order of each employee's first record (07:50 before 08:05);
        // an arrival without departure has no duration.
        QCOMPARE(rows[1], QStringLiteral("1002,李四,总务处,2008-02-01,,,"));
        QCOMPARE(rows[5], QStringLiteral("1002,李四,总务处,2008-02-05,07:50,,"));
        QCOMPARE(rows[29], QStringLiteral("1002,李四,总务处,2008-02-29,08:00,16:30,8:30"));
        // Fields with separators and quotes are quoted, their quotes doubled.
        QCOMPARE(rows[29 + 5], QStringLiteral("1001,\"张\"\"大\"\",三\",\"教务处, \"\"一\"\"\","
                                              "2008-02-05,08:05,17:00,8:55"));
        // Formulas are kept as text; the duration is that of the minutes shown.
        QCOMPARE(rows[58 + 10],
                 QStringLiteral("1003,'=1+2,'@SUM(A1:A2),2008-02-10,07:41,18:00,10:19"));
    }

    void pdfAndRefusals() {
        QVERIFY(AdminTool::Runs(report("2", "feb.pdf")));
        const QString pdf = PdfText(out("feb.pdf"));
        // The layout itself is tst_monthreport's: here the unit and the month's data.
        QVERIFY2(pdf.contains("第一中学") && pdf.contains("16:30"), qPrintable(pdf));
        QVERIFY(!pdf.contains("09:00"));

        // The station's fonts: its PDF of the same month embeds the same faces.
        ReportFonts::InstallSubstitutions();
        QVERIFY(ReportPainter::WritePdfFile(stationReport(), out("station.pdf"), false));
        QCOMPARE(fonts(out("feb.pdf")), fonts(out("station.pdf")));
        // With SOURCE_DATE_EPOCH the creation date is fixed: the same bytes every run.
        qputenv("SOURCE_DATE_EPOCH", "1203811200");
        QVERIFY(AdminTool::Runs(report("2", "fixed.pdf")));
        qunsetenv("SOURCE_DATE_EPOCH");
        QVERIFY(readFile(out("fixed.pdf")).contains("/CreationDate (D:20080224000000"));

        // Never over an existing file (the month, the name's suffix and the
        // other formats: tst_rulescommands, through the same checks).
        const QByteArray before = readFile(out("feb.pdf"));
        QVERIFY(AdminTool::Fails(report("2", "feb.pdf"), {"exists"}));
        QCOMPARE(readFile(out("feb.pdf")), before);
        QVERIFY(
            AdminTool::Fails({"report-month", "2008", "2", out("x.csv"), "--dir", out("nowhere")}));
        QVERIFY(!QFileInfo::exists(out("x.csv")));
    }

    void cutOffWritersLeaveNothing() {
        // Killed part-way or failing on a full disk: no file under the
        // final name, nothing hidden beside it.
        for (const auto outcome :
             {FileSizeLimit::Outcome::Killed, FileSizeLimit::Outcome::FullDisk})
            for (const QStringList& args :
                 {QStringList{"report-month", "2008", "2", out("cut.pdf")},
                  {"report-month", "2008", "2", out("cut.csv")},
                  {"print-cards", out("cut.pdf"), "1001", "1002"}}) {
                const ToolRun r = FileSizeLimit::Run(
                    AdminTool::Path(), args + QStringList{"--dir", m_dir.path()}, 1024, outcome);
                QCOMPARE(r.code, outcome == FileSizeLimit::Outcome::Killed ? -1 : 1);
                QVERIFY(
                    QDir(m_dir.path()).entryList({"*cut*"}, QDir::Files | QDir::Hidden).isEmpty());
            }

        // The printer dialog's print to a file, through the programs' writer.
        ReportPainter::SetFileWriter(AtomicFile::WriteWhole);
        ReportPrinter printer;
        printer.setDialog([this](QPrinter& p, QWidget*) {
            p.setOutputFileName(out("printed.pdf"));
            return true;
        });
        const ReportDocument doc = stationReport();
        QVERIFY(FileSizeLimit::Fork(1024, FileSizeLimit::Outcome::Killed, [&] {
            return printer.Print(doc, true) == ReportPrinter::Result::Printed;
        }));
        QVERIFY(!QFileInfo::exists(out("printed.pdf")));
        QCOMPARE(printer.Print(doc, true), ReportPrinter::Result::Printed);
        QVERIFY(PdfText(out("printed.pdf")).contains("16:30"));
    }
};

QTEST_MAIN(tst_reportmonth)
#include "tst_reportmonth.moc"
