// The corrections window: 补签 with a reason, an empty reason refused, an
// entry refused before its reason is asked, the corrected day confirmed,
// kept selected and marked; the month's closing asked first; the trail
// window's filters and export (the menu entries: tst_english).
#include "session/MainSession.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/ReadBack.h"
#include "tests/common/TestProgramDir.h"

#include "manage/frmCorrection.h"
#include "manage/frmCorrectionTrail.h"
#include "shared/base/AppClock.h"
#include "shared/base/CsvText.h"
#include "shared/config/PasswordModule.h"
#include "shared/db/DbDateTime.h"
#include "shared/records/clsMonthClose.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Shows the days of `number` from `from` to `to` in the window.
QTreeWidget* load(frmCorrection& w, const char* number, const QDate& from, const QDate& to) {
    child<QLineEdit>(&w, "txtNumber")->setText(QString::fromLatin1(number));
    child<QDateEdit>(&w, "dtFrom")->setDate(from);
    child<QDateEdit>(&w, "dtTo")->setDate(to);
    child<QPushButton>(&w, "btnLoad")->click();
    return child<QTreeWidget>(&w, "lsvDays");
}

void times(frmCorrection& w, const QTime& arrival, const QTime& departure) {
    child<QCheckBox>(&w, "chkArrival")->setChecked(arrival.isValid());
    child<QCheckBox>(&w, "chkDeparture")->setChecked(departure.isValid());
    if (arrival.isValid())
        child<QTimeEdit>(&w, "tmArrival")->setTime(arrival);
    if (departure.isValid())
        child<QTimeEdit>(&w, "tmDeparture")->setTime(departure);
}

clsCorrection::Operator clerk() {
    return {"clerk", "office", "manage"};
}

} // namespace

class tst_Correction : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

