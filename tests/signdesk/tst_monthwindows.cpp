// The monthly report and monthly export windows: month defaults, preview,
// find, PDF, printing, the month presence file and the messages.
#include "platform/DesktopKit.h"
#include "report/ReportPreview.h"
#include "shared/base/AppClock.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmEmployeeMonthExport.h"
#include "signdesk/frmEmployeeMonthReport.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/ReadBack.h"
#include "tests/common/TestProgramDir.h"

#include <QPrinter>
#include <QtTest>
#include <QtWidgets>

namespace {

QDateTime at(int y, int m, int d, int h, int min) {
    return QDateTime(QDate(y, m, d), QTime(h, min));
}
void click(QWidget* w, const char* button) {
    child<QPushButton>(w, button)->click();
}
// Runs `check` on the preview that `button` opens, then closes it.
bool inPreview(QWidget* w, const char* button, std::function<void(ReportPreview*)> check) {
    bool opened = false;
    OnNextModal([&](QWidget* modal) {
        if (auto* preview = qobject_cast<ReportPreview*>(modal))
            opened = true, check(preview);
        modal->close();
    });
    click(w, button);
    return opened;
}

} // namespace

class tst_monthwindows : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    QTemporaryDir m_settings;
    BoxLog boxes;
    DialogAnswers dialogs;

