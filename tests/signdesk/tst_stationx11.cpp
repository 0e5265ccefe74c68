// The sign-in screen on a real X server without a window manager, as on a
// kiosk PC that starts only X and the station: keys are real X key events
// that go where the X input focus is. The program starts its own Xvfb.
#include "platform/DesktopKit.h"
#include "report/ReportFonts.h"
#include "shared/base/AppClock.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmMain.h"
#include "signdesk/frmSign.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/TestProgramDir.h"
#include "tests/common/XvfbSession.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

namespace {

const QString kCards[] = {QStringLiteral("123456789012345"), QStringLiteral("987654321098765"),
                          QStringLiteral("555566667777888")};
const QString kNames[] = {QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")};

// Whether the box has the X input focus within five seconds: keys typed now reach it.
bool boxHasKeyboard(QWidget* box) {
    return QTest::qWaitFor([box] { return QGuiApplication::focusWindow() == box->windowHandle(); },
                           5000);
}

} // namespace

class tst_StationX11 : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    std::unique_ptr<frmSign> dlg;

    QString name() const { return child<QLabel>(dlg.get(), "lblName")->text(); }
    void openWindow() {
        dlg = std::make_unique<frmSign>();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    }
    // A card as the scanner types it, through the X server.
    void scan(const QString& card) { QVERIFY(XScan(card)); }

private slots:
    void initTestCase() {
        DesktopKit::SetProgramTitle(Station::ProgramTitle());
        ReportFonts::InstallSubstitutions();
    }

