// The monthly attendance report on a small database: month choice, layout
// read back from the PDF, short months, empty months and repeated runs.
#include "report/ReportDocument.h"
#include "report/ReportFonts.h"
#include "report/ReportPainter.h"
#include "reports/month/EmployeeMonthReport.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbSession.h"
#include "shared/records/MonthChoice.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "tests/common/EnglishLayout.h"
#include "tests/common/ReportFit.h"
#include "tests/common/TestProgramDir.h"

#include <QRegularExpression>
#include <QtTest>
#include <array>

namespace {

// The page rectangle of a control in the n-th detail row (0-based) of a page.
QRect detailCell(const ReportDocument& doc, int page, int row, const QString& name) {
    int seen = -1;
    for (const ReportControl& c : doc.PageAt(page).items) {
        if (c.name == QLatin1String("lblName"))
            ++seen;
        if (seen == row && c.name == name)
            return c.rect;
    }
    return QRect();
}

} // namespace

class tst_monthreport : public QObject {
    Q_OBJECT

private:
    TestProgramDir m_dir;

    // Runs the report of a month into a PDF file and returns the document.
    ReportDocument render(EmployeeMonthReport& report, int year, int month, const QString& pdf,
                          const QString& school = QStringLiteral("第一实验小学")) {
        // The database of the program directory in use (the last test's own).
        DbSession session = DbSession::OpenConfigured();
        clsEmployeePresenceSet table;
        if (!EmployeeMonthReport::LoadMonthTable(session, year, month, table))
            qFatal("month table not loaded");
        report.setSchoolName(school);
        report.setYear(year);
        report.setMonth(month);
        report.setMonthTable(&table);
        ReportDocument doc = ReportDocument::Run(report);
        report.setMonthTable(nullptr);
        Error error;
        if (!pdf.isEmpty() && !ReportPainter::WritePdfFile(doc, m_dir.file(pdf), false, &error))
            qFatal("%s", qPrintable(error.Text()));
        return doc;
    }
    QString cellText(const ReportDocument& doc, const QString& pdf, int row, const QString& name) {
        return PdfTextIn(m_dir.file(pdf), 1,
                         detailCell(doc, 0, row, name).adjusted(20, 20, -20, -20));
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError));
        AppClock::setFixed(QDateTime(QDate(2010, 3, 15), QTime(10, 0)));
        QVERIFY(m_dir.addDept(1, QStringLiteral("教务处")));
        const QStringList names = {"王小明", "李红", "赵刚"};
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(m_dir.addEmployee(QString::number(1001 + i), names[i],
                                      QString::number(500000000000001LL + i), 1));
        auto at = [](int y, int m, int d, int h, int min) {
            return QDateTime(QDate(y, m, d), QTime(h, min));
        };
        // February 2008: 29 days.
        QVERIFY(m_dir.addPresence("1002", at(2008, 2, 3, 8, 5)));
        QVERIFY(m_dir.addPresence("1001", at(2008, 2, 4, 7, 58), at(2008, 2, 4, 17, 31)));
        QVERIFY(m_dir.addPresence("1001", at(2008, 2, 29, 8, 1), at(2008, 2, 29, 16, 2)));
        QVERIFY(m_dir.addPresence("1003", at(2008, 2, 29, 9, 10), at(2008, 2, 29, 18, 0)));
        QVERIFY(m_dir.addPresence("1003", at(2008, 3, 1, 9, 11)));
        // January and February 2009.
        QVERIFY(m_dir.addPresence("1001", at(2009, 1, 30, 8, 30), at(2009, 1, 30, 17, 30)));
        QVERIFY(m_dir.addPresence("1001", at(2009, 1, 31, 8, 31), at(2009, 1, 31, 17, 31)));
        QVERIFY(m_dir.addPresence("1001", at(2009, 2, 27, 8, 27), at(2009, 2, 27, 17, 27)));
        QVERIFY(m_dir.addPresence("1001", at(2009, 3, 1, 8, 1)));
    }
    void cleanupTestCase() { AppClock::reset(); }

    void monthChoice() {
        // Every month of a leap, a common and two century years; no 13th month.
        for (const int year : {2008, 2009, 2000, 1900})
            for (int month = 1; month <= 12; ++month)
                QCOMPARE(MonthChoice::LastDay(year, month), QDate(year, month, 1).daysInMonth());
        QCOMPARE(MonthChoice::LastDay(2009, 13), 0);
        QCOMPARE(MonthChoice::YearList(2009), QStringList({"2007", "2008", "2009", "2010"}));
    }

    // A month from the two lists or the command line's two words (a wrong
    // part reads as 0, so the caller names it), and from "yyyy-M" text.
    void monthParsedFromText() {
        using MonthChoice::Parse;
        const auto same = [](MonthChoice::YearMonth m, int year, int month) {
            return m.year == year && m.month == month;
        };
        QVERIFY(same(Parse("2024", "3"), 2024, 3));
        QVERIFY(same(Parse(" 2024 ", "03 "), 2024, 3));
        QVERIFY(same(Parse("2024", "1"), 2024, 1));
        QVERIFY(same(Parse("2024", "12"), 2024, 12));
        QVERIFY(same(Parse("2024", "0"), 2024, 0));
        QVERIFY(same(Parse("2024", "13"), 2024, 0));
        QVERIFY(same(Parse("x", "3"), 0, 3));
        QVERIFY(same(Parse("", ""), 0, 0));
        QVERIFY(same(Parse("1899", "3", 1900, 2100), 0, 3));
        QVERIFY(same(Parse("1900", "3", 1900, 2100), 1900, 3));
        QVERIFY(same(Parse("2100", "3", 1900, 2100), 2100, 3));
        QVERIFY(same(Parse("2101", "3", 1900, 2100), 0, 3));
        QVERIFY(!Parse("2024", "13").IsValid() && Parse("2024", "12").IsValid());

        for (const char* text : {"2024-3", "2024-03", " 2024-3 "})
            QVERIFY2(same(MonthChoice::ParseText(text), 2024, 3), text);
        QVERIFY(same(MonthChoice::ParseText("0001-12"), 1, 12));
        QVERIFY(same(MonthChoice::ParseText("9999-1"), 9999, 1));
        for (const char* text :
             {"2024-0", "2024-13", "2024-003", "24-3", "02024-3", "0000-1", "2024/3", "2024 - 3",
              "+2024-3", "2024-+3", "2024-3-1", "2024-", "-3", ""})
            QVERIFY2(same(MonthChoice::ParseText(text), 0, 0), text);
    }

    void february2008InThePdf() {
        EmployeeMonthReport report;
        const ReportDocument doc = render(report, 2008, 2, QStringLiteral("feb2008.pdf"));
        QCOMPARE(doc.DetailCount(), 3);
        const QStringList lines = PdfText(m_dir.file(QStringLiteral("feb2008.pdf"))).split('\n');
        QVERIFY2(lines.contains(QStringLiteral("2月员工考勤报表")), qPrintable(lines.join('|')));
        const QString text = lines.join(QLatin1Char('\n'));
        for (const char* name : {"第一实验小学", "王小明", "李红", "赵刚", "姓名", "打印日期："})
            QVERIFY2(text.contains(QString::fromUtf8(name)), name);
        QVERIFY(text.contains(QStringLiteral("2010-3-15"))); // the print date, whatever the locale

        // Rows in the order of the first record: 李红 (3rd), 王小明 (4th), 赵刚 (29th);
        // 1 March belongs to the next month.
        const std::tuple<int, const char*, const char*> cells[] = {
            {0, "lblName", "李红"},     {0, "lblEnter3", "08:05"}, {0, "lblExit3", ""},
            {1, "lblEnter4", "07:58"},  {1, "lblExit4", "17:31"},  {1, "lblEnter29", "08:01"},
            {2, "lblEnter29", "09:10"}, {2, "lblExit29", "18:00"}, {2, "lblEnter1", ""}};
        for (const auto& [row, name, expected] : cells)
            QVERIFY2(cellText(doc, "feb2008.pdf", row, name) == QString::fromUtf8(expected), name);
        QVERIFY(!text.contains(QStringLiteral("09:11")));
        // Odd days on top, the next even day below, in the same column.
        const QRect d3 = detailCell(doc, 0, 0, "lblEnter3");
        const QRect d4 = detailCell(doc, 0, 0, "lblEnter4");
        QCOMPARE(d3.left(), d4.left());
        QCOMPARE(d4.top() - d3.top(), 567);
    }

    void shortMonthLeavesCellsEmpty() {
        // The same report object, first for January: days 30 and 31 filled;
        // the second run starts again at the first employee.
        EmployeeMonthReport report;
        ReportDocument doc = render(report, 2009, 1, QString());
        QCOMPARE(report.Detail().Control("lblEnter31")->text, QStringLiteral("08:31"));
        doc = render(report, 2009, 2, QStringLiteral("feb2009.pdf"));
        QCOMPARE(doc.DetailCount(), 1);
        const QRegularExpression lateDay(QStringLiteral("^lbl(Enter|Exit)(29|30|31)$"));
        for (const ReportControl& c : doc.PageAt(0).items)
            if (lateDay.match(c.name).hasMatch())
                QVERIFY2(c.text.isEmpty(), qPrintable(c.name));
        QCOMPARE(cellText(doc, "feb2009.pdf", 0, "lblEnter27"), QStringLiteral("08:27"));
        const QString text = PdfText(m_dir.file(QStringLiteral("feb2009.pdf")));
        for (const char* gone : {"08:30", "08:31", "17:31", "08:01"})
            QVERIFY2(!text.contains(QLatin1String(gone)), gone);
        // A month without records: one page with the header and no rows.
        doc = render(report, 2009, 6, QString());
        QCOMPARE(doc.PageCount(), 1);
        QCOMPARE(doc.DetailCount(), 0);
    }

    void oneRowPerEmployeeFoundFirstRecordByTime() {
        // X902's rows in two spellings; A7 and a7 two employees; on the 3rd
        // "8:30" comes before "10:00:00" by time, not as text.
        for (const char* e : {"X902", "A7", "a7"})
            QVERIFY(m_dir.addEmployee(e, e + QStringLiteral("名"), e + QStringLiteral("00"), 1));
        const char* rows[][3] = {{"x902", "2009-07-03 10:00:00", "2009-07-03 18:00:00"},
                                 {"X902", "2009-07-03 8:30", "2009-07-03 17:00"},
                                 {"A7", "2009-07-03 09:00:00", nullptr},
                                 {"a7", "2009-07-04 09:30:00", nullptr}};
        for (const auto& [number, enter, exit] : rows)
            QVERIFY(m_dir.exec(QStringLiteral("INSERT INTO Presence VALUES(?, ?, ?)"),
                               {number, enter, exit ? QVariant(exit) : QVariant()}));
        clsEmployeePresenceSet table;
        QVERIFY(EmployeeMonthReport::LoadMonthTable(m_dir.session(), 2009, 7, table));
        QStringList seen;
        for (const clsSingleEmployeeMonPresence& e : table)
            for (const int day : {3, 4})
                seen << e.ENAME() + EmployeeMonthReport::TimeText(e.GetEnterTime(
                                        QDateTime(QDate(2009, 7, day), QTime(0, 0))));
        QCOMPARE(seen,
                 QStringList({"X902名08:30", "X902名", "A7名09:00", "A7名", "a7名", "a7名09:30"}));
    }

    // In English (the catalogue installed, as the programs install it) the
    // fixed texts have no Chinese character left, and in either language every
    // text fits its cell in the report's fonts; names come from the records.
    void englishReport() {
        ReportFonts::InstallSubstitutions();
        const auto at = [](int d, int h, int min) {
            return QDateTime(QDate(2011, 6, d), QTime(h, min));
        };
        const QStringList names = {"Alice Brown", "Bob Carter"};
        for (int i = 0; i < names.size(); ++i) {
            const QString number = QString::number(3001 + i);
            QVERIFY(m_dir.addEmployee(number, names[i], QString::number(700000000000001LL + i), 1));
            QVERIFY(m_dir.addPresence(number, at(1 + i, 7, 59), at(1 + i, 17, 30)));
        }
        EmployeeMonthReport chinese;
        QStringList wide = OverflowingLabels(render(chinese, 2011, 6, QString()));
        QVERIFY2(wide.isEmpty(), qPrintable(wide.join(QLatin1Char('\n'))));

        const QString pdf = QStringLiteral("jun2011-en.pdf");
        {
            const EnglishScope scope;
            QVERIFY(scope.Installed());
            EmployeeMonthReport english; // its fixed texts are set when it is made
            wide = OverflowingLabels(render(english, 2011, 6, pdf, "First Primary School"));
        }
        QVERIFY2(wide.isEmpty(), qPrintable(wide.join(QLatin1Char('\n'))));
        const QString text = PdfText(m_dir.file(pdf));
        QVERIFY2(!HasChinese(text), qPrintable(text));
        for (const char* expected : {"First Primary School", "Jun Attendance Report", "Name",
                                     "Printed:", "Alice", "Bob Carter", "07:59", "17:30"})
            QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(expected + text));
    }

    void manyEmployeesFillPages() {
        // 25 employees: 11 rows a page, 3 pages.
        // (A program directory of its own: the last test, it leaves m_dir.)
        TestProgramDir dir;
        QVERIFY(dir.init());
        for (int i = 0; i < 25; ++i) {
            QVERIFY(dir.addEmployee(QString::number(2000 + i), QStringLiteral("员工%1").arg(i),
                                    QString::number(600000000000000LL + i), 1));
            QVERIFY(dir.addPresence(QString::number(2000 + i),
                                    QDateTime(QDate(2009, 5, 1 + i), QTime(8, 0))));
        }
        EmployeeMonthReport report;
        const ReportDocument doc = render(report, 2009, 5, QString());
        QCOMPARE(doc.PageCount(), 3); // header and footer on each: tst_reportengine
        QCOMPARE(doc.PageAt(2).detailCount, 3);
    }
};

QTEST_MAIN(tst_monthreport)
#include "tst_monthreport.moc"