private slots:
    void initTestCase() {
        DesktopKit::SetProgramTitle(Station::ProgramTitle());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }
    void init() {
        boxes.clear();
        dialogs.files.clear();
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(QStringLiteral("第一实验小学")), qPrintable(fx->lastError));
        AppClock::setFixed(at(2010, 3, 15, 10, 0));
        QVERIFY(fx->addEmployee("1001", QStringLiteral("王小明"), "500000000000001", 0) &&
                fx->addEmployee("1002", QStringLiteral("李红"), "500000000000002", 0));
        QVERIFY(fx->addPresence("1001", at(2010, 2, 1, 0, 0), at(2010, 2, 1, 17, 30)) &&
                fx->addPresence("1002", at(2010, 2, 28, 8, 5)) &&
                fx->addPresence("1001", at(2010, 2, 28, 23, 59)) &&
                fx->addPresence("1002", at(2010, 1, 31, 23, 59)) &&
                fx->addPresence("1001", at(2010, 3, 1, 0, 0)));
    }
    void cleanup() { fx.reset(); }

    // Both windows open on the previous month; the years run up to this one.
    void defaultsToThePreviousMonth() {
        for (const auto& [now, year, month] : {std::tuple{at(2010, 1, 15, 9, 0), "2009", "12"},
                                               {at(2010, 3, 15, 9, 0), "2010", "2"},
                                               {at(2031, 1, 2, 9, 0), "2030", "12"}}) {
            AppClock::setFixed(now);
            frmEmployeeMonthReport report;
            frmEmployeeMonthExport exporter;
            for (QWidget* w : std::initializer_list<QWidget*>{&report, &exporter}) {
                auto* years = child<QComboBox>(w, "cobYear");
                QCOMPARE(years->itemText(0), QStringLiteral("2007"));
                QCOMPARE(years->itemText(years->count() - 1),
                         QString::number(qMax(2010, now.date().year())));
                QCOMPARE(years->currentText(), QLatin1String(year));
                QCOMPARE(child<QComboBox>(w, "cobMonth")->currentText(), QLatin1String(month));
            }
        }
    }

    // The preview shows the chosen month's rows, the same on every run;
    // find and the PDF export go through the program's own dialogs (a found
    // text: tst_reportengine).
    void previewFindAndPdf() {
        frmEmployeeMonthReport w;
        QStringList firstRun;
        const QString pdf = fx->file(QStringLiteral("month.pdf"));
        QVERIFY(inPreview(&w, "cmdPreReport", [&](ReportPreview* p) {
            firstRun = p->Document().PageTexts(0);
            dialogs.text(QStringLiteral("张三"));
            child<QAction>(p, "actFind")->trigger();
            dialogs.path(pdf);
            dialogs.path(pdf); // exists by then: refused
            child<QAction>(p, "actExportPdf")->trigger();
            child<QAction>(p, "actExportPdf")->trigger();
        }));
        QCOMPARE(dialogs.files[0].start, QStringLiteral("员工出勤月报表.pdf"));
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes.shown[0].text + boxes.shown[1].text,
                 QStringLiteral("找不到“张三”。PDF文件已导出！"));
        QCOMPARE(boxes.shown[2].text, QStringLiteral("导出PDF失败！\n文件“%1”已存在。").arg(pdf));
        for (const char* text : {"第一实验小学", "王小明", "李红", "08:05", "17:30"})
            QVERIFY2(firstRun.contains(QString::fromUtf8(text)), text);
        // Not the arrivals of 31 January 23:59 and 1 March 00:00.
        QCOMPARE(firstRun.count(QStringLiteral("23:59")), 1);
        QCOMPARE(firstRun.count(QStringLiteral("00:00")), 1);
        QVERIFY(PdfText(pdf).contains(QStringLiteral("李红")));
        QVERIFY(inPreview(&w, "cmdPreReport", [&](ReportPreview* p) {
            QCOMPARE(p->Document().PageTexts(0), firstRun);
        }));
    }

    // Printing asks the printer dialog, from the window and from the
    // preview's print tool; cancelling prints nothing. Without the month's
    // records nothing is shown or printed (a preview would wait here for ever).
    void printThroughTheDialog() {
        frmEmployeeMonthReport w;
        child<QComboBox>(&w, "cobMonth")->setCurrentText(QStringLiteral("1"));
        QString target;
        int asked = 0;
        w.Printer().setDialog([&](QPrinter& printer, QWidget*) {
            printer.setOutputFileName(target);
            return ++asked, !target.isEmpty();
        });
        click(&w, "cmdPrintReport");
        target = fx->file(QStringLiteral("printed.pdf"));
        click(&w, "cmdPrintReport");
        QCOMPARE(asked, 2);
        QVERIFY(PdfText(target).contains(QStringLiteral("1月员工考勤报表")));
        target = fx->file(QStringLiteral("preview.pdf"));
        inPreview(&w, "cmdPreReport",
                  [](ReportPreview* p) { child<QAction>(p, "actPrint")->trigger(); });
        QVERIFY(PdfText(target).contains(QStringLiteral("23:59")));
        QVERIFY(boxes.isEmpty());

        QVERIFY(fx->exec(QStringLiteral("DROP TABLE Presence")));
        click(&w, "cmdPreReport");
        click(&w, "cmdPrintReport");
        const QString failed = box(Station::ProgramTitle(), QStringLiteral("取得考勤信息出错！"));
        QCOMPARE(boxes.lines(), failed + failed);
        QCOMPARE(asked, 3);
    }

    // The file holds the arrivals from the month's first day 00:00 up to,
    // not including, the next month's; an existing file is refused and kept.
    void exportMonthFile() {
        frmEmployeeMonthExport w;
        const QString file = fx->file(QStringLiteral("feb.XML"));
        for (const QString& answer : {QString(), QStringLiteral("  "), file, file}) {
            answer.isNull() ? dialogs.cancel() : dialogs.path(answer);
            if (dialogs.files.size() == 3) // the file exists: January must not replace it
                child<QComboBox>(&w, "cobMonth")->setCurrentText(QStringLiteral("1"));
            click(&w, "cmdReportExport");
        }
        QCOMPARE(boxes.lines(), box("错误", "没有指导出文件名!") +
                                    box("信息", "数据已成功导出！", MsgBox::Icon::Information) +
                                    box("错误", "导出数据失败！"));
        QCOMPARE(FileRows(file, {"ENUMBER", "ENTERTIME"}),
                 (QStringList{"1001 2010-02-01T00:00:00.000", "1001 2010-02-28T23:59:00.000",
                              "1002 2010-02-28T08:05:00.000"}));
    }
};

QTEST_MAIN(tst_monthwindows)
#include "tst_monthwindows.moc"
