// The station's main window and start-up: menus and modes, placement store,
// today's list, department update, month backup, help and About.
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/EnglishLayout.h"
#include "tests/common/ReadBack.h"
#include "tests/common/TestProgramDir.h"

#include "platform/DesktopKit.h"
#include "platform/DesktopServices.h"
#include "platform/frmAbout.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/config/PasswordModule.h"
#include "shared/db/clsDbConn.h"
#include "shared/exchange/ExchangeFiles.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmLogin.h"
#include "signdesk/frmMain.h"
#include "signdesk/frmSign.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QDateTime kNow(QDate(2026, 3, 18), QTime(9, 30, 0));
const QString kListTitle = QStringLiteral("考勤系统 Ver2.00-[当日员工签到列表]");

QStringList gOpened;

void clickHeader(QTreeView* l, int section) {
    QHeaderView* h = l->header();
    const QPoint p(h->sectionViewportPosition(section) + h->sectionSize(section) / 2,
                   h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
}

// Left, top, width, height in twips, as text: stores `values` unless empty,
// returns what is stored.
QStringList placementStore(const QStringList& values = {}) {
    auto store = frmMain::PlacementStore();
    QStringList out;
    for (const char* k : {"Left", "Top", "Width", "Height"}) {
        if (!values.isEmpty())
            store->setValue(QStringLiteral("Settings/Main") + k, values[out.size()]);
        out << store->value(QStringLiteral("Settings/Main") + k).toString();
    }
    return out;
}

// Hands every event of the objects it filters to a function.
class EventNotes : public QObject {
public:
    explicit EventNotes(std::function<void(QObject*, QEvent*)> note) : m_note(std::move(note)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        m_note(watched, event);
        return false;
    }

private:
    std::function<void(QObject*, QEvent*)> m_note;
};

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;
    DialogAnswers dialogs;
    DesktopServices::Seam::Override documents{[](const QString& target) {
        gOpened << target;
        return true;
    }};

    // A main window that does not open the sign-in screen by itself.
    std::unique_ptr<frmMain> makeMain() {
        auto w = std::make_unique<frmMain>();
        w->findChild<QTimer*>(QStringLiteral("Timer_DspSign"))->stop();
        return w;
    }
    // Runs a menu handler of w directly (a triggered action would not wait for
    // it), the file dialog answering `file` (null: cancelled): the boxes it shows.
    QString withFile(frmMain* w, const char* slot, const QString& file) {
        boxes.clear();
        file.isNull() ? dialogs.cancel() : dialogs.path(file);
        if (!QMetaObject::invokeMethod(w, slot, Qt::DirectConnection))
            return QStringLiteral("no handler ") + QLatin1String(slot);
        return boxes.lines();
    }
    // The next modal window is closed (its close box) after its class is noted.
    static void closeNextModal(QStringList* classes) {
        OnNextModal([classes](QWidget* d) {
            *classes << QString::fromLatin1(d->metaObject()->className());
            d->close();
        });
    }

    // The station's clock from `source`: on a server the status bar's warning
    // matches `pattern`; once the clock is right, the hourly check hides it.
    void clockWarning(AppClock::Source source, const QString& pattern) {
        AppClock::setSource(std::move(source));
        auto w = makeMain();
        auto* warning = child<QLabel>(w.get(), "sbClockWarning");
        QCOMPARE(warning->isVisibleTo(w.get()), TestProgramDir::OnServer());
        if (TestProgramDir::OnServer())
            QVERIFY2(QRegularExpression(pattern).match(warning->text()).hasMatch(),
                     qPrintable(warning->text()));
        AppClock::reset();
        QVERIFY(QMetaObject::invokeMethod(child<QTimer>(w.get(), "tmrServerClock"), "timeout"));
        QVERIFY(!warning->isVisibleTo(w.get()));
    }

private slots:
    void initTestCase() {
        DesktopKit::SetProgramTitle(Station::ProgramTitle());
        QVERIFY(m_settingsDir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    }

    void init() {
        boxes.clear();
        dialogs.files.clear();
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

    // The unit name starts the title; a blank one asks for a name at start-up.
    void titleAndUnitName() {
        Station::AskUnitNameIfMissing(); // a name is set: no dialog
        auto w = makeMain();
        QCOMPARE(w->windowTitle(), QStringLiteral("实验中学") + kListTitle);
        QVERIFY(fx->setIni("UNIT", "UNITNAME", QStringLiteral("第二中学")));
        child<QAction>(w.get(), "mnuTodayPresence")->trigger(); // shows at the next refresh
        QCOMPARE(w->windowTitle(), QStringLiteral("第二中学") + kListTitle);

        QVERIFY(fx->setIni("UNIT", "UNITNAME", QStringLiteral("  ")));
        QStringList shown;
        closeNextModal(&shown); // nothing saved, start-up goes on
        Station::AskUnitNameIfMissing();
        QCOMPARE(shown, QStringList{"frmSetSchoolName"});
        QCOMPARE(makeMain()->windowTitle(), QStringLiteral("  ") + kListTitle);
    }

    void manageModeAfterLoginAndLogout() {
        QVERIFY(SavePassword(QStringLiteral("8888")));
        auto w = makeMain();
        const QStringList adminEntries =
            QStringLiteral("mnuChgPwd mnuLogout mnuImportEmployeeInfo mnuExportEmployeeInfo "
                           "mnuInputNewEmp mnuEmployeeAttendanceMonthExport mnuSetUnit "
                           "mnuEmployeeAttendanceMonthReport mnuImportDetpInfo "
                           "mnuBackUpCurrentMonthPrs")
                .split(' ');
        const auto checkMode = [&](bool manage) {
            QCOMPARE(w->isManageMode(), manage);
            QCOMPARE(child<QAction>(w.get(), "mnuMangeLogin")->isEnabled(), !manage);
            for (const QString& name : adminEntries) {
                QAction* a = child<QAction>(w.get(), qPrintable(name));
                QVERIFY2(a->isEnabled() == manage && a->isVisible(), qPrintable(name));
            }
            QVERIFY(!child<QAction>(w.get(), "mnuDbSet")->isVisible());
        };
        const auto login = [&](const QString& password) {
            OnNextModal([password](QWidget* dialog) {
                QVERIFY(qobject_cast<frmLogin*>(dialog));
                child<QLineEdit>(dialog, "txtPwd")->setText(password);
                child<QPushButton>(dialog, "btnLogin")->click();
            });
            child<QAction>(w.get(), "mnuMangeLogin")->trigger();
        };
        checkMode(false);
        login(QStringLiteral("1234")); // wrong: stays in normal mode, no message
        checkMode(false);
        QVERIFY(boxes.isEmpty());
        login(QStringLiteral(" 8888 "));
        checkMode(true);
        child<QAction>(w.get(), "mnuLogout")->trigger();
        checkMode(false);
        // The same hidden login dialog serves the next login.
        login(QStringLiteral("8888"));
        checkMode(true);
        QCOMPARE(w->findChildren<frmLogin*>().size(), 1);
        QStringList opened; // the month windows open from the menu
        for (const char* entry :
             {"mnuEmployeeAttendanceMonthReport", "mnuEmployeeAttendanceMonthExport"}) {
            closeNextModal(&opened);
            child<QAction>(w.get(), entry)->trigger();
        }
        QCOMPARE(opened, (QStringList{"frmEmployeeMonthReport", "frmEmployeeMonthExport"}));
    }

    // Twips in the store, pixels on screen; unreadable values fall back to
    // the defaults; a minimised window keeps the stored placement.
    void placement() {
        const auto defaults = makeMain();
        placementStore({"abc", "3000", "-5", "0"});
        auto w = makeMain();
        QCOMPARE(w->pos(), QPoint(defaults->x(), 200));
        QCOMPARE(w->size(), defaults->size());

        placementStore({"1500", "3000", "9000", "7500"});
        w = makeMain();
        QCOMPARE(w->pos(), QPoint(100, 200));
        QCOMPARE(w->size(), QSize(600, 500));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->move(120, 90);
        w->resize(640, 480);
        QVERIFY(w->close());
        QCOMPARE(placementStore(), (QStringList{QString::number(w->x() * 15),
                                                QString::number(w->y() * 15), "9600", "7200"}));

        placementStore({"1500", "3000", "9000", "7500"});
        w = makeMain();
        w->show();
        w->resize(300, 300);
        w->setWindowState(Qt::WindowMinimized);
        QVERIFY(w->close());
        QCOMPARE(placementStore(), (QStringList{"1500", "3000", "9000", "7500"}));
    }

    // The sign-in screen opens after loading, today's list behind it after
    // the screen was painted; closing it leaves the main window usable and
    // the menu reopens it; closing the main window ends the open modal
    // windows newest first.
    void signWindowAndClosing() {
        QVERIFY(fx->addDept(1, "D") && fx->addEmployee("001", "n", "100000000000001", 1) &&
                fx->addPresence("001", kNow));
        auto w = std::make_unique<frmMain>();
        gfrmMain = w.get();
        frmSign* sign = w->signWindow();
        // The main window is painted before the sign-in screen is shown.
        QStringList order;
        EventNotes notes([&](QObject* o, QEvent* e) {
            if ((o == w.get() && e->type() == QEvent::Paint) ||
                (o == sign && e->type() == QEvent::Show))
                order << o->objectName();
        });
        w->installEventFilter(&notes);
        sign->installEventFilter(&notes);
        w->show();
        QAbstractItemModel* list = child<QTreeView>(w.get(), "lsvList")->model();
        QVERIFY(sign && !sign->isVisible() && list->rowCount() == 0);
        QTRY_VERIFY(sign->isVisible());
        QCOMPARE(order.mid(0, 2), (QStringList{"frmMain", "frmSign"}));
        QTRY_COMPARE(list->rowCount(), 1);
        sign->close();
        child<QAction>(w.get(), "mnuDspAttendanceDlg")->trigger();
        QVERIFY(sign->isVisible());
        QCOMPARE(w->signWindow(), sign);

        QStringList closedOrder;
        connect(sign, &QDialog::rejected, this, [&] { closedOrder << "frmSign"; });
        OnNextModal(
            [&](QWidget* about) {
                QVERIFY(qobject_cast<frmAbout*>(about));
                connect(static_cast<QDialog*>(about), &QDialog::rejected, this,
                        [&] { closedOrder << "frmAbout"; });
                w->close();
            },
            "frmSign");
        QVERIFY(QMetaObject::invokeMethod(w.get(), "mnuHelpAbout_Click", Qt::DirectConnection));
        QVERIFY(!w->isVisible() && !sign->isVisible());
        QCOMPARE(closedOrder, (QStringList{"frmAbout", "frmSign"}));
        gfrmMain = nullptr;
    }

    // A main window that is never painted (never exposed) still opens the
    // sign-in screen, after a quarter of a second.
    void signWindowWithoutMainPaint() {
        frmMain w;
        w.setUpdatesEnabled(false);
        w.show();
        QElapsedTimer since;
        since.start();
        QTRY_VERIFY(w.signWindow()->isVisible());
        QVERIFY2(since.elapsed() >= 200, qPrintable(QString::number(since.elapsed())));
        w.close();
    }

    // Today's rows (not yesterday's), both rows of one employee for one day
    // (two stations at once); a scan refreshes at once. The sort column starts
    // as the first, ascending: a click on another header takes that column
    // with the direction unchanged, on the same one reverses it; a refresh
    // keeps the order. Without a database (or its table): an empty list, no message.
    void todaysList() {
        QVERIFY(fx->addDept(1, QStringLiteral("教务处")));
        const QStringList names = {"Carol", "Alice", "Bob", "Dan"};
        for (int i = 0; i < 4; ++i)
            QVERIFY(fx->addEmployee(QStringLiteral("00%1").arg(i + 1), names[i],
                                    QStringLiteral("10000000000000%1").arg(i), 1));
        QVERIFY(fx->addPresence("003", kNow.addSecs(-3600), kNow.addSecs(-60)) &&
                fx->addPresence("001", kNow.addSecs(-1800)) &&
                fx->addPresence("002", kNow.addDays(-1), kNow.addDays(-1).addSecs(600)));
        auto w = makeMain();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTreeView* l = child<QTreeView>(w.get(), "lsvList");
        l->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(TreeColumn(l, 0), (QStringList{"001", "003"}));
        QCOMPARE(TreeColumn(l, 1), (QStringList{"Carol", "Bob"}));
        QCOMPARE(TreeColumn(l, 2), (QStringList{"2026-3-18 9:00:00", "2026-3-18 8:30:00"}));
        QCOMPARE(TreeColumn(l, 3), (QStringList{"", "2026-3-18 9:29:00"})); // no departure yet

        QVERIFY(fx->addPresence("002", kNow) && fx->addPresence("002", kNow.addSecs(1)));
        emit w->signWindow()->onUpdatePresenceList();
        clickHeader(l, 1);
        QCOMPARE(TreeColumn(l, 1), (QStringList{"Alice", "Alice", "Bob", "Carol"}));
        clickHeader(l, 1);
        QCOMPARE(TreeColumn(l, 1), (QStringList{"Carol", "Bob", "Alice", "Alice"}));
        clickHeader(l, 0);
        QCOMPARE(TreeColumn(l, 0), (QStringList{"003", "002", "002", "001"}));
        QVERIFY(fx->addPresence("004", kNow));
        w->UpdateEmployeePresenceList();
        QCOMPARE(TreeColumn(l, 0), (QStringList{"004", "003", "002", "002", "001"}));

        if (TestProgramDir::OnServer()) {
            QVERIFY(fx->exec(QStringLiteral("ALTER TABLE Presence RENAME TO PresenceGone")));
        } else {
            clsDbConn::CloseShared();
            QVERIFY(QFile::remove(fx->dbPath));
        }
        w->UpdateEmployeePresenceList();
        QCOMPARE(l->model()->rowCount(), 0);
        QVERIFY(boxes.isEmpty());
    }

    // A good department file replaces the departments all (files that fail
    // keep the old ones: tst_exchange badFilesLeaveTheDatabase; their message:
    // tst_desktopkit exchangeOutcome). This month's records go to a new backup
    // file (the range and the refused existing file: tst_exchange
    // monthFilesNeverOverwrite); a blank backup name is refused. Cancel does
    // nothing.
    void departmentUpdateAndMonthBackup() {
        const char* names[] = {"教务处", "总务处", "校办"};
        for (int id = 1; id <= 3; ++id)
            QVERIFY(fx->addDept(id, QString::fromUtf8(names[id - 1])));
        const QString good = fx->file(QStringLiteral("部门信息.xml"));
        QVERIFY(ExchangeFiles::ExportDepartments(MainSession::Get(), good,
                                                 ExchangeFiles::Existing::Refuse));
        QVERIFY(fx->addDept(7, QStringLiteral("旧部门")));
        QVERIFY(fx->addPresence("001", QDateTime(QDate(2026, 3, 1), QTime(8, 0))));

        auto w = makeMain();
        QCOMPARE(withFile(w.get(), "mnuImportDetpInfo_Click", QStringLiteral("  ") + good + " "),
                 box("信息", "数据导入完成！", MsgBox::Icon::Information));
        QCOMPARE(fx->rows("Dept"), 3);
        QCOMPARE(fx->rows("Dept WHERE ID = 2 AND DNAME = '总务处'"), 1);
        QCOMPARE(dialogs.files.last().kind, FileDialog::Kind::Open);
        QCOMPARE(withFile(w.get(), "mnuImportDetpInfo_Click", QString()), QString());

        const QString file = fx->file(QStringLiteral("backup.xml"));
        const char* backup = "mnuBackUpCurrentMonthPrs_Click";
        QCOMPARE(withFile(w.get(), backup, file + QStringLiteral("  ")),
                 box("信息", "数据已成功导出！", MsgBox::Icon::Information));
        QCOMPARE(dialogs.files.last().kind, FileDialog::Kind::Save);
        QVERIFY(readFile(file).contains("2026-03-01"));
        QCOMPARE(withFile(w.get(), backup, QStringLiteral("   ")),
                 box("错误", "没有指定备份文件名!"));
        QCOMPARE(withFile(w.get(), backup, QString()), QString());
    }

    // The help (in English the English page; the build puts both pages
    // beside the programs, each in its language), the home page and the
    // About window's link open through the desktop.
    void helpHomePageAndAbout() {
        {
            EnglishScope english;
            QVERIFY(english.Installed());
            child<QAction>(makeMain().get(), "mnuHelpFile")->trigger();
        }
        const QDir bin(QCoreApplication::applicationDirPath());
        QVERIFY(readFile(bin.filePath("HELP-en.html")).contains("<html lang=\"en\">"));
        QVERIFY(readFile(bin.filePath("HELP.html")).contains("<html lang=\"zh-CN\">"));
        auto w = makeMain();
        child<QAction>(w.get(), "mnuHelpFile")->trigger();
        child<QAction>(w.get(), "mnuVistHomePage")->trigger();
        frmAbout about({QString(), QString(), 2, 0, 0, Station::HomePage()});
        about.show();
        QTest::mouseClick(child<QLabel>(&about, "lblURL"), Qt::LeftButton);
        QCOMPARE(gOpened, (QStringList{fx->file("HELP-en.html"), fx->file("HELP.html"),
                                       Station::HomePage(), Station::HomePage()}));
        QVERIFY(boxes.isEmpty()); // results are not examined

        if (!frmAbout::SystemInfoTool().isEmpty())
            QSKIP("a system information tool is installed here");
        child<QPushButton>(&about, "cmdSysInfo")->click();
        QCOMPARE(boxes.lines(), box("签到系统", "此时系统信息不可用", MsgBox::Icon::None));
    }

    // A station clock two minutes behind the server's shows in the status
    // bar, at start and at the hourly check; so does a station an hour east
    // of the server's time zone, its clock right (records would be written an
    // hour off). A database file has no other clock to compare with.
    void serverClockAndTimeZoneWarnings() {
        clockWarning([] { return QDateTime::currentDateTime().addSecs(-120); },
                     QStringLiteral("^本机时钟与服务器相差 1(19|20|21) 秒，请校准时间$"));
        const int here = QDateTime::currentDateTime().offsetFromUtc();
        const auto utc = [](int s) {
            return QStringLiteral("UTC%1%2:00")
                .arg(s < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                .arg(qAbs(s) / 3600, 2, 10, QLatin1Char('0'));
        };
        clockWarning([here] { return QDateTime::currentDateTime().toOffsetFromUtc(here + 3600); },
                     QRegularExpression::anchoredPattern(QRegularExpression::escape(
                         QStringLiteral("本机时区（%1）与服务器时区（%2）不同，请校准时区")
                             .arg(utc(here + 3600), utc(here)))));
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
