// The month's summary report in either language: the English PDF read back
// without a Chinese character in its fixed texts, and every text of the
// pages fitting its cell in the report's own fonts in Chinese and in English.
#include "report/ReportDocument.h"
#include "report/ReportFonts.h"
#include "report/ReportPainter.h"
#include "reports/summary/SummaryReport.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "tests/common/ReportFit.h"
#include "tests/common/TestProgramDir.h"

#include <QRegularExpression>
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
        e.counts.workingDays = 23;
        e.counts.present = 22;
        e.counts.lateCount = 21;
        e.counts.lateMinutes = 9999;
        e.counts.earlyCount = 20;
        e.counts.earlyMinutes = 9999;
        e.counts.missingDepartures = 19;
        e.counts.absent = 23;
        e.counts.workedMinutes = 744 * 60;
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

const QRegularExpression kChinese(QStringLiteral("[\\x{3000}-\\x{303F}\\x{4E00}-\\x{9FFF}"
                                                 "\\x{FF00}-\\x{FFEF}]"));

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
        QVERIFY2(!text.contains(kChinese), qPrintable(text));
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
        for (const QString& expected : {QStringLiteral("实验中学 2026年3月考勤汇总"),
                                        QStringLiteral("部门合计"), QStringLiteral("单位合计"),
                                        QStringLiteral("（无部门）"), QStringLiteral("打印日期：")})
            QVERIFY2(zhText.contains(expected), qPrintable(expected));
    }

    void everyTextFitsItsCell_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("Chinese") << false;
        QTest::newRow("English") << true;
    }
    void everyTextFitsItsCell() {
        QFETCH(bool, english);
        const Translation language =
            english ? Translation::Of(UiLanguage::English) : Translation::Of(UiLanguage::Chinese);
        const QStringList wide = OverflowingLabels(run(language, englishMonth(), QString()));
        QVERIFY2(wide.isEmpty(), qPrintable(wide.join(QLatin1Char('\n'))));
        // The probe itself: a heading one word too long for its column is caught.
        SummaryReport report(language);
        ReportControl heading = *report.Control(QStringLiteral("lblHead12"));
        heading.text += QStringLiteral("\nMMMMMM");
        QVERIFY(!ReportPainter::TextFits(heading));
    }
};

QTEST_MAIN(tst_summaryreport)
#include "tst_summaryreport.moc"
