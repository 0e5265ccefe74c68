// The department dialogs: adding with its refusals, renaming with its cases.
#include "tests/common/BoxLog.h"
#include "tests/common/TestProgramDir.h"

#include "manage/frmDeptAppend.h"
#include "manage/frmDeptEdit.h"

#include <QtTest>
#include <QtWidgets>

class tst_DeptDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;

    QString nameOf(int id) {
        frmDeptEdit probe;
        probe.setDeptID(QString::number(id));
        return child<QLineEdit>(&probe, "txtOldName")->text();
    }

    // Types `text` into the add dialog and presses 确认, no boxes before.
    void add(frmDeptAppend& d, const QString& text) {
        boxes.clear();
        child<QLineEdit>(&d, "txtDeptName")->setText(text);
        child<QPushButton>(&d, "btnOK")->click();
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "办公室") && fx->addDept(2, "教务处"));
        boxes.clear();
    }
    void cleanup() { fx.reset(); }

    void addTrimsAndRefusesDuplicatesAndBlanks() {
        frmDeptAppend d;
        d.show();
        add(d, "   ");
        QCOMPARE(boxes.lines(), box("警告", "请输入部门名称！"));
        QVERIFY(d.isVisible());
        QCOMPARE(child<QLineEdit>(&d, "txtDeptName")->text(), QStringLiteral("   "));

        add(d, "  办公室 ");
        QCOMPARE(boxes.lines(), box("警告", "部门名称已经存在，请重新输入！"));
        QVERIFY(d.isVisible());
        QVERIFY(!d.Appended());

        add(d, "  后勤部  ");
        QVERIFY(boxes.isEmpty() && d.Appended() && !d.isVisible());
        QCOMPARE(fx->rows("Dept WHERE DNAME = '后勤部'"), 1);

        frmDeptAppend again;
        child<QPushButton>(&again, "btnCancel")->click();
        QVERIFY(!again.Appended());
        QCOMPARE(fx->rows("Dept"), 3);

        // A failing store is reported and the dialog stays.
        QVERIFY(fx->exec("DROP TABLE Dept"));
        frmDeptAppend failing;
        failing.show();
        add(failing, "财务部");
        QCOMPARE(boxes.lines(), box("错误", "追加部门失败！"));
        QVERIFY(failing.isVisible() && !failing.Appended());
    }

    void renameCases_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<bool>("removed"); // department 1 removed meanwhile
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("names"); // of departments 1 and 2 afterwards
        const QByteArray ok("btnOK");
        const QString kept = QStringLiteral("办公室 教务处");
        QTest::newRow("empty") << "  " << ok << false << box("警告", "请输入新的部门名称！")
                               << false << kept;
        QTest::newRow("same") << " 办公室 " << ok << false
                              << box("警告", "新的部门名称不能与原名称相同！") << false << kept;
        QTest::newRow("new name") << " 校长室 " << ok << false << "" << true << "校长室 教务处";
        // The look-up of the new name finds the other department: the update
        // lands there unchanged and this one keeps its name.
        QTest::newRow("other's name") << "教务处" << ok << false << "" << true << kept;
        QTest::newRow("cancel") << "甲" << QByteArray("btnCanCel") << false << "" << false << kept;
        QTest::newRow("removed meanwhile")
            << "乙" << ok << true << box("错误", "更新失败！") << false << " 教务处";
    }
    void renameCases() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, button);
        QFETCH(bool, removed);
        frmDeptEdit d;
        d.setDeptID("1");
        d.show();
        QLineEdit* oldName = child<QLineEdit>(&d, "txtOldName");
        QCOMPARE(oldName->text(), QStringLiteral("办公室"));
        QVERIFY(!oldName->isEnabled());
        if (removed)
            QVERIFY(fx->exec("DELETE FROM Dept WHERE ID = 1"));
        child<QLineEdit>(&d, "txtNewName")->setText(typed);
        child<QPushButton>(&d, button.constData())->click();
        QTEST(boxes.lines(), "shown");
        QVERIFY(!d.isVisible()); // closes in every case
        QTEST(d.Changed(), "changed");
        QTEST(nameOf(1) + QLatin1Char(' ') + nameOf(2), "names");
    }
};

QTEST_MAIN(tst_DeptDialogs)
#include "tst_deptdialogs.moc"