    void init() {
        AppClock::reset();
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, QStringLiteral("教务处")));
        for (int i = 0; i < 3; ++i)
            QVERIFY(fx->addEmployee(QStringLiteral("E00%1").arg(i + 1), kNames[i], kCards[i], 1,
                                    TestProgramDir::jpeg(i)));
    }

    void cleanup() {
        dlg.reset();
        fx.reset();
        AppClock::reset();
    }

    // As the station starts: the main window opens the sign-in screen. Shown,
    // after a real message box (a lone Tab leaves it up, a lone Return closes
    // it, and no scan comes of either), and shown again after another window
    // had the keyboard, the screen takes the keyboard back itself, so the
    // next card is read.
    void keysReachTheScreenAfterMessageBoxes() {
        SKIP_UNLESS_XCB();
        QTemporaryDir settings;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        frmMain main;
        main.show();
        QTRY_VERIFY(main.signWindow() && main.signWindow()->isVisible());
        frmSign* sign = main.signWindow();
        const auto name = [sign] { return child<QLabel>(sign, "lblName")->text(); };
        QVERIFY(QTest::qWaitForWindowExposed(sign));
        scan(kCards[0]);
        QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[0], 5000);

        QSignalSpy refresh(sign, &frmSign::onUpdatePresenceList);
        QString shown;
        bool upAfterTab = false, closedByEnter = false;
        QElapsedTimer clock; // started before the box's own time
        OnNextModal(
            [&](QWidget* box) {
                shown = qobject_cast<QMessageBox*>(box)->text();
                if (boxHasKeyboard(box) && XPressKey(QStringLiteral("Tab"))) {
                    QTest::qWait(300);
                    upAfterTab = box->isVisible();
                }
                // Closed as the user does: Enter on the box (pressed again,
                // a second apart, should the first one come too early), not by
                // its own time.
                for (int i = 0; i < 3 && !closedByEnter; ++i)
                    closedByEnter = XPressKey(QStringLiteral("Return")) &&
                                    QTest::qWaitFor([box] { return !box->isVisible(); }, 1000);
                closedByEnter = closedByEnter && clock.elapsed() < frmSign::WarningCloseMs;
                box->close();
            },
            "frmSign");
        clock.start();
        scan(QStringLiteral("000"));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() &&
                                     !qobject_cast<QMessageBox*>(QApplication::activeModalWidget()),
                                 10000);
        QVERIFY(upAfterTab && closedByEnter);
        QTest::qWait(300);
        QVERIFY(refresh.isEmpty() && sign->PendingScans() == 0);
        scan(kCards[1]);
        QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[1], 5000);

        // Another window takes the keyboard; the screen is closed and opened again.
        sign->close();
        QLineEdit other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        child<QAction>(&main, "mnuDspAttendanceDlg")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(sign));
        scan(kCards[2]);
        QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[2], 5000);
        QVERIFY(other.text().isEmpty());
        main.close();
    }

    // A refused scan (an unknown card, a repeated scan) opens the real warning
    // box. The next person's card, scanned while the box has the keyboard and
    // ended by Return, Tab or keypad Enter, closes the box at once and is
    // recorded: greeted and stored. A box left alone is still up shortly
    // before WarningCloseMs and closes itself then, the keyboard back with the
    // screen, so the card scanned next is recorded.
    void cardScannedIntoWarningIsRecorded_data() {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QString>("endKey"); // empty: the box left alone
        QTest::newRow("unknown card, Return") << false << "Return";
        QTest::newRow("repeated scan, Tab") << true << "Tab";
        QTest::newRow("unknown card, keypad Enter") << false << "KP_Enter";
        QTest::newRow("unknown card, left alone") << false << "";
    }

    void cardScannedIntoWarningIsRecorded() {
        SKIP_UNLESS_XCB();
        QFETCH(bool, repeat);
        QFETCH(QString, endKey);
        openWindow();
        if (repeat) {
            scan(kCards[0]);
            QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[0], 5000);
        }
        QElapsedTimer clock; // started before the box's own time
        qint64 seenUpAt = -1, closedAt = -1;
        OnNextModal([&](QWidget* box) {
            if (endKey.isEmpty())
                QTest::qWait(qMax(0, frmSign::WarningCloseMs - 1500 - int(clock.elapsed())));
            else if (!boxHasKeyboard(box) || !XScan(kCards[1], endKey))
                return void(box->close());
            seenUpAt = box->isVisible() ? clock.elapsed() : -1;
            if (QTest::qWaitFor([box] { return !box->isVisible(); }, 10000))
                closedAt = clock.elapsed();
            box->close();
        });
        clock.start();
        scan(repeat ? kCards[0] : QStringLiteral("000000000000000"));
        QTRY_VERIFY_WITH_TIMEOUT(closedAt >= 0, 15000);
        if (endKey.isEmpty()) {
            QVERIFY2(
                seenUpAt >= 0 && seenUpAt < frmSign::WarningCloseMs &&
                    closedAt >= frmSign::WarningCloseMs,
                qPrintable(QStringLiteral("up at %1, closed at %2").arg(seenUpAt).arg(closedAt)));
            scan(kCards[1]);
        } else {
            QVERIFY2(closedAt < frmSign::WarningCloseMs, "the scan did not close the box");
        }
        QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[1], 5000);
        QCOMPARE(child<QLabel>(dlg.get(), "lblWelcome")->text(), "上班喽\r\n轻松点\r\n快乐点");
        QCOMPARE(fx->rows(QStringLiteral("Presence WHERE ENUMBER = 'E002'")), 1);
        QCOMPARE(fx->rows(QStringLiteral("Presence")), repeat ? 2 : 1);
        QCOMPARE(dlg->PendingScans(), 0);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Another program holds a write lock for 8 s while three cards are scanned:
    // the window never freezes, and once the lock is gone the three
    // scans, waiting together, are recorded in one transaction and greeted in
    // scan order once they are written, without a message.
    void lockedDatabaseKeepsScansInOrder() {
        SKIP_UNLESS_XCB();
        BoxLog boxes;
        openWindow();
        const ScopedConnection holder(QStringLiteral("other program"));
        QSqlDatabase other = clsDbConn::OpenFile(fx->dbPath, holder.name());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        QElapsedTimer held;
        held.start();
        // The longest time between two ticks of a 10 ms timer: how long the
        // event loop was blocked at most.
        QTimer ticks;
        QElapsedTimer sinceTick;
        qint64 maxGapMs = 0;
        connect(&ticks, &QTimer::timeout, [&] { maxGapMs = qMax(maxGapMs, sinceTick.restart()); });
        sinceTick.start();
        ticks.setTimerType(Qt::PreciseTimer);
        ticks.start(10);
        bool released = false;
        QTimer::singleShot(8000, Qt::PreciseTimer, &ticks,
                           [&] { released = QSqlQuery(other).exec("COMMIT"); });

        QStringList greetings; // name shown and records written at each refresh
        connect(dlg.get(), &frmSign::onUpdatePresenceList, &ticks, [&] {
            greetings
                << QStringLiteral("%1 %2 %3").arg(name()).arg(fx->rows("Presence")).arg(released);
        });
        for (const QString& card : kCards) {
            scan(card);
            QTest::qWait(300);
        }
        QTest::qWait(int(qMax<qint64>(0, 7000 - held.elapsed())));
        const qint64 gapWhileLocked = maxGapMs;
        QCOMPARE(fx->rows("Presence"), 0);
        QTRY_VERIFY_WITH_TIMEOUT(released, 5000);
        // Each name shown in scan order, all three records written before.
        QTRY_COMPARE_WITH_TIMEOUT(fx->rows("Presence"), 3, 15000);
        QTRY_COMPARE(greetings, (QStringList{"张三 3 1", "李四 3 1", "王五 3 1"}));
        QVERIFY(boxes.isEmpty());
        QVERIFY2(gapWhileLocked < 500, "the window froze while the database was locked");
    }
};

int main(int argc, char** argv) {
    return RunUnderXvfb(argc, argv, [](int count, char** args) {
        QApplication app(count, args);
        tst_StationX11 test;
        QTEST_SET_MAIN_SOURCE_PATH
        return QTest::qExec(&test, count, args);
    });
}

#include "tst_stationx11.moc"
