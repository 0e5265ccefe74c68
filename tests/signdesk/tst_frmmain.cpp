// The station's main window and start-up: menus and modes, placement store,
// today's list, department update, month backup, help and About.
#include "helpers/BoxLog.h"
#include "TestProgramDir.h"

#include "AppClock.h"
#include "ChineseUi.h"
#include "DesktopServices.h"
#include "ExchangeFiles.h"
#include "MsgBox.h"
#include "PasswordModule.h"
#include "StationGlobals.h"
#include "frmAbout.h"
#include "frmLogin.h"
#include "frmMain.h"
#include "frmSetSchoolName.h"
#include "frmSign.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QDateTime kNow(QDate(2026, 3, 18), QTime(9, 30, 0));

QStringList gOpened;

// Runs `action` on the next modal window other than the sign-in screen as
// soon as it is up.
void onNextModal(std::function<void(QWidget*)> action) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, poll]() {
        QWidget* w = QApplication::activeModalWidget();
        if (w && !qobject_cast<frmSign*>(w))
            action(w);
        else
            QTimer::singleShot(5, *poll);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;

    // A main window that does not open the sign-in screen by itself.
    std::unique_ptr<frmMain> makeMain() {
        auto w = std::make_unique<frmMain>();
        w->findChild<QTimer*>(QStringLiteral("Timer_DspSign"))->stop();
        return w;
    }
    static QAction* action(QWidget* w, const char* name) {
        return w->findChild<QAction*>(QLatin1String(name));
    }
    // Runs a menu handler of w directly (a triggered action would not wait for it).
    static void invoke(frmMain* w, const char* slot) {
        QVERIFY(QMetaObject::invokeMethod(w, slot, Qt::DirectConnection));
    }
    // Runs a menu handler whose file dialog answers `file`, with no boxes shown before.
    void invokeWithFile(frmMain* w, const char* slot, const QString& file) {
        boxes.clear();
        w->setFileDialog([file](bool, const QString&, const QString&) { return file; });
        invoke(w, slot);
    }
    static QTreeWidget* list(QWidget* w) {
        return w->findChild<QTreeWidget*>(QStringLiteral("lsvList"));
    }
    static QStringList column(QTreeWidget* l, int c) {
        QStringList out;
        for (int i = 0; i < l->topLevelItemCount(); ++i)
            out << l->topLevelItem(i)->text(c);
        return out;
    }
    static void clickHeader(QTreeWidget* l, int section) {
        QHeaderView* h = l->header();
        const QPoint p(h->sectionViewportPosition(section) + h->sectionSize(section) / 2,
                       h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
    }
    void storePlacement(int left, int top, int width, int height) {
        auto store = frmMain::PlacementStore();
        store->beginGroup(QStringLiteral("Settings"));
        store->setValue(QStringLiteral("MainLeft"), QString::number(left));
        store->setValue(QStringLiteral("MainTop"), QString::number(top));
        store->setValue(QStringLiteral("MainWidth"), QString::number(width));
        store->setValue(QStringLiteral("MainHeight"), QString::number(height));
    }
    QStringList storedPlacement() {
        auto store = frmMain::PlacementStore();
        store->beginGroup(QStringLiteral("Settings"));
        QStringList out;
        for (const char* k : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            out << store->value(QLatin1String(k)).toString();
        return out;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_settingsDir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
        DesktopServices::SetHandler([](const QString& target) {
            gOpened << target;
            return true;
        });
    }

    void init() {
        boxes.clear();
        gOpened.clear();
        frmMain::PlacementStore()->clear();
        AppClock::setFixed(kNow);
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
    }

    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->hide();
        fx.reset();
        AppClock::reset();
    }

    // --- platform: message boxes, fonts, translations -------------------

    void realMessageBoxes() {
        MsgBox::ClearHandler();
        QString title, buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        auto answer = [&](const QString& press) {
            onNextModal([&, press](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                QVERIFY(box);
                title = box->windowTitle();
                icon = box->icon();
                buttons.clear();
                for (QAbstractButton* b : box->buttons())
                    buttons += b->text() + QLatin1Char('|');
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == press)
                        b->click();
            });
        };
        answer(QStringLiteral("确定"));
        QCOMPARE(
            MsgBox::ShowMessage(nullptr, QStringLiteral("x"), QString(), MsgBox::Icon::Exclamation),
            MsgBox::Result::Ok);
        QCOMPARE(title, QStringLiteral("签到系统")); // no title: the program title
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QStringLiteral("确定|"));

        answer(QStringLiteral("否"));
        QCOMPARE(MsgBox::ShowMessage(nullptr, QStringLiteral("y"), QStringLiteral("询问"),
                                     MsgBox::Icon::Question, MsgBox::Buttons::YesNo),
                 MsgBox::Result::No);
        QCOMPARE(title, QStringLiteral("询问"));
        QCOMPARE(icon, QMessageBox::Question);
        answer(QStringLiteral("是"));
        QCOMPARE(MsgBox::ShowMessage(nullptr, QStringLiteral("y"), QStringLiteral("询问"),
                                     MsgBox::Icon::Question, MsgBox::Buttons::YesNo),
                 MsgBox::Result::Yes);
        boxes.install();
    }

    void chineseFontsAndTranslations() {
        ChineseUi::InstallFontSubstitutions();
        const QStringList chinese = {"AR PL UMing CN", "AR PL UKai CN", "WenQuanYi Zen Hei"};
        for (const char* face : {"宋体", "黑体", "楷体_GB2312", "仿宋_GB2312", "隶书"}) {
            const QString family = QFontInfo(QFont(QString::fromUtf8(face), 12)).family();
            QVERIFY2(chinese.contains(family),
                     qPrintable(QString::fromUtf8(face) + " -> " + family));
        }

        QVERIFY(ChineseUi::LoadTranslations(*qApp));
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(ChineseUi::GeneralDateTime(QDateTime(QDate(2007, 3, 5), QTime(8, 5, 9))),
                 QStringLiteral("2007-3-5 8:05:09"));
    }

    // --- start-up -------------------------------------------------------

    void startupDatabaseCheck() {
        QVERIFY(Station::CheckDatabaseFile());
        QVERIFY(boxes.isEmpty());

        // PATH names an existing folder without the database file.
        QTemporaryDir empty;
        QVERIFY(fx->setIni(QStringLiteral("DATA"), QStringLiteral("PATH"), empty.path()));
        QVERIFY(!Station::CheckDatabaseFile());
        QCOMPARE(boxes.lines(),
                 box("错误", "数据库异常，程序不能正常运行！点击确定后将程序将退出！"));

        // A folder named like the database file is not a database file.
        QVERIFY(QDir(empty.path()).mkdir(QStringLiteral("vorerur.dat")));
        QVERIFY(!Station::CheckDatabaseFile());

        // No PATH at all.
        QVERIFY(fx->setIni(QStringLiteral("DATA"), QStringLiteral("PATH"), QString()));
        QVERIFY(!Station::CheckDatabaseFile());
        QCOMPARE(boxes.size(), 3);
    }

    void startupUnitName() {
        // A name is set: no dialog.
        Station::AskUnitNameIfMissing();

        QVERIFY(
            fx->setIni(QStringLiteral("UNIT"), QStringLiteral("UNITNAME"), QStringLiteral("  ")));
        QString shown;
        onNextModal([&](QWidget* w) {
            shown = QString::fromLatin1(w->metaObject()->className());
            w->close(); // the close box: nothing saved, start-up goes on
        });
        Station::AskUnitNameIfMissing();
        QCOMPARE(shown, QStringLiteral("frmSetSchoolName"));

        // Closed without a name: the title starts with the program name alone.
        auto w = makeMain();
        QCOMPARE(w->windowTitle(), QStringLiteral("  考勤系统 Ver2.00-[当日员工签到列表]"));
    }

    // --- title, menus and modes ----------------------------------------

    void titleAndVersion() {
        auto w = makeMain();
        QCOMPARE(w->windowTitle(), QStringLiteral("实验中学考勤系统 Ver2.00-[当日员工签到列表]"));
        QCOMPARE(frmMain::BaseTitle(), QStringLiteral("实验中学考勤系统 Ver2.00"));
        // A changed unit name shows at the next refresh.
        QVERIFY(fx->setIni(QStringLiteral("UNIT"), QStringLiteral("UNITNAME"),
                           QStringLiteral("第二中学")));
        action(w.get(), "mnuTodayPresence")->trigger();
        QCOMPARE(w->windowTitle(), QStringLiteral("第二中学考勤系统 Ver2.00-[当日员工签到列表]"));
    }

    void manageModeAfterLoginAndLogout() {
        QVERIFY(SavePassword(QStringLiteral("8888")));
        auto w = makeMain();
        const char* adminEntries[] = {"mnuChgPwd",
                                      "mnuLogout",
                                      "mnuImportEmployeeInfo",
                                      "mnuExportEmployeeInfo",
                                      "mnuInputNewEmp",
                                      "mnuEmployeeAttendanceMonthExport",
                                      "mnuEmployeeAttendanceMonthReport",
                                      "mnuSetUnit",
                                      "mnuImportDetpInfo",
                                      "mnuBackUpCurrentMonthPrs"};
        // Normal mode at load: the entries for everyone work, with their keys.
        const std::pair<const char*, const char*> everyone[] = {{"mnuMangeLogin", ""},
                                                                {"mnuFileExit", "Ctrl+X"},
                                                                {"mnuDspAttendanceDlg", "Ctrl+D"},
                                                                {"mnuTodayPresence", "Ctrl+T"},
                                                                {"mnuHelpFile", ""},
                                                                {"mnuVistHomePage", ""},
                                                                {"mnuHelpAbout", ""}};
        for (const auto& [name, keys] : everyone) {
            QVERIFY2(action(w.get(), name)->isEnabled() && action(w.get(), name)->isVisible(),
                     name);
            QCOMPARE(action(w.get(), name)->shortcut(), QKeySequence(QString::fromLatin1(keys)));
        }
        for (const char* name : adminEntries)
            QVERIFY2(!action(w.get(), name)->isEnabled() && action(w.get(), name)->isVisible(),
                     name);
        QVERIFY(!action(w.get(), "mnuDbSet")->isEnabled());
        QVERIFY(!action(w.get(), "mnuDbSet")->isVisible());

        auto login = [&](const QString& password) {
            onNextModal([password](QWidget* dialog) {
                QVERIFY(qobject_cast<frmLogin*>(dialog));
                dialog->findChild<QLineEdit*>(QStringLiteral("txtPwd"))->setText(password);
                dialog->findChild<QPushButton*>(QStringLiteral("btnLogin"))->click();
            });
            action(w.get(), "mnuMangeLogin")->trigger();
        };

        login(QStringLiteral("1234")); // wrong: stays in normal mode, no message
        QVERIFY(!w->isManageMode());
        QVERIFY(boxes.isEmpty());
        QVERIFY(action(w.get(), "mnuMangeLogin")->isEnabled());

        login(QStringLiteral(" 8888 "));
        QVERIFY(w->isManageMode());
        QVERIFY(!action(w.get(), "mnuMangeLogin")->isEnabled());
        for (const char* name : adminEntries)
            QVERIFY2(action(w.get(), name)->isEnabled(), name);
        QVERIFY(!action(w.get(), "mnuDbSet")->isEnabled());
        QVERIFY(!action(w.get(), "mnuDbSet")->isVisible());

        action(w.get(), "mnuLogout")->trigger();
        QVERIFY(!w->isManageMode());
        QVERIFY(action(w.get(), "mnuMangeLogin")->isEnabled());
        for (const char* name : adminEntries)
            QVERIFY2(!action(w.get(), name)->isEnabled(), name);

        // The same hidden login dialog serves the next login.
        login(QStringLiteral("8888"));
        QVERIFY(w->isManageMode());
        QCOMPARE(w->findChildren<frmLogin*>().size(), 1);
    }

    // --- placement ----------------------------------------------------

    void placementDefaults() {
        auto w = makeMain();
        QCOMPARE(w->pos(), QPoint(67, 67));   // 1000 twips
        QCOMPARE(w->size(), QSize(433, 433)); // 6500 twips
    }

    void placementRoundTrip() {
        storePlacement(1500, 3000, 9000, 7500);
        auto w = makeMain();
        QCOMPARE(w->pos(), QPoint(100, 200));
        QCOMPARE(w->size(), QSize(600, 500));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->move(120, 90);
        w->resize(640, 480);
        QVERIFY(w->close());
        QCOMPARE(storedPlacement(),
                 (QStringList{QString::number(w->x() * 15), QString::number(w->y() * 15),
                              QStringLiteral("9600"), QStringLiteral("7200")}));
    }

    void placementUnreadableValues() {
        storePlacement(1500, 3000, -5, 0);
        auto store = frmMain::PlacementStore();
        store->setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("abc"));
        store.reset();
        auto w = makeMain();
        QCOMPARE(w->pos(), QPoint(67, 200));
        QCOMPARE(w->size(), QSize(433, 433));
    }

    void minimisedCloseKeepsPlacement() {
        storePlacement(1500, 3000, 9000, 7500);
        auto w = makeMain();
        w->show();
        w->resize(300, 300);
        w->setWindowState(Qt::WindowMinimized);
        QVERIFY(w->isMinimized());
        QVERIFY(w->close());
        QCOMPARE(storedPlacement(), (QStringList{"1500", "3000", "9000", "7500"}));
    }

    // --- sign-in screen and closing ------------------------------------

    void signWindowOpensAfterLoad() {
        auto w = std::make_unique<frmMain>();
        gfrmMain = w.get();
        w->show();
        frmSign* sign = w->signWindow();
        QVERIFY(sign);
        QVERIFY(!sign->isVisible());
        QTRY_VERIFY(sign->isVisible());
        QVERIFY(sign->isModal());
        QCOMPARE(sign->parentWidget(), w.get());
        QVERIFY(!w->findChild<QTimer*>(QStringLiteral("Timer_DspSign"))->isActive());

        // Closing the sign-in screen leaves the main window usable; the menu reopens it.
        sign->close();
        QVERIFY(!sign->isVisible());
        action(w.get(), "mnuDspAttendanceDlg")->trigger();
        QVERIFY(sign->isVisible());
        QCOMPARE(w->signWindow(), sign);

        // Closing the main window closes the sign-in screen too.
        QVERIFY(w->close());
        QVERIFY(!sign->isVisible());
        gfrmMain = nullptr;
    }

    void closeEndsOpenModalWindowsNewestFirst() {
        auto w = makeMain();
        w->show();
        QStringList closedOrder;
        bool aboutWasOpen = false;
        // Close the main window while the About window (over the sign-in screen) is up.
        action(w.get(), "mnuDspAttendanceDlg")->trigger();
        connect(w->signWindow(), &QDialog::rejected, this,
                [&] { closedOrder << QStringLiteral("frmSign"); });
        onNextModal([&](QWidget* modal) {
            if (auto* about = qobject_cast<frmAbout*>(modal)) {
                aboutWasOpen = true;
                connect(about, &QDialog::rejected, this,
                        [&] { closedOrder << QStringLiteral("frmAbout"); });
                w->close();
            }
        });
        invoke(w.get(), "mnuHelpAbout_Click");
        QVERIFY(aboutWasOpen);
        QVERIFY(!w->isVisible());
        QVERIFY(!w->signWindow()->isVisible());
        QCOMPARE(closedOrder, (QStringList{"frmAbout", "frmSign"}));
    }

    // --- today's list --------------------------------------------------

    void listContentsAndKeys() {
        QVERIFY(fx->addDept(1, QStringLiteral("教务处")));
        QVERIFY(fx->addEmployee(QStringLiteral("003"), QStringLiteral("王五"),
                                QStringLiteral("100000000000003"), 1));
        QVERIFY(fx->addEmployee(QStringLiteral("001"), QStringLiteral("张三"),
                                QStringLiteral("100000000000001"), 1));
        QVERIFY(fx->addEmployee(QStringLiteral("002"), QStringLiteral("李四"),
                                QStringLiteral("100000000000002"), 1));
        const QDateTime today = kNow;
        QVERIFY(fx->addPresence(QStringLiteral("003"), today.addSecs(-3600), today.addSecs(-60)));
        QVERIFY(fx->addPresence(QStringLiteral("001"), today.addSecs(-1800)));
        QVERIFY(fx->addPresence(QStringLiteral("002"), today.addDays(-1),
                                today.addDays(-1).addSecs(600)));

        auto w = makeMain();
        QTreeWidget* l = list(w.get());
        QCOMPARE(l->columnCount(), 4);
        QCOMPARE(l->topLevelItemCount(), 2); // yesterday's record is not listed
        QSet<QString> numbers;
        for (int i = 0; i < 2; ++i) {
            QTreeWidgetItem* row = l->topLevelItem(i);
            numbers << row->text(0);
            QCOMPARE(row->data(0, Qt::UserRole).toString(),
                     QStringLiteral("KEYPRE") + row->text(0));
            if (row->text(0) == QLatin1String("003")) {
                QCOMPARE(row->text(1), QStringLiteral("王五"));
                QCOMPARE(row->text(2), ChineseUi::GeneralDateTime(today.addSecs(-3600)));
                QCOMPARE(row->text(3), QStringLiteral("2026-3-18 9:29:00"));
            } else {
                QCOMPARE(row->text(1), QStringLiteral("张三"));
                QCOMPARE(row->text(2), QStringLiteral("2026-3-18 9:00:00"));
                QVERIFY(row->text(3).isEmpty()); // no departure yet
            }
        }
        QCOMPARE(numbers, (QSet<QString>{"001", "003"}));

        // A scan of a known card refreshes the list at once.
        QVERIFY(fx->addPresence(QStringLiteral("002"), today));
        emit w->signWindow()->onUpdatePresenceList();
        QCOMPARE(l->topLevelItemCount(), 3);

        // Two rows of one employee for one day (two stations at once) are both listed.
        QVERIFY(fx->addPresence(QStringLiteral("002"), today.addSecs(1)));
        w->UpdateEmployeePresenceList();
        QCOMPARE(column(l, 0).count(QStringLiteral("002")), 2);
    }

    void listEmptyWithoutDatabase() {
        QVERIFY(QFile::remove(fx->dbPath));
        auto w = makeMain();
        QCOMPARE(list(w.get())->topLevelItemCount(), 0);
        QVERIFY(boxes.isEmpty()); // no message
        QCOMPARE(w->windowTitle(), QStringLiteral("实验中学考勤系统 Ver2.00-[当日员工签到列表]"));
    }

    void sortOnHeaderClicks() {
        QVERIFY(fx->addDept(1, QStringLiteral("教务处")));
        const QStringList names = {"Carol", "Alice", "Bob"};
        for (int i = 0; i < 3; ++i) {
            const QString number = QStringLiteral("00%1").arg(i + 1);
            QVERIFY(
                fx->addEmployee(number, names[i], QStringLiteral("10000000000000%1").arg(i), 1));
            QVERIFY(fx->addPresence(number, kNow.addSecs(-600 * (i + 1))));
        }
        auto w = makeMain();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTreeWidget* l = list(w.get());

        // The sort column starts as the first one, ascending: a click on another
        // header takes that column with the direction unchanged.
        clickHeader(l, 1);
        QCOMPARE(column(l, 1), (QStringList{"Alice", "Bob", "Carol"}));
        clickHeader(l, 1); // same header: reversed
        QCOMPARE(column(l, 1), (QStringList{"Carol", "Bob", "Alice"}));
        clickHeader(l, 0); // other header: direction stays descending
        QCOMPARE(column(l, 0), (QStringList{"003", "002", "001"}));
        clickHeader(l, 0);
        QCOMPARE(column(l, 0), (QStringList{"001", "002", "003"}));
        QCOMPARE(l->header()->sortIndicatorSection(), 0);
        QCOMPARE(l->header()->sortIndicatorOrder(), Qt::AscendingOrder);

        // A refresh keeps the chosen order.
        QVERIFY(fx->addEmployee(QStringLiteral("000"), QStringLiteral("Dan"),
                                QStringLiteral("100000000000009"), 1));
        QVERIFY(fx->addPresence(QStringLiteral("000"), kNow));
        w->UpdateEmployeePresenceList();
        QCOMPARE(column(l, 0), (QStringList{"000", "001", "002", "003"}));
    }

    // --- department update --------------------------------------------

    void departmentUpdate() {
        QVERIFY(fx->addDept(1, QStringLiteral("教务处")));
        QVERIFY(fx->addDept(5, QStringLiteral("总务处")));
        QVERIFY(fx->addDept(9, QStringLiteral("校办")));
        const QString file = fx->file(QStringLiteral("部门信息.xml"));
        QString error;
        QVERIFY2(ExchangeFiles::ExportDepartments(file, ExchangeFiles::Existing::Refuse, &error),
                 qPrintable(error));
        QVERIFY(fx->count(QStringLiteral("SELECT COUNT(*) FROM Dept")) == 3);
        QVERIFY(fx->addDept(20, QStringLiteral("旧部门")));

        auto w = makeMain();
        QString askedFilter;
        bool askedSave = true;
        w->setFileDialog([&](bool save, const QString&, const QString& filter) {
            askedSave = save;
            askedFilter = filter;
            return QStringLiteral("  ") + file + QStringLiteral(" ");
        });
        invoke(w.get(), "mnuImportDetpInfo_Click");
        QVERIFY(!askedSave);
        QVERIFY(askedFilter.contains(QLatin1String("*.xml")));
        QCOMPARE(boxes.lines(), box("信息", "数据导入完成！", MsgBox::Icon::Information));
        QCOMPARE(fx->count(QStringLiteral("SELECT COUNT(*) FROM Dept")), 3);
        QCOMPARE(fx->count(QStringLiteral("SELECT COUNT(*) FROM Dept WHERE ID IN (1, 5, 9)")), 3);
        QCOMPARE(fx->count(
                     QStringLiteral("SELECT COUNT(*) FROM Dept WHERE ID = 5 AND DNAME = '总务处'")),
                 1);

        // Cancelled: nothing happens.
        boxes.clear();
        invokeWithFile(w.get(), "mnuImportDetpInfo_Click", QString());
        QVERIFY(boxes.isEmpty());
    }

    void departmentUpdateBadFileKeepsDepartments() {
        QVERIFY(fx->addDept(1, QStringLiteral("教务处")));
        QVERIFY(fx->addDept(2, QStringLiteral("总务处")));
        QVERIFY(fx->addDept(3, QStringLiteral("校办")));
        const QString good = fx->file(QStringLiteral("good.xml"));
        QVERIFY(ExchangeFiles::ExportDepartments(good, ExchangeFiles::Existing::Refuse));

        // A readable file whose third row repeats a key: fails part-way.
        QString text = QString::fromUtf8(readFile(good));
        const QRegularExpression third(QStringLiteral("\\bID=([\"'])3\\1"));
        QVERIFY(text.contains(third));
        text.replace(third, QStringLiteral("ID=\"2\""));
        const QString duplicate = fx->file(QStringLiteral("duplicate.xml"));
        QVERIFY(writeFile(duplicate, text.toUtf8()));
        const QString garbage = fx->file(QStringLiteral("garbage.xml"));
        QVERIFY(writeFile(garbage, "<xml>not a row set"));

        // The station's departments before the update: one other department.
        QVERIFY(fx->addDept(7, QStringLiteral("旧部门")));
        const int before = fx->count(QStringLiteral("SELECT COUNT(*) FROM Dept"));

        auto w = makeMain();
        for (const QString& bad : {duplicate, garbage, fx->file(QStringLiteral("missing.xml"))}) {
            invokeWithFile(w.get(), "mnuImportDetpInfo_Click", bad);
            QCOMPARE(boxes.lines(), box("错误", "导入数据失败！"));
            QCOMPARE(fx->count(QStringLiteral("SELECT COUNT(*) FROM Dept")), before);
            QCOMPARE(fx->count(QStringLiteral("SELECT COUNT(*) FROM Dept WHERE ID = 7")), 1);
        }
    }

    // --- month backup ----------------------------------------------

    void backupCurrentMonth() {
        QVERIFY(fx->addDept(1, QStringLiteral("教务处")));
        QVERIFY(fx->addEmployee(QStringLiteral("001"), QStringLiteral("张三"),
                                QStringLiteral("100000000000001"), 1));
        QVERIFY(fx->addPresence(QStringLiteral("001"), QDateTime(QDate(2026, 3, 1), QTime(8, 0))));
        QVERIFY(fx->addPresence(QStringLiteral("001"), kNow.addSecs(-3600), kNow));
        QVERIFY(fx->addPresence(QStringLiteral("001"), QDateTime(QDate(2026, 2, 28), QTime(8, 0))));

        auto w = makeMain();
        const QString file = fx->file(QStringLiteral("backup.xml"));
        QString askedTitle;
        w->setFileDialog([&](bool save, const QString& title, const QString&) {
            askedTitle = save ? title : QString();
            return file + QStringLiteral("  ");
        });
        invoke(w.get(), "mnuBackUpCurrentMonthPrs_Click");
        QCOMPARE(askedTitle, QStringLiteral("设定导出文件"));
        QCOMPARE(boxes.lines(), box("信息", "数据已成功导出！", MsgBox::Icon::Information));
        const QByteArray content = readFile(file);
        QVERIFY(content.contains("2026-03-01"));
        QVERIFY(!content.contains("2026-02-28"));

        // The same name again: refused, the first backup stays as it was.
        boxes.clear();
        invoke(w.get(), "mnuBackUpCurrentMonthPrs_Click");
        QCOMPARE(boxes.lines(), box("错误", "导出数据失败！"));
        QCOMPARE(readFile(file), content);
    }

    void backupWithoutName() {
        auto w = makeMain();
        const char* backup = "mnuBackUpCurrentMonthPrs_Click";
        invokeWithFile(w.get(), backup, QStringLiteral("   "));
        QCOMPARE(boxes.lines(), box("错误", "没有指定备份文件名!"));
        invokeWithFile(w.get(), backup, QString());
        QVERIFY(boxes.isEmpty()); // cancelled
        // A folder that does not exist: the write fails.
        invokeWithFile(w.get(), backup, fx->file(QStringLiteral("no/such/dir/b.xml")));
        QCOMPARE(boxes.lines(), box("错误", "导出数据失败！"));
    }

    void backupThroughTheFileDialog() {
        auto w = makeMain();
        const QString file = fx->file(QStringLiteral("month.xml"));
        QString title;
        onNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("dlgCommonDialog"));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            title = dialog->windowTitle();
            dialog->selectFile(file);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
        invoke(w.get(), "mnuBackUpCurrentMonthPrs_Click");
        QCOMPARE(title, QStringLiteral("设定导出文件"));
        QVERIFY(QFile::exists(file));
        QCOMPARE(boxes.lines(), box("信息", "数据已成功导出！", MsgBox::Icon::Information));

        // Cancelling the open dialog of the department update: no message.
        boxes.clear();
        onNextModal([](QWidget* modal) {
            QVERIFY(qobject_cast<QFileDialog*>(modal));
            static_cast<QDialog*>(modal)->reject();
        });
        invoke(w.get(), "mnuImportDetpInfo_Click");
        QVERIFY(boxes.isEmpty());
    }

    // --- help, home page, About -----------------------------------

    void helpAndHomePage() {
        auto w = makeMain();
        action(w.get(), "mnuHelpFile")->trigger();
        action(w.get(), "mnuVistHomePage")->trigger();
        QCOMPARE(gOpened,
                 (QStringList{fx->file(QStringLiteral("HELP.html")), Station::HomePage()}));
        QVERIFY(boxes.isEmpty()); // results are not examined
    }

    void aboutWindow() {
        frmAbout about;
        QLabel* link = about.findChild<QLabel*>(QStringLiteral("lblURL"));
        QCOMPARE(link->text(), Station::HomePage());
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseMove(link);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(link, &enter);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::red));
        QTest::mouseMove(&about, QPoint(2, about.height() - 2));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(gOpened, QStringList{Station::HomePage()});

        if (!frmAbout::SystemInfoTool().isEmpty())
            QSKIP("a system information tool is installed here");
        about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QCOMPARE(boxes.lines(), box("签到系统", "此时系统信息不可用", MsgBox::Icon::None));
        about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