private slots:
    // Employees 7 张三 and 8 李四 of department 1 办公室, today Friday
    // 2026-11-20 18:00.
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        AppClock::setFixed(QDateTime(QDate(2026, 11, 20), QTime(18, 0)));
        QVERIFY(fx->addDept(1, "办公室") && fx->addEmployee("7", "张三", "7", 1) &&
                fx->addEmployee("8", "李四", "8", 1));
    }
    void cleanup() { fx.reset(); }

    void addWithReasonRefuseWithout() {
        BoxLog boxes;
        DialogAnswers answers;
        frmCorrection w;
        auto* list = load(w, "7", QDate(2026, 11, 2), QDate(2026, 11, 3));
        QCOMPARE(list->topLevelItemCount(), 2);
        list->setCurrentItem(list->topLevelItem(1));
        times(w, QTime(8, 5), QTime());
        answers.text("忘记打卡");
        child<QPushButton>(&w, "btnAdd")->click();
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.lines()));
        QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("08:05:00"));
        QCOMPARE(fx->rows("Correction WHERE ACTION = 'add' AND REASON = '忘记打卡' AND "
                          "NEWENTER = '2026-11-03 08:05:00' AND PROGRAM <> ''"),
                 1);
        list->setCurrentItem(list->topLevelItem(1));
        answers.text("  ");
        child<QPushButton>(&w, "btnRemove")->click();
        QCOMPARE(boxes.lines(), box("警告", "必须填写修正原因。"));
        QCOMPARE(fx->rows("Presence") + fx->rows("Correction"), 2);
        // A day with a record of another tool beside the corrected one says so.
        QVERIFY(fx->addPresence("7", QDateTime(QDate(2026, 11, 3), QTime(19, 0))));
        child<QPushButton>(&w, "btnLoad")->click();
        QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("08:05:00"));
        QCOMPARE(list->topLevelItem(1)->text(6), QStringLiteral("另有1条"));
        QCOMPARE(list->topLevelItem(0)->text(6), QString());
    }

    // A departure before the arrival, no time ticked, a closed month, a day
    // without a record: refused at once, no reason asked, nothing written.
    void refusedBeforeTheReasonIsAsked() {
        QVERIFY(fx->addPresence("7", QDateTime(QDate(2026, 11, 2), QTime(8, 0)),
                                QDateTime(QDate(2026, 11, 2), QTime(17, 0))));
        QVERIFY(fx->addPresence("7", QDateTime(QDate(2026, 10, 30), QTime(8, 0))));
        QCOMPARE(clsMonthClose::Close(MainSession::Get(), 2026, 10, clerk()),
                 clsCorrection::Result::Done);
        BoxLog boxes;
        DialogAnswers answers;
        frmCorrection w;
        auto* list = load(w, "7", QDate(2026, 11, 2), QDate(2026, 11, 3));
        list->setCurrentItem(list->topLevelItem(0));
        times(w, QTime(9, 0), QTime(8, 59));
        child<QPushButton>(&w, "btnChange")->click();
        times(w, QTime(), QTime(8, 0)); // the stored arrival is 08:00: not after it
        child<QPushButton>(&w, "btnChange")->click();
        times(w, QTime(), QTime());
        child<QPushButton>(&w, "btnChange")->click();
        list->setCurrentItem(list->topLevelItem(1));
        child<QPushButton>(&w, "btnRemove")->click();
        load(w, "7", QDate(2026, 11, 20), QDate(2026, 11, 20));
        times(w, QTime(18, 1), QTime()); // a minute after now
        child<QPushButton>(&w, "btnAdd")->click();
        load(w, "7", QDate(2026, 10, 30), QDate(2026, 10, 30));
        times(w, QTime(), QTime(17, 0));
        child<QPushButton>(&w, "btnAdd")->click();
        QCOMPARE(boxes.lines(),
                 box("警告", "签退时间必须晚于签到时间。") +
                     box("警告", "签退时间必须晚于签到时间。") +
                     box("警告", "请勾选签到或签退时间。") + box("警告", "这一天没有考勤记录。") +
                     box("警告", "不能记录晚于现在的时间。") + box("警告", "2026年10月已月结"));
        QVERIFY(answers.inputs.isEmpty());
        QCOMPARE(fx->rows("Correction WHERE ACTION <> 'close'"), 0);

        // The boundary: a departure one minute after the arrival is taken,
        // and only then is the reason asked.
        boxes.clear();
        load(w, "7", QDate(2026, 11, 2), QDate(2026, 11, 3));
        list->setCurrentItem(list->topLevelItem(0));
        times(w, QTime(), QTime(8, 1));
        answers.text("早退登记");
        child<QPushButton>(&w, "btnChange")->click();
        QCOMPARE(answers.inputs.size(), 1);
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.lines()));
        QCOMPARE(list->topLevelItem(0)->text(4), QStringLiteral("08:01:00"));
    }

    // After a correction the status bar confirms it, the corrected day stays
    // selected and the list marks the corrected days (补 added, 改 changed).
    // The reason is typed into the real input box.
    void correctedDayConfirmedSelectedAndMarked() {
        QVERIFY(fx->addPresence("7", QDateTime(QDate(2026, 11, 3), QTime(8, 30)),
                                QDateTime(QDate(2026, 11, 3), QTime(17, 0))));
        BoxLog boxes;
        frmCorrection w;
        auto* list = load(w, "7", QDate(2026, 11, 2), QDate(2026, 11, 4));
        auto* status = child<QStatusBar>(&w, "sbrStatus");
        const auto typeReason = [](const QString& reason) {
            OnNextModal([reason](QWidget* d) {
                auto* input = qobject_cast<QInputDialog*>(d);
                QVERIFY(input);
                input->setTextValue(reason);
                input->accept();
            });
        };
        list->setCurrentItem(list->topLevelItem(2));
        times(w, QTime(8, 10), QTime(17, 5));
        typeReason("外出培训");
        child<QPushButton>(&w, "btnAdd")->click();
        QCOMPARE(list->currentItem(), list->topLevelItem(2));
        QCOMPARE(status->currentMessage(), QStringLiteral("2026-11-04 张三（7）的考勤已补签。"));

        list->setCurrentItem(list->topLevelItem(1));
        times(w, QTime(8, 0), QTime());
        typeReason("打卡机故障");
        child<QPushButton>(&w, "btnChange")->click();
        QCOMPARE(list->currentItem(), list->topLevelItem(1));
        QCOMPARE(status->currentMessage(), QStringLiteral("2026-11-03 张三（7）的考勤已修改。"));
        QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("08:00:00"));
        QCOMPARE(TreeColumn(list, 5), QStringList({"", "改", "补"}));
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.lines()));
    }

    // 月结 asks first, in a real box (否: nothing closed); its result box is
    // titled 月结, the reopening's 取消月结.
    void closingAMonthAsksFirst() {
        DialogAnswers answers;
        const QString question = QStringLiteral(
            "月结后，2026年10月的考勤记录不能再补签、修改或删除，只有输入管理员密码取消月结后才能"
            "再修正。\n确定要月结2026年10月吗？");
        {
            QString asked;
            OnNextModal([&asked](QWidget* d) {
                auto* box = qobject_cast<QMessageBox*>(d);
                QVERIFY(box);
                asked = box->windowTitle() + QLatin1Char('|') + box->text();
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == QStringLiteral("否"))
                        b->click();
            });
            answers.text("2026-10");
            frmCorrection::CloseMonth(nullptr);
            QCOMPARE(asked, QStringLiteral("月结|") + question);
            QCOMPARE(fx->rows("MonthClose"), 0);
        }
        BoxLog boxes;
        boxes.answer({MsgBox::Result::Yes});
        answers.text("2026-10");
        frmCorrection::CloseMonth(nullptr);
        QCOMPARE(boxes.lines(), box("月结", question, MsgBox::Icon::Question) +
                                    box("月结", "2026年10月已月结。", MsgBox::Icon::Information));
        QCOMPARE(fx->rows("MonthClose"), 1);
        boxes.clear();
        QVERIFY(SavePassword("123456"));
        answers.text("2026-10");
        answers.text("123456");
        frmCorrection::ReopenMonth(nullptr);
        QCOMPARE(boxes.lines(),
                 box("取消月结", "2026年10月已取消月结。", MsgBox::Icon::Information));
        QCOMPARE(fx->rows("MonthClose"), 0);
    }

    // The trail between two dates, of everybody or one employee, with the
    // actions in Chinese; exported as CSV, read back, never over a file.
    void trailFiltersAndExports() {
        QVERIFY(fx->addPresence("8", QDateTime(QDate(2026, 10, 9), QTime(8, 20))));
        using Action = clsCorrection::Action;
        const auto correct = [](Action action, const char* number, const QDate& day,
                                const QTime& in, const QTime& out, const char* reason,
                                const QDateTime& when) {
            AppClock::setFixed(when);
            return clsCorrection::Apply(MainSession::Get(),
                                        {action, QString::fromLatin1(number), day, in, out,
                                         QString::fromUtf8(reason)},
                                        clerk()) == clsCorrection::Result::Done;
        };
        const QDateTime oct12(QDate(2026, 10, 12), QTime(9, 0));
        const QDateTime nov2(QDate(2026, 11, 2), QTime(9, 0));
        QVERIFY(correct(Action::Add, "7", QDate(2026, 10, 9), QTime(8, 0), QTime(17, 0),
                        "忘记打卡, \"补\"", oct12));
        QVERIFY(
            correct(Action::Change, "8", QDate(2026, 10, 9), QTime(8, 0), QTime(), "=1+1", oct12));
        QVERIFY(correct(Action::Remove, "7", QDate(2026, 10, 9), QTime(), QTime(), "重复", nov2));
        QCOMPARE(clsMonthClose::Close(MainSession::Get(), 2026, 10, clerk()),
                 clsCorrection::Result::Done);
        if (TestProgramDir::OnServer()) {
            // The server stamps its trail rows with its own clock: set back
            // to the times the clerk worked at, as the tables' owner may.
            const QDateTime stamps[] = {oct12, oct12, nov2, nov2};
            for (int id = 1; id <= 4; ++id)
                QVERIFY(fx->exec("UPDATE Correction SET CTIME = ? WHERE ID = ?",
                                 {DbDateTime::ToText(stamps[id - 1]), id}));
        }
        AppClock::setFixed(QDateTime(QDate(2026, 11, 20), QTime(18, 0)));

        BoxLog boxes;
        DialogAnswers answers;
        frmCorrectionTrail w;
        auto* list = child<QTreeWidget>(&w, "lsvTrail");
        const auto column = [list](int c) { return TreeColumn(list, c); };
        // Opened on last month and this one: everything, in the order written.
        QCOMPARE(column(1), QStringList({"补签", "修改", "删除", "月结"}));
        QCOMPARE(column(3), QStringList({"2026-10-09", "2026-10-09", "2026-10-09", "2026-10"}));
        QCOMPARE(column(4) + column(6),
                 QStringList({"", "08:20:00", "08:00:00", "", "08:00:00", "08:00:00", "", ""}));
        QCOMPARE(child<QLabel>(&w, "lblCount")->text(), QStringLiteral("共4条记录"));

        child<QLineEdit>(&w, "txtNumber")->setText("7");
        child<QPushButton>(&w, "cmdQuery")->click();
        QCOMPARE(column(1), QStringList({"补签", "删除"}));
        child<QLineEdit>(&w, "txtNumber")->clear();
        child<QDateEdit>(&w, "dtpFrom")->setDate(QDate(2026, 10, 13));
        child<QPushButton>(&w, "cmdQuery")->click();
        QCOMPARE(column(1), QStringList({"删除", "月结"}));
        child<QDateEdit>(&w, "dtpFrom")->setDate(QDate(2026, 10, 12)); // the first day counts
        child<QDateEdit>(&w, "dtpTo")->setDate(QDate(2026, 10, 12));   // and the last
        child<QPushButton>(&w, "cmdQuery")->click();
        QCOMPARE(column(1), QStringList({"补签", "修改"}));
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.lines()));

        const QString csv = fx->file("trail.csv");
        answers.path(csv);
        answers.path(csv);
        child<QPushButton>(&w, "cmdExport")->click();
        child<QPushButton>(&w, "cmdExport")->click();
        QCOMPARE(boxes.lines(),
                 box("信息", "修正记录已导出！共2条。", MsgBox::Icon::Information) +
                     box("错误", QStringLiteral("导出失败！\n文件“%1”已存在。").arg(csv)));
        QStringList lines;
        QVERIFY(CsvText::Lines(readFile(csv), &lines));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(CsvText::Split(lines[0]).mid(0, 4), QStringList({"时间", "操作", "工号", "日期"}));
        const QStringList first = CsvText::Split(lines[1]);
        QCOMPARE(first.mid(0, 9), QStringList({"2026-10-12 09:00:00", "补签", "7", "2026-10-09", "",
                                               "", "08:00:00", "17:00:00", "忘记打卡, \"补\""}));
        // A server names its login as the operator, the clerk's own with the PC.
        QCOMPARE(first.mid(9), TestProgramDir::OnServer()
                                   ? QStringList({fx->server()->user(), "clerk@office", "manage"})
                                   : QStringList({"clerk", "office", "manage"}));
        QCOMPARE(CsvText::Split(lines[2]).value(8), QStringLiteral("=1+1"));
        QVERIFY(lines[2].contains("'=1+1")); // kept as text in a spreadsheet
    }
};

QTEST_MAIN(tst_Correction)
#include "tst_correction.moc"
