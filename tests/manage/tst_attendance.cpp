// The attendance windows of the office program on a small prepared month:
// the summary's counts, numeric sorting and exports, the schedule and
// calendar editors (imports of other years, closing with edits not saved),
// today's absentees and the sign-ins without departure.
#include "session/MainSession.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/ReadBack.h"
#include "tests/common/TestProgramDir.h"
#include "tests/manage/helpers/ManageFixture.h"

#include "manage/frmAttendanceSummary.h"
#include "manage/frmMissingDeparture.h"
#include "manage/frmNotArrived.h"
#include "manage/frmWorkCalendar.h"
#include "manage/frmWorkSchedule.h"
#include "reports/summary/SummaryReport.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/base/AppClock.h"
#include "shared/exchange/CalendarFile.h"
#include "shared/records/clsCorrection.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtTest>
#include <QtWidgets>

namespace {

QDateTime at(int day, int h, int m) {
    return QDateTime(QDate(2026, 11, day), QTime(h, m));
}

// The rows of a table view as they are shown, cells joined by blanks.
QStringList tableRows(QAbstractItemView* view, int columns) {
    QStringList rows;
    const QAbstractItemModel* m = view->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << m->index(r, c).data().toString();
        rows << cells.join(QLatin1Char(' '));
    }
    return rows;
}

// How many calendar days are stored for `year`; -1 when they cannot be read.
int storedDays(int year) {
    WorkCalendar c;
    return AttendanceStore::LoadCalendar(MainSession::Get(), QDate(year, 1, 1), QDate(year, 12, 31),
                                         &c)
               ? int(c.Days().size())
               : -1;
}

// The day labels under the summary's presence chart.
QStringList presenceDays(QWidget* summary) {
    const QChart* chart = child<QChartView>(summary, "chvPresence")->chart();
    auto* x = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    return x ? x->categories() : QStringList();
}

// The chart's one bar set: each day's share present, in percent; none
// when the chart has another shape.
QList<qreal> presence(QWidget* summary) {
    const auto* bars = qobject_cast<QBarSeries*>(
        child<QChartView>(summary, "chvPresence")->chart()->series().value(0));
    QList<qreal> shares;
    for (int d = 0; bars && bars->barSets().size() == 1 && d < bars->barSets()[0]->count(); ++d)
        shares << bars->barSets()[0]->at(d);
    return shares;
}

} // namespace

class tst_Attendance : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    std::unique_ptr<BoxLog> boxes; // none where a test answers real boxes
    DialogAnswers dialogs;

