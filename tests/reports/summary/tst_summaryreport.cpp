// The month's summary report in either language: the English PDF read back
// without a Chinese character in its fixed texts, and every text of the
// pages fitting its cell in the report's own fonts in Chinese and in English.
#include "report/ReportDocument.h"
#include "report/ReportFonts.h"
#include "report/ReportPainter.h"
#include "reports/summary/SummaryReport.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "tests/common/EnglishLayout.h"
#include "tests/common/ReportFit.h"
#include "tests/common/TestProgramDir.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Two departments and one employee without a department; the widest counts
// and worked time a month can give.
MonthSummary englishMonth() {
    MonthSummary m;
    m.year = 2026;
    m.month = 3;
    const auto person = [](const char* number, const char* name, const char* dept) {
        EmployeeSummary e;
        e.number = QString::fromLatin1(number);
        e.name = QString::fromLatin1(name);
        e.dept = QString::fromLatin1(dept);
        // Working and present days, late and early count and minutes, missing
        // departures, absent days, worked minutes.
        e.counts = {23, 22, 21, 9999, 20, 9999, 19, 23, 744 * 60};
        e.corrections = 31;
        return e;
    };
    m.employees = {person("1001", "Alice Brown", "Office"), person("1002", "Bob Carter", "Office"),
                   person("1003", "Carol Davis", "Finance"), person("1004", "Dan Evans", "")};
    SummaryCounts office = m.employees[0].counts, finance = m.employees[2].counts,
                  none = m.employees[3].counts;
    office.Add(m.employees[1].counts);
    m.departments = {{QStringLiteral("Office"), office},
                     {QStringLiteral("Finance"), finance},
                     {QString(), none}};
    m.unit = office;
    m.unit.Add(finance);
    m.unit.Add(none);
    return m;
}

} // namespace

class tst_summaryreport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    ReportDocument run(const Translation& language, const MonthSummary& month,
                       const QString& unit) {
        SummaryReport report(language);
        report.setUnitName(unit);
        report.setSummary(&month);
        return ReportDocument::Run(report);
    }

private slots:
    void initTestCase() {
        ReportFonts::InstallSubstitutions();
        AppClock::setFixed(QDateTime(QDate(2026, 4, 2), QTime(9, 0)));
        QVERIFY(m_dir.isValid());
    }
    void cleanupTestCase() { AppClock::reset(); }

    void englishPdfHasNoChinese() {
        const MonthSummary month = englishMonth();
        const ReportDocument doc =
            run(Translation::Of(UiLanguage::English), month, QStringLiteral("Springfield School"));
        const QString pdf = m_dir.filePath(QStringLiteral("en.pdf"));
        Error error;
        QVERIFY2(ReportPainter::WritePdfFile(doc, pdf, true, &error), qPrintable(error.Text()));
        const QString text = PdfText(pdf);
        QVERIFY2(!HasChinese(text), qPrintable(text));
        for (const char* expected :
             {"Springfield School Attendance Summary 3/2026", "Department", "Dept. total",
              "Unit total", "(no department)", "Printed:", "2026-4-2", "Alice Brown", "744:00"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        QCOMPARE(doc.PageCount(), 1);

        // The same report in the program's language (no translator installed):
        // the Chinese of before.
        const ReportDocument chinese =
            run(Translation::Current(), month, QStringLiteral("实验中学"));
        const QString zh = m_dir.filePath(QStringLiteral("zh.pdf"));
        QVERIFY(ReportPainter::WritePdfFile(chinese, zh, true, &error));
        const QString zhText = PdfText(zh);
        for (const char* expected :
             {"实验中学 2026年3月考勤汇总", "部门合计", "单位合计", "（无部门）", "打印日期："})
            QVERIFY2(zhText.contains(QString::fromUtf8(expected)), expected);
    }

    // Each department's total follows its own employees, the unit's comes last.
    void totalsFollowTheirRows() {
        const MonthSummary month = englishMonth();
        SummaryReport report(Translation::Of(UiLanguage::English));
        report.setSummary(&month);
        report.ReportStart();
        QStringList rows;
        for (bool eof = false; report.FetchData(eof), !eof;)
            rows << report.Control(QStringLiteral("lblCol1"))->text;
        QCOMPARE(rows, QStringList({"Alice Brown", "Bob Carter", "Dept. total", "Carol Davis",
                                    "Dept. total", "Dan Evans", "Dept. total", "Unit total"}));
    }

    void everyTextFitsItsCell() {
        for (const UiLanguage l : {UiLanguage::Chinese, UiLanguage::English}) {
            const Translation language = Translation::Of(l);
            const QStringList wide = OverflowingLabels(run(language, englishMonth(), QString()));
            QVERIFY2(wide.isEmpty(), qPrintable(wide.join(QLatin1Char('\n'))));
            // The probe itself: a heading one word too long for its column is caught.
            SummaryReport report(language);
            ReportControl heading = *report.Control(QStringLiteral("lblHead12"));
            heading.text += QStringLiteral("\nMMMMMM");
            QVERIFY(!ReportPainter::TextFits(heading));
        }
    }
};

QTEST_MAIN(tst_summaryreport)
#include "tst_summaryreport.moc"
