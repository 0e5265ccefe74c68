// The office program's main window and start-up: list modes and menus,
// removals, renaming from the pop-up menu, exports, import, card printing,
// help and About.
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/EnglishLayout.h"
#include "tests/common/ReadBack.h"
#include "tests/common/TestProgramDir.h"
#include "tests/manage/helpers/ManageFixture.h"

#include "manage/CardPrinting.h"
#include "manage/frmMain.h"
#include "manage/mdMain.h"
#include "platform/DesktopServices.h"
#include "shared/base/AppClock.h"

#include <QtTest>
#include <QtWidgets>

namespace {

QString headers(QTreeWidget* l) {
    QStringList out;
    for (int i = 0; i < l->columnCount(); ++i)
        out << l->headerItem()->text(i) + QLatin1Char(':') + QString::number(l->columnWidth(i));
    return out.join(QLatin1Char(' '));
}

void select(QTreeWidget* l, const QList<int>& rows) {
    l->clearSelection();
    for (int r : rows)
        l->topLevelItem(r)->setSelected(true);
}

// The enabled department and employee entries, as "D....E...." of 0/1.
QString enabledState(QWidget* w) {
    QString out;
    for (const char* n : {"mnuDeptAppend", "mnuDeptRemove", "mnuDeptEdit", "mnuDeptExport",
                          "mnuEmpImport", "mnuEmpExport", "mnuEmpPrint", "mnuEmpRemove"})
        out += child<QAction>(w, n)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

} // namespace

class tst_ManageMain : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;
    DialogAnswers dialogs;