private slots:
    // November 2026 begins on a Sunday; today is Friday the 6th, 10:00, so
    // the 2nd to the 5th count. 1001 is 20 minutes late on the 3rd, 1002
    // leaves no departure on the 4th and misses the 5th, 2001 (教务处) is 5
    // minutes late on the 2nd.
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(SeedOffice(*fx, {"1001", "1002"}));
        QVERIFY(fx->addEmployee("2001", "员工2001", "100000002001", 2));
        for (int day = 2; day <= 5; ++day) {
            QVERIFY(fx->addPresence("1001", at(day, 8, day == 3 ? 20 : 0), at(day, 17, 0)));
            QVERIFY(fx->addPresence("2001", at(day, day == 2 ? 8 : 7, day == 2 ? 5 : 50),
                                    at(day, 17, 0)));
            if (day < 5)
                QVERIFY(fx->addPresence("1002", at(day, 7, 58),
                                        day == 4 ? QDateTime() : at(day, 17, 30)));
        }
        AppClock::setFixed(at(6, 10, 0));
        boxes = std::make_unique<BoxLog>();
    }
    void cleanup() {
        boxes.reset();
        fx.reset();
    }

    void summaryCountsSortsAndExports() {
        // 1001's 2nd corrected to the times it had: a corrected day, the same counts.
        QCOMPARE(clsCorrection::Apply(MainSession::Get(),
                                      {clsCorrection::Action::Change, "1001", QDate(2026, 11, 2),
                                       QTime(8, 0), QTime(), QStringLiteral("核对")},
                                      {"clerk", "office", "manage"}),
                 clsCorrection::Result::Done);
        frmAttendanceSummary w; // counted on opening, 统计 not pressed
        auto* table = child<QTableView>(&w, "tblEmployees");
        // 工号 姓名 部门 应出勤 出勤 迟到次数 迟到分钟 早退次数 早退分钟 未签退 缺勤 工作时长
        // 修正天数
        QCOMPARE(tableRows(table, 13),
                 QStringList({"1001 员工1001 办公室 4 4 1 20 0 0 0 0 35:40 1",
                              "1002 员工1002 办公室 4 3 0 0 0 0 1 1 19:04 0",
                              "2001 员工2001 教务处 4 4 1 5 0 0 0 0 36:25 0"}));
        table->sortByColumn(6, Qt::DescendingOrder); // 20 before 5: as numbers
        QCOMPARE(tableRows(table, 1), QStringList({"1001", "2001", "1002"}));
        const QStringList totals = tableRows(child<QTableView>(&w, "tblTotals"), 9);
        QVERIFY(totals.contains("办公室 8 7 1 20 0 0 1 1"));
        QCOMPARE(totals.last(), QStringLiteral("全单位 12 11 2 25 0 0 1 1"));
        // The daily presence chart: two of three on the 5th.
        QCOMPARE(qRound(presence(&w).value(4, -1)), 67);

        // Exports never replace a file: the workbook is written once, then refused.
        const QString xlsx = fx->file("summary.xlsx");
        const QString pdf = fx->file("summary.pdf");
        for (const QString& path : {xlsx, xlsx, pdf})
            dialogs.path(path);
        child<QPushButton>(&w, "cmdExcel")->click();
        child<QPushButton>(&w, "cmdExcel")->click();
        child<QPushButton>(&w, "cmdPdf")->click();
        QCOMPARE(boxes->lines(),
                 box("信息", "Excel文件已导出！", MsgBox::Icon::Information) +
                     box("错误", QStringLiteral("导出Excel失败！\n文件“%1”已存在。").arg(xlsx)) +
                     box("信息", "PDF文件已导出！", MsgBox::Icon::Information));
        QCOMPARE(readFile(xlsx).left(2), QByteArray("PK"));
        QVERIFY(PdfText(pdf).contains("员工1001"));
        // Each heading read back from its cell: broken between words, never inside one.
        const QStringList heads =
            QString("编号 姓名 部门 应出勤|天数 出勤|天数 迟到|次数 迟到|分钟 早退|次数 早退|分钟 "
                    "未签退|次数 缺勤|天数 工作|时长 修正|天数")
                .split(' ');
        SummaryReport layout;
        for (int c = 0; c < heads.size(); ++c) {
            const QRect cell = QRect(layout.Control(QStringLiteral("lblHead%1").arg(c))->rect)
                                   .translated(850, 1134); // the page's margins
            QCOMPARE(PdfTextIn(pdf, 1, cell).split(u'\n', Qt::SkipEmptyParts).join(u'|'), heads[c]);
        }

        // Another month chosen is counted at once: October has no records.
        child<QComboBox>(&w, "cobMonth")->setCurrentIndex(9);
        QCOMPARE(TreeColumn(table, 4), QStringList({"0", "0", "0"}));
        QCOMPARE(TreeColumn(table, 3), QStringList({"22", "22", "22"}));
        QCOMPARE(child<QLabel>(&w, "lblState")->text(), QStringLiteral("2026年10月，3名员工"));
    }

    // A make-up workday nobody attended is a bar at 0 under its plain day
    // number; a holiday on a weekday and the weekends are marked.
    void presenceChartMarksDaysOff() {
        QVERIFY(AttendanceStore::ReplaceCalendarYears(
            MainSession::Get(), {2026},
            {{QDate(2026, 11, 1), CalendarKind::Workday, QStringLiteral("调休"), 1},
             {QDate(2026, 11, 5), CalendarKind::Holiday, QStringLiteral("假日")},
             {QDate(2026, 11, 9), CalendarKind::Holiday, QStringLiteral("假日")}}));
        frmAttendanceSummary w;
        QCOMPARE(presenceDays(&w).mid(0, 10),
                 QStringList({"1", "2", "3", "4", "5假", "6", "7休", "8休", "9假", "10"}));
        const QList<qreal> shares = presence(&w);
        QCOMPARE(shares.value(0, -1), 0.0);
        QCOMPARE(shares.value(1), 100.0);
    }

    void scheduleEditorChecksAndSavesADepartment() {
        frmWorkSchedule w;
        auto* scope = child<QComboBox>(&w, "cobScope");
        scope->setCurrentIndex(scope->findText("教务处"));
        QVERIFY(child<QCheckBox>(&w, "chkFollowUnit")->isChecked());
        QVERIFY(!child<QTimeEdit>(&w, "tmeEnd3")->isEnabled());
        child<QCheckBox>(&w, "chkFollowUnit")->setChecked(false);
        child<QTimeEdit>(&w, "tmeEnd3")->setTime(QTime(7, 30));
        child<QPushButton>(&w, "cmdSave")->click();
        QCOMPARE(boxes->lines(), box("警告", "教务处 星期三：下班时间必须晚于上班时间！"));

        // A grace typed above 240 minutes stays as typed and is refused with
        // the reason; 240 itself is taken.
        boxes->clear();
        child<QTimeEdit>(&w, "tmeEnd3")->setTime(QTime(16, 30));
        auto* grace = child<QSpinBox>(&w, "spnEarlyGrace3");
        grace->selectAll();
        QTest::keyClicks(grace, "241");
        QCOMPARE(grace->value(), 241);
        child<QPushButton>(&w, "cmdSave")->click();
        QCOMPARE(boxes->lines(), box("警告", "教务处 星期三：宽限时间应在0到240分钟之间！"));
        grace->selectAll();
        QTest::keyClicks(grace, "240");

        boxes->clear();
        child<QSpinBox>(&w, "spnLateGrace3")->setValue(10);
        child<QPushButton>(&w, "cmdSave")->click();
        QCOMPARE(boxes->lines(), box("信息", "作息时间已保存！", MsgBox::Icon::Information));
        ScheduleBook book;
        QVERIFY(AttendanceStore::LoadSchedules(MainSession::Get(), &book));
        QCOMPARE(book.departments.size(), size_t(1));
        QCOMPARE(book.For("教务处").Day(3).end, QTime(16, 30));
        QCOMPARE(book.For("教务处").Day(3).lateGrace, 10);
        QCOMPARE(book.For("教务处").Day(3).earlyGrace, 240);
        QCOMPARE(book.For("办公室").Day(3).end, QTime(17, 0));
    }

    void calendarRangeAddsEveryDay() {
        frmWorkCalendar w;
        child<QDateEdit>(&w, "dtpFrom")->setDate(QDate(2026, 10, 1));
        child<QDateEdit>(&w, "dtpTo")->setDate(QDate(2026, 10, 7));
        child<QLineEdit>(&w, "txtName")->setText("国庆节");
        child<QPushButton>(&w, "cmdAdd")->click();
        auto* list = child<QTreeWidget>(&w, "lsvDates");
        QCOMPARE(list->topLevelItemCount(), 7);
        QCOMPARE(TreeColumn(list, 0).last() + TreeColumn(list, 1).last() +
                     TreeColumn(list, 2).last(),
                 QStringLiteral("2026-10-07节假日国庆节"));
        child<QPushButton>(&w, "cmdSave")->click();
        QCOMPARE(storedDays(2026), 7);

        // Exported, removed and imported again: the edit is given up when the
        // user agrees, and the file's dates are stored at once.
        const QString csv = fx->file("calendar.csv");
        dialogs.path(csv);
        child<QPushButton>(&w, "cmdExport")->click();
        list->selectAll();
        child<QPushButton>(&w, "cmdRemove")->click();
        QCOMPARE(list->topLevelItemCount(), 0);
        boxes->clear();
        boxes->answer({MsgBox::Result::No, MsgBox::Result::Yes});
        dialogs.path(csv);
        child<QPushButton>(&w, "cmdImport")->click(); // 否: the edit stays
        QCOMPARE(list->topLevelItemCount(), 0);
        dialogs.path(csv);
        child<QPushButton>(&w, "cmdImport")->click(); // 是
        QCOMPARE(TreeColumn(list, 0).first(), QStringLiteral("2026-10-01"));
        const QString drop = QStringLiteral("2026年的修改尚未保存，放弃这些修改吗？");
        QCOMPARE(boxes->lines(),
                 box("询问", drop, MsgBox::Icon::Question) +
                     box("询问", drop, MsgBox::Icon::Question) +
                     box("信息", "已导入并保存2026年7个日期；文件中没有的年份未改变。",
                         MsgBox::Icon::Information));
    }

    // A file of other years replaces exactly those years and shows them; the
    // year on show before, and every year the file does not name, stay.
    void calendarImportTouchesOnlyTheFilesYears() {
        const auto day = [](int y, int m, int d, const char* name) {
            return CalendarDay{QDate(y, m, d), CalendarKind::Holiday, QString::fromUtf8(name)};
        };
        QVERIFY(AttendanceStore::ReplaceCalendarYears(
            MainSession::Get(), {2026},
            {day(2026, 1, 1, "元旦"), day(2026, 5, 1, "劳动节"), day(2026, 5, 2, "劳动节"),
             day(2026, 10, 1, "国庆节"), day(2026, 10, 2, "国庆节")}));
        const QString next = fx->writeFile(
            "2027.csv", CalendarFile::Bytes({day(2027, 1, 1, "元旦"), day(2027, 5, 1, "劳动节")}));
        const QString farAndThis = fx->writeFile(
            "2026-2030.csv",
            CalendarFile::Bytes({day(2026, 12, 31, "测试"), day(2030, 1, 1, "元旦")}));

        frmWorkCalendar w;
        auto* list = child<QTreeWidget>(&w, "lsvDates");
        auto* year = child<QComboBox>(&w, "cobYear");
        QCOMPARE(list->topLevelItemCount(), 5);
        dialogs.path(next);
        child<QPushButton>(&w, "cmdImport")->click();
        QCOMPARE(boxes->lines(), box("信息", "已导入并保存2027年2个日期；文件中没有的年份未改变。",
                                     MsgBox::Icon::Information));
        QCOMPARE(year->currentText(), QStringLiteral("2027"));
        QCOMPARE(TreeColumn(list, 0), QStringList({"2027-01-01", "2027-05-01"}));
        QCOMPARE(storedDays(2026), 5);
        QCOMPARE(storedDays(2027), 2);

        // Back on 2026: a file naming it and a year beyond the list.
        year->setCurrentIndex(year->findText("2026"));
        QCOMPARE(list->topLevelItemCount(), 5);
        boxes->clear();
        dialogs.path(farAndThis);
        child<QPushButton>(&w, "cmdImport")->click();
        QCOMPARE(boxes->lines(),
                 box("信息", "已导入并保存2026年1个日期、2030年1个日期；文件中没有的年份未改变。",
                     MsgBox::Icon::Information));
        QCOMPARE(year->currentText(), QStringLiteral("2026"));
        QCOMPARE(TreeColumn(list, 0), QStringList({"2026-12-31"}));
        QCOMPARE(storedDays(2027), 2);
        QCOMPARE(storedDays(2030), 1);
        QCOMPARE(year->itemText(year->count() - 1), QStringLiteral("2030"));
        child<QPushButton>(&w, "cmdSave")->click(); // saves what it shows, 2026 alone
        QCOMPARE(storedDays(2026), 1);
        QCOMPARE(storedDays(2027), 2);

        // A file of no dates names no year: nothing is replaced.
        boxes->clear();
        dialogs.path(fx->writeFile("none.csv", CalendarFile::Bytes({})));
        child<QPushButton>(&w, "cmdImport")->click();
        QCOMPARE(boxes->lines(), box("警告", "日历文件中没有日期，未做任何修改。"));
        QCOMPARE(storedDays(2026) + storedDays(2027) + storedDays(2030), 4);
    }

    // A make-up workday is for a weekend day: Monday to Friday are refused
    // when added and told of when imported; a file naming a date twice is
    // refused with that cause.
    void calendarMakeUpWorkdaysAndDuplicates() {
        frmWorkCalendar w;
        auto* list = child<QTreeWidget>(&w, "lsvDates");
        auto* kind = child<QComboBox>(&w, "cobKind");
        kind->setCurrentIndex(kind->findText("调休上班"));
        const auto add = [&w](QDate from, QDate to) {
            child<QDateEdit>(&w, "dtpFrom")->setDate(from);
            child<QDateEdit>(&w, "dtpTo")->setDate(to);
            child<QPushButton>(&w, "cmdAdd")->click();
        };
        add(QDate(2026, 12, 23), QDate(2026, 12, 23)); // a Wednesday
        add(QDate(2026, 12, 18), QDate(2026, 12, 19)); // Friday and Saturday
        add(QDate(2026, 12, 19), QDate(2026, 12, 21)); // Saturday to Monday
        add(QDate(2026, 12, 7), QDate(2026, 12, 12));  // Monday to Saturday
        QCOMPARE(boxes->lines(), box("警告", "2026-12-23是工作日，不需要设为调休上班。") +
                                     box("警告", "2026-12-18是工作日，不需要设为调休上班。") +
                                     box("警告", "2026-12-21是工作日，不需要设为调休上班。") +
                                     box("警告", "2026-12-07、2026-12-08、2026-12-09等5天是工作日，"
                                                 "不需要设为调休上班。"));
        QCOMPARE(list->topLevelItemCount(), 0);
        add(QDate(2026, 12, 19), QDate(2026, 12, 20)); // the weekend alone
        QCOMPARE(TreeColumn(list, 0), QStringList({"2026-12-19", "2026-12-20"}));
        kind->setCurrentIndex(kind->findText("节假日"));
        add(QDate(2026, 12, 23), QDate(2026, 12, 23)); // a holiday on a weekday is fine
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(boxes->size(), 4);
        child<QPushButton>(&w, "cmdSave")->click();

        boxes->clear();
        const QByteArray header = CalendarFile::Header().toUtf8() + "\r\n";
        dialogs.path(fx->writeFile("twice.csv", header + "2027-12-25,holiday,圣诞\r\n"
                                                         "2027-12-25,holiday,圣诞\r\n"));
        child<QPushButton>(&w, "cmdImport")->click();
        dialogs.path(fx->writeFile("bad.csv", header + "2027-12-25,holiday,圣诞\r\n"
                                                       "2027-12-32,holiday,圣诞\r\n"));
        child<QPushButton>(&w, "cmdImport")->click();
        QCOMPARE(boxes->lines(), box("错误", "导入失败！日历文件第3行：日期 2027-12-25 重复。") +
                                     box("错误", "导入失败！日历文件第3行格式不正确。"));

        // Stored as the file says, as the command line does, and told.
        boxes->clear();
        dialogs.path(fx->writeFile("makeup.csv", header + "2027-01-08,workday,元旦,1\r\n"
                                                          "2027-01-09,workday,元旦,1\r\n"));
        child<QPushButton>(&w, "cmdImport")->click();
        QCOMPARE(boxes->lines(), box("信息",
                                     "已导入并保存2027年2个日期；文件中没有的年份未改变。\n"
                                     "注意：2027-01-08是工作日，设为调休上班不起作用。",
                                     MsgBox::Icon::Information));
        QCOMPARE(TreeColumn(list, 0), QStringList({"2027-01-08", "2027-01-09"}));
    }

    // Escape, 退出 and the close box with edits not saved ask first, in real
    // boxes: 否 keeps the window and the edits, 是 closes without saving.
    void editorsAskBeforeDroppingEdits() {
        boxes.reset();
        QStringList asked;
        const auto answerNext = [&asked](const char* button, const char* window) {
            OnNextModal(
                [&asked, button](QWidget* w) {
                    auto* box = qobject_cast<QMessageBox*>(w);
                    QVERIFY(box);
                    asked << box->text();
                    for (QAbstractButton* b : box->buttons())
                        if (b->text() == QString::fromUtf8(button))
                            b->click();
                },
                window);
        };
        {
            frmWorkCalendar w;
            w.show();
            child<QDateEdit>(&w, "dtpFrom")->setDate(QDate(2026, 12, 24));
            child<QDateEdit>(&w, "dtpTo")->setDate(QDate(2026, 12, 24));
            child<QPushButton>(&w, "cmdAdd")->click();
            answerNext("否", "frmWorkCalendar");
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(w.isVisible());
            QCOMPARE(child<QTreeWidget>(&w, "lsvDates")->topLevelItemCount(), 1);
            answerNext("是", "frmWorkCalendar");
            child<QPushButton>(&w, "cmdQuit")->click();
            QVERIFY(!w.isVisible());
            QCOMPARE(asked, QStringList(2, "2026年的修改尚未保存，放弃这些修改吗？"));
        }
        QCOMPARE(storedDays(2026), 0);

        asked.clear();
        {
            frmWorkSchedule w;
            w.show();
            QTest::keyClick(&w, Qt::Key_Escape); // nothing changed: closes at once
            QVERIFY(!w.isVisible());
            w.show();
            child<QSpinBox>(&w, "spnLateGrace1")->setValue(5);
            answerNext("否", "frmWorkSchedule");
            w.close(); // the close box
            QVERIFY(w.isVisible());
            answerNext("是", "frmWorkSchedule");
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
            QCOMPARE(asked, QStringList(2, "作息时间的修改尚未保存，放弃这些修改吗？"));
        }
        {
            // An edit undone by hand is no edit; a saved one neither.
            BoxLog log;
            frmWorkSchedule w;
            w.show();
            child<QSpinBox>(&w, "spnLateGrace1")->setValue(5);
            child<QSpinBox>(&w, "spnLateGrace1")->setValue(0);
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
            w.show();
            child<QSpinBox>(&w, "spnLateGrace1")->setValue(5);
            child<QPushButton>(&w, "cmdSave")->click();
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
            QCOMPARE(log.lines(), box("信息", "作息时间已保存！", MsgBox::Icon::Information));
        }
    }

    void actionLists() {
        QVERIFY(fx->addPresence("2001", at(6, 7, 45)));
        frmNotArrived absent;
        QCOMPARE(TreeColumn(child<QTreeWidget>(&absent, "lsvList"), 1),
                 QStringList({"1001", "1002"}));
        QCOMPARE(absent.windowTitle(), QStringLiteral("今日未到（2人）"));

        frmMissingDeparture open;
        QCOMPARE(child<QDateEdit>(&open, "dtpFrom")->date(), QDate(2026, 11, 1));
        QCOMPARE(child<QDateEdit>(&open, "dtpTo")->date(), QDate(2026, 11, 5));
        auto* list = child<QTreeWidget>(&open, "lsvList");
        QCOMPARE(TreeColumn(list, 0) + TreeColumn(list, 3),
                 QStringList({"1002", "2026-11-04 07:58"}));
        QVERIFY(boxes->isEmpty());
    }
};

QTEST_MAIN(tst_Attendance)
#include "tst_attendance.moc"
