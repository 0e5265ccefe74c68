// The office program in English: every window's texts fit their room and no
// Chinese is left but the records' own; the charts' titles and day labels;
// the attendance menu's corrections and month closing found and run by
// their names.
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/EnglishLayout.h"
#include "tests/common/TestProgramDir.h"
#include "tests/manage/helpers/ManageFixture.h"

#include "manage/SummaryCharts.h"
#include "manage/frimEmpImport.h"
#include "manage/frmAttendanceSummary.h"
#include "manage/frmCardSet.h"
#include "manage/frmCorrection.h"
#include "manage/frmCorrectionTrail.h"
#include "manage/frmDeptAppend.h"
#include "manage/frmDeptEdit.h"
#include "manage/frmMain.h"
#include "manage/frmMissingDeparture.h"
#include "manage/frmNotArrived.h"
#include "manage/frmWorkCalendar.h"
#include "manage/frmWorkSchedule.h"
#include "session/MainSession.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/config/PasswordModule.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace {

// Wednesday 2026-03-18, 09:30: March so far has rest days, working days and
// today; a sign-in today without a sign-out, one absent employee.
const QDateTime kNow(QDate(2026, 3, 18), QTime(9, 30));

} // namespace

class tst_english : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    std::unique_ptr<EnglishScope> english;
    BoxLog boxes;
    // The records' texts the windows show: the unit, departments and names.
    QStringList data{"实验中学", "办公室", "教务处", "后勤部"};

    // Shows `w`, lets it lay out, and lists what does not fit or is Chinese,
    // each line after `name`.
    QStringList problems(const QString& name, QWidget* w) {
        w->show();
        QCoreApplication::processEvents();
        QStringList out;
        for (const QString& p : EnglishLayoutProblems(w, data))
            out << name + QStringLiteral(": ") + p;
        return out;
    }