    QTreeWidget* list(QWidget* w) { return child<QTreeWidget>(w, "lsvData"); }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(SeedOffice(*fx, {"1001", "1002", "1003", "1004"}));
        boxes.clear();
    }
    void cleanup() { fx.reset(); }

    // Start-up stops on a database fault (the kinds of fault: tst_desktopkit).
    void startUpRefusesMissingDatabase() {
        QVERIFY(fx->setIni("DATA", "ENGINE", "oracle"));
        QCOMPARE(mdMain::Main(*qApp), 1);
        QCOMPARE(boxes.lines(),
                 box("错误", "数据库异常，程序不能正常运行！点击确定后程序将退出！"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void listModesAndMenus() {
        QVERIFY(fx->exec("UPDATE Employee SET DID = 9 WHERE ENUMBER = '1004'"));
        frmMain w;
        QVERIFY(!w.menuBar()->actions().contains(child<QMenu>(&w, "mnuPopMenu")->menuAction()));

        // Loading shows the employees (one without department is left out).
        QCOMPARE(w.GetListMode(), 1);
        QVERIFY(child<QAction>(&w, "mnuEmpDsp")->isChecked() &&
                !child<QAction>(&w, "mnuDeptDsp")->isChecked());
        QCOMPARE(headers(list(&w)), QStringLiteral("员工号:53 姓名:67 所属部门:133 签到条码:133"));
        QCOMPARE(TreeColumn(list(&w), 0), QStringList({"1001", "1002", "1003"}));
        QCOMPARE(TreeColumn(list(&w), 1)[1] + TreeColumn(list(&w), 2)[1] +
                     TreeColumn(list(&w), 3)[1],
                 QStringLiteral("员工1002办公室100000001002"));
        QCOMPARE(enabledState(&w), QStringLiteral("00001111"));

        child<QAction>(&w, "mnuDeptDsp")->trigger();
        QCOMPARE(w.GetListMode(), 2);
        QVERIFY(!child<QAction>(&w, "mnuEmpDsp")->isChecked() &&
                child<QAction>(&w, "mnuDeptDsp")->isChecked());
        QCOMPARE(headers(list(&w)), QStringLiteral("部门号:53 部门名称:133"));
        QCOMPARE(TreeColumn(list(&w), 1), QStringList({"办公室", "教务处", "后勤部"}));
        QCOMPARE(enabledState(&w), QStringLiteral("11110000"));

        // Choosing the checked entry again keeps it checked.
        child<QAction>(&w, "mnuDeptDsp")->trigger();
        QCOMPARE(w.GetListMode(), 2);
        child<QAction>(&w, "mnuPop_Edit")->trigger(); // no row chosen: nothing happens
        child<QAction>(&w, "mnuEmpDsp")->trigger();
        child<QAction>(&w, "mnuPop_Edit")->trigger();
        QCOMPARE(boxes.lines(),
                 box("提醒", "本功能将在后继版本中实现！", MsgBox::Icon::Information));
    }

    void removeEmployeesAskingEach() {
        frmMain w;
        select(list(&w), {0, 1, 2});
        boxes.answer({MsgBox::Result::Yes, MsgBox::Result::No, MsgBox::Result::Yes});
        child<QAction>(&w, "mnuEmpRemove")->trigger();
        const auto ask = [](const char* n) {
            return box("询问", QStringLiteral("删除编号为[%1]的员工？").arg(n),
                       MsgBox::Icon::Question);
        };
        QCOMPARE(boxes.lines(), ask("1003") + ask("1002") + ask("1001"));
        QCOMPARE(TreeColumn(list(&w), 0), QStringList({"1002", "1004"}));
        QCOMPARE(fx->rows("Employee"), 2);

        // Removed meanwhile by someone else: the row stays, with a message.
        QVERIFY(fx->exec("DELETE FROM Employee WHERE ENUMBER = '1004'"));
        boxes.clear();
        select(list(&w), {1});
        boxes.answer({MsgBox::Result::Yes});
        child<QAction>(&w, "mnuPop_Remove")->trigger();
        QCOMPARE(boxes.shown.last().text, QStringLiteral("未能删除编号为[1004]的员工！"));
        QCOMPARE(TreeColumn(list(&w), 0), QStringList({"1002", "1004"}));
    }

    void removeDepartmentsGuarded() {
        frmMain w;
        child<QAction>(&w, "mnuDeptDsp")->trigger();
        select(list(&w), {0, 1, 2});
        boxes.answer({MsgBox::Result::Yes, MsgBox::Result::No});
        child<QAction>(&w, "mnuDeptRemove")->trigger();
        QCOMPARE(boxes.lines(),
                 box("询问", "删除编号为[3]名称为[后勤部]的部门？", MsgBox::Icon::Question) +
                     box("询问", "删除编号为[2]名称为[教务处]的部门？", MsgBox::Icon::Question) +
                     box("信息", "编号为[1]名称为[办公室]的部门下还有员工，\r\n"
                                 "请删除相关员工或将员工转移到其它部门后再删除本部门！"));
        QCOMPARE(TreeColumn(list(&w), 1), QStringList({"办公室", "教务处"}));
        QCOMPARE(fx->rows("Dept"), 2);
    }

    void renameFromPopUpOneDialogAfterTheOther() {
        frmMain w;
        child<QAction>(&w, "mnuDeptDsp")->trigger();
        select(list(&w), {0, 2});
        QStringList shownOld; // each dialog opens the next one before it closes
        const QStringList newNames{"总务处", "校长室"};
        std::function<void(QWidget*)> rename = [&](QWidget* d) {
            shownOld << child<QLineEdit>(d, "txtOldName")->text();
            child<QLineEdit>(d, "txtNewName")->setText(newNames[shownOld.size() - 1]);
            if (shownOld.size() == 1)
                OnNextModal(rename);
            child<QPushButton>(d, "btnOK")->click();
        };
        OnNextModal(rename);
        child<QAction>(&w, "mnuPop_Edit")->trigger();
        QCOMPARE(shownOld, QStringList({"后勤部", "办公室"})); // last selected row first
        QCOMPARE(TreeColumn(list(&w), 1), QStringList({"校长室", "教务处", "总务处"}));
        QVERIFY(boxes.isEmpty());
    }

    // Exports replace the chosen file (one that fails keeps it: tst_rowsetxml
    // saveReplacingSwapsTheFile; the failure message: tst_desktopkit).
    void exportsReplaceTheChosenFile() {
        AppClock::setFixed(QDateTime(QDate(2026, 3, 8), QTime(9, 0)));
        frmMain w;
        const QString target = fx->writeFile("out.xml", "old");

        // The boxes shown by an export through `entry` onto the target.
        const auto exportBy = [&](const char* entry) {
            boxes.clear();
            dialogs.path(target);
            child<QAction>(&w, entry)->trigger();
            return boxes.lines();
        };
        // Nothing selected: refused, the old file stays.
        QCOMPARE(exportBy("mnuEmpExport"), box("错误", "导出数据失败！"));
        QCOMPARE(dialogs.files.last().start, QStringLiteral("员工信息_2026-3-8.xml"));
        QCOMPARE(readFile(target), QByteArray("old"));

        select(list(&w), {1, 3});
        QCOMPARE(exportBy("mnuPop_Export"),
                 box("信息", "数据已成功导出！", MsgBox::Icon::Information));
        QCOMPARE(FileRows(target, {"ENUMBER"}), QStringList({"1002", "1004"}));

        // Departments: all of them, whatever is selected; cancel says nothing.
        child<QAction>(&w, "mnuDeptDsp")->trigger();
        boxes.clear();
        dialogs.cancel();
        child<QAction>(&w, "mnuDeptExport")->trigger();
        QCOMPARE(dialogs.files.last().start, QStringLiteral("部门信息.xml"));
        QVERIFY(boxes.isEmpty());
        exportBy("mnuPop_Export");
        QCOMPARE(FileRows(target, {"ID"}).size(), 3);
    }

    void importOpensBatchEntryWithTheChosenFiles() {
        dialogs.files.clear();
        frmMain w;
        child<QAction>(&w, "mnuDeptDsp")->trigger();
        QString opened;
        OnNextModal([&](QWidget* d) {
            opened = QLatin1String(d->metaObject()->className());
            qobject_cast<QDialog*>(d)->reject();
        });
        child<QAction>(&w, "mnuPop_Append")->trigger(); // department mode: the add dialog
        QCOMPARE(opened, QStringLiteral("frmDeptAppend"));
        QVERIFY(dialogs.files.isEmpty());
        child<QAction>(&w, "mnuEmpDsp")->trigger();
        dialogs.cancel();
        child<QAction>(&w, "mnuEmpImport")->trigger();
        QCOMPARE(dialogs.files.size(), 1);
        QCOMPARE(dialogs.files.last().kind, FileDialog::Kind::OpenSeveral);

        QVERIFY(fx->exec("DELETE FROM Employee WHERE ENUMBER = '1001'"));
        const QStringList chosen{fx->file("a.xml"), fx->file("b.xml")};
        dialogs.paths(chosen);
        QString label;
        OnNextModal([&](QWidget* d) {
            label = child<QLabel>(d, "lblProcess")->text();
            qobject_cast<QDialog*>(d)->reject();
        });
        child<QAction>(&w, "mnuPop_Append")->trigger();
        QCOMPARE(label, QStringLiteral("1/2"));
        QCOMPARE(TreeColumn(list(&w), 0), QStringList({"1002", "1003", "1004"})); // shown again
    }

    void cardsAndHelp() {
        frmMain w;
        QList<QStringList> printed;
        QList<QWidget*> designed;
        CardPrinting::DesignSeam::Override design([&](QWidget* p) { designed << p; });
        CardPrinting::PrintSeam::Override print(
            [&](QWidget*, const QStringList& n) { printed << n; });
        child<QAction>(&w, "mnuEmpPrint")->trigger();
        select(list(&w), {0, 2, 3});
        child<QAction>(&w, "mnuEmpPrint")->trigger();
        QCOMPARE(printed, QList<QStringList>({{}, {"1004", "1003", "1001"}}));
        child<QAction>(&w, "mnuCardInfoSet")->trigger();
        QCOMPARE(designed, QList<QWidget*>({&w}));

        QStringList opened;
        DesktopServices::Seam::Override open([&](const QString& t) {
            opened << t;
            return true;
        });
        child<QAction>(&w, "mnuHelpFile")->trigger();
        child<QAction>(&w, "mnuVistHomePage")->trigger();
        QCOMPARE(opened, QStringList({fx->file("HELP-manage.html"), mdMain::HomePage()}));

        QStringList about;
        OnNextModal([&](QWidget* d) {
            about << d->windowTitle() << child<QLabel>(d, "lblTitle")->text()
                  << child<QLabel>(d, "lblVersion")->text();
            child<QPushButton>(d, "cmdOK")->click();
        });
        child<QAction>(&w, "mnuAbout")->trigger();
        QCOMPARE(about, QStringList({"关于 签到系统", "签到系统管理软件", "版本 2.0.0"}));

        // In English the menu opens the English page; the build puts both
        // pages beside the programs, each in its language.
        opened.clear();
        {
            EnglishScope english;
            QVERIFY(english.Installed());
            frmMain en;
            child<QAction>(&en, "mnuHelpFile")->trigger();
        }
        QCOMPARE(opened, QStringList{fx->file("HELP-manage-en.html")});
        const QDir bin(QCoreApplication::applicationDirPath());
        QVERIFY(readFile(bin.filePath("HELP-manage-en.html")).contains("<html lang=\"en\">"));
        QVERIFY(readFile(bin.filePath("HELP-manage.html")).contains("<html lang=\"zh-CN\">"));
    }
};

QTEST_MAIN(tst_ManageMain)
#include "tst_mainwindow.moc"
