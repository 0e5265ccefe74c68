// The corrections window: 补签 with a reason, an empty reason refused; its menu entries.
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/TestProgramDir.h"

#include "manage/frmCorrection.h"
#include "manage/frmMain.h"
#include "shared/base/AppClock.h"

#include <QtTest>
#include <QtWidgets>

class tst_Correction : public QObject {
    Q_OBJECT

private slots:
    void addWithReasonRefuseWithout() {
        TestProgramDir fx;
        QVERIFY2(fx.init(), qPrintable(fx.lastError));
        QVERIFY(
            fx.addDept(1, QStringLiteral("办公室")) &&
            fx.addEmployee(QStringLiteral("7"), QStringLiteral("张三"), QStringLiteral("7"), 1));
        AppClock::setFixed(QDateTime(QDate(2026, 11, 20), QTime(18, 0)));
        BoxLog boxes;
        DialogAnswers answers;
        frmCorrection w;
        child<QLineEdit>(&w, "txtNumber")->setText(QStringLiteral("7"));
        child<QDateEdit>(&w, "dtFrom")->setDate(QDate(2026, 11, 2));
        child<QDateEdit>(&w, "dtTo")->setDate(QDate(2026, 11, 3));
        child<QPushButton>(&w, "btnLoad")->click();
        auto* list = child<QTreeWidget>(&w, "lsvDays");
        QCOMPARE(list->topLevelItemCount(), 2);
        list->setCurrentItem(list->topLevelItem(1));
        child<QCheckBox>(&w, "chkArrival")->setChecked(true);
        child<QTimeEdit>(&w, "tmArrival")->setTime(QTime(8, 5));
        answers.text(QStringLiteral("忘记打卡"));
        child<QPushButton>(&w, "btnAdd")->click();
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.lines()));
        QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("08:05:00"));
        QCOMPARE(fx.rows("Correction WHERE ACTION = 'add' AND REASON = '忘记打卡' AND "
                         "NEWENTER = '2026-11-03 08:05:00' AND PROGRAM <> ''"),
                 1);
        list->setCurrentItem(list->topLevelItem(1));
        answers.text(QStringLiteral("  "));
        child<QPushButton>(&w, "btnRemove")->click();
        QCOMPARE(boxes.lines(), box("警告", "必须填写修正原因。"));
        QCOMPARE(fx.rows("Presence") + fx.rows("Correction"), 2);
        // A day with a record of another tool beside the corrected one says so.
        QVERIFY(fx.addPresence(QStringLiteral("7"), QDateTime(QDate(2026, 11, 3), QTime(19, 0))));
        child<QPushButton>(&w, "btnLoad")->click();
        QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("08:05:00"));
        QCOMPARE(list->topLevelItem(1)->text(5), QStringLiteral("另有1条"));
        QCOMPARE(list->topLevelItem(0)->text(5), QString());

        frmMain main;
        QVERIFY(main.findChild<QAction*>(QStringLiteral("mnuCorrection")) &&
                main.findChild<QAction*>(QStringLiteral("mnuCloseMonth")) &&
                main.findChild<QAction*>(QStringLiteral("mnuReopenMonth")));
    }
};

QTEST_MAIN(tst_Correction)
#include "tst_correction.moc"