private slots:
    void init() {
        boxes.clear();
        AppClock::setFixed(kNow);
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        const QStringList numbers{"1001", "1002", "1003"};
        QVERIFY(SeedOffice(*fx, numbers));
        for (const QString& n : numbers)
            data << QStringLiteral("员工") + n;
        QVERIFY(fx->addPresence("1001", QDateTime(QDate(2026, 3, 16), QTime(8, 20)),
                                QDateTime(QDate(2026, 3, 16), QTime(16, 30))));
        QVERIFY(fx->addPresence("1002", QDateTime(QDate(2026, 3, 17), QTime(7, 55))));
        QVERIFY(fx->addPresence("1002", QDateTime(QDate(2026, 3, 18), QTime(8, 0))));
        english = std::make_unique<EnglishScope>();
        QVERIFY(english->Installed());
    }
    void cleanup() {
        english.reset();
        fx.reset();
        AppClock::reset();
    }

    // Every window of the office program, each in the states that show
    // other texts (both lists of the main window, every tab of the summary).
    void everyWindowFitsInEnglish() {
        QStringList found;
        {
            frmMain w;
            found += problems("frmMain employees", &w);
            child<QAction>(&w, "mnuDeptDsp")->trigger();
            found += problems("frmMain departments", &w);
        }
        const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> windows[] = {
            {"frmDeptAppend", [] { return std::make_unique<frmDeptAppend>(); }},
            {"frmDeptEdit",
             [] {
                 auto w = std::make_unique<frmDeptEdit>();
                 w->setDeptID("1");
                 return w;
             }},
            {"frimEmpImport", [] { return std::make_unique<frimEmpImport>(); }},
            {"frmCardSet", [] { return std::make_unique<frmCardSet>(); }},
            {"frmNotArrived", [] { return std::make_unique<frmNotArrived>(); }},
            {"frmMissingDeparture", [] { return std::make_unique<frmMissingDeparture>(); }},
            {"frmWorkSchedule", [] { return std::make_unique<frmWorkSchedule>(); }},
            {"frmWorkCalendar", [] { return std::make_unique<frmWorkCalendar>(); }},
            {"frmCorrection", [] { return std::make_unique<frmCorrection>(); }},
            {"frmCorrectionTrail", [] { return std::make_unique<frmCorrectionTrail>(); }}};
        for (const auto& [name, make] : windows) {
            const std::unique_ptr<QWidget> w = make();
            found += problems(QLatin1String(name), w.get());
        }
        {
            frmAttendanceSummary w;
            auto* tabs = child<QTabWidget>(&w, "tabPages");
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                found += problems(QStringLiteral("frmAttendanceSummary tab %1").arg(i), &w);
            }
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.lines()));
    }

    // The windows that count show their counts in English words.
    void countsInEnglish() {
        frmNotArrived notArrived;
        QCOMPARE(notArrived.windowTitle(), QStringLiteral("Not Arrived Today (2)"));
        QCOMPARE(child<QLabel>(&notArrived, "lblCount")->text(),
                 QStringLiteral("2026-03-18 up to 09:30, not arrived: 2"));
        frmMissingDeparture missing;
        QCOMPARE(child<QLabel>(&missing, "lblCount")->text(),
                 QStringLiteral("Sign-ins without sign-out: 1"));
        frmAttendanceSummary summary;
        QCOMPARE(child<QLabel>(&summary, "lblState")->text(),
                 QStringLiteral("3/2026, employees: 3"));
    }

    // The charts' titles and labels: the rest days and holidays marked in
    // English, nothing Chinese but the departments.
    void chartsInEnglish() {
        MonthSummary summary;
        QVERIFY(MonthSummary::Load(MainSession::Get(), 2026, 3, kNow.date(), &summary));
        // In a view, as the window shows them: a chart outside a scene leaves
        // its items behind when deleted.
        const QChartView presenceView(SummaryCharts::PresenceChart(summary));
        const QChart* presence = presenceView.chart();
        QCOMPARE(presence->title(), QStringLiteral("Daily attendance rate, 3/2026"));
        auto* days = qobject_cast<QBarCategoryAxis*>(presence->axes(Qt::Horizontal).value(0));
        QVERIFY(days);
        // 2026-03-01 a Sunday, the 2nd a Monday.
        QCOMPARE(days->categories().value(0), QStringLiteral("1 rest"));
        QCOMPARE(days->categories().value(1), QStringLiteral("2"));
        for (const QString& c : days->categories())
            QVERIFY2(!HasChinese(c), qPrintable(c));
        auto* series = qobject_cast<QBarSeries*>(presence->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets().value(0)->label(), QStringLiteral("Attendance rate"));

        const QChartView lateView(SummaryCharts::LateChart(summary));
        const QChart* late = lateView.chart();
        QCOMPARE(late->title(), QStringLiteral("Late arrivals by department, 3/2026"));
        auto* lateSeries = qobject_cast<QBarSeries*>(late->series().value(0));
        QVERIFY(lateSeries);
        QCOMPARE(lateSeries->barSets().value(0)->label(), QStringLiteral("Late arrivals"));
    }

    // The attendance menu's entries are found by their names whatever
    // their captions, and do their work in English.
    void correctionMenusWorkInEnglish() {
        DialogAnswers answers;
        frmMain main;
        auto* menu = child<QMenu>(&main, "mnuAttendance");
        QCOMPARE(menu->title(), QStringLiteral("&Attendance"));
        for (const char* name :
             {"mnuCorrection", "mnuCorrectionTrail", "mnuCloseMonth", "mnuReopenMonth"}) {
            auto* action = main.findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(action, name);
            QVERIFY(menu->actions().contains(action));
        }

        for (const char* name : {"mnuCorrection", "mnuCorrectionTrail"}) {
            QString opened;
            OnNextModal([&opened](QWidget* d) {
                opened = d->objectName() + QLatin1Char('|') + d->windowTitle();
                d->close();
            });
            main.findChild<QAction*>(QString::fromLatin1(name))->trigger();
            QCOMPARE(opened, QString::fromLatin1(name).mid(3).prepend("frm") +
                                 (qstrcmp(name, "mnuCorrection") == 0
                                      ? QStringLiteral("|Attendance Correction")
                                      : QStringLiteral("|Correction Trail")));
        }

        // Closing February: asked in words first, then done; not reopened with a
        // wrong password (reopening itself: tst_correction).
        boxes.answer({MsgBox::Result::Yes});
        answers.text("2026-02");
        main.findChild<QAction*>("mnuCloseMonth")->trigger();
        QCOMPARE(answers.inputs.value(0).prompt, QStringLiteral("Month (year-month):"));
        QCOMPARE(boxes.lines(),
                 box("Close Month",
                     "Once 2/2026 is closed, its attendance records can no longer be added, "
                     "changed or removed; only reopening it with the administrator password "
                     "allows corrections again.\nClose 2/2026?",
                     MsgBox::Icon::Question) +
                     box("Close Month", "2/2026 is closed.", MsgBox::Icon::Information));
        QCOMPARE(fx->rows("MonthClose"), 1);
        boxes.clear();
        QVERIFY(SavePassword("123456"));
        answers.text("2026-02");
        answers.text("654321");
        main.findChild<QAction*>("mnuReopenMonth")->trigger();
        QCOMPARE(boxes.lines(), box("Warning", "The administrator password is wrong."));
        QCOMPARE(fx->rows("MonthClose"), 1);

        // A bar without an attendance menu gets one, before the help menu
        // found by its name under its English caption.
        QMenuBar bar;
        QMenu* help = bar.addMenu("&Help");
        help->setObjectName("mnuHelp");
        frmCorrection::AddMenu(&bar, &main);
        QCOMPARE(bar.actions().size(), 2);
        QCOMPARE(bar.actions().value(0)->text(), QStringLiteral("&Attendance"));
        QCOMPARE(bar.actions().value(1), help->menuAction());
    }
};

QTEST_MAIN(tst_english)
#include "tst_english.moc"
