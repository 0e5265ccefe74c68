// The sign-in screen on a real X server without a window manager, as on a
// kiosk PC that starts only X and the station: keys are real X key events
// that go where the X input focus is. The program starts its own Xvfb.
#include "platform/DesktopKit.h"
#include "report/ReportFonts.h"
#include "shared/base/AppClock.h"
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

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The longest time between two ticks of a 10 ms timer: how long the event
// loop was blocked at most.
class LoopGapMeter : public QObject {
public:
    LoopGapMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this,
                [this] { maxGapMs = qMax(maxGapMs, m_clock.restart()); });
        m_clock.start();
        m_timer.start(10);
    }
    qint64 maxGapMs = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};

const QString kUnknownCard = QStringLiteral("000000000000000");
const QString kArrival = QStringLiteral("上班喽\r\n轻松点\r\n快乐点");

// Whether the box has the X input focus within five seconds: keys typed now reach it.
bool boxHasKeyboard(QWidget* box) {
    return QTest::qWaitFor([box] { return QGuiApplication::focusWindow() == box->windowHandle(); },
                           5000);
}

// Presses a key until `done` (at most three times, a second apart).
bool pressUntil(const QString& key, const std::function<bool()>& done) {
    for (int i = 0; i < 3; ++i)
        if (XPressKey(key) && QTest::qWaitFor(done, 1000))
            return true;
    return false;
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
    // after a real message box closed with Enter, and shown again after
    // another window had the keyboard, the screen takes the keyboard back
    // itself, so the next card is read.
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

        QString shown;
        bool closedByEnter = false;
        OnNextModal(
            [&](QWidget* box) {
                shown = qobject_cast<QMessageBox*>(box)->text();
                // Closed as the user does: Enter on the box, once it has the
                // keyboard (pressed again should the first one come too early).
                closedByEnter = boxHasKeyboard(box) && pressUntil(QStringLiteral("Return"), [box] {
                                    return !box->isVisible();
                                });
                box->close();
            },
            "frmSign");
        scan(QStringLiteral("000"));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() &&
                                     !qobject_cast<QMessageBox*>(QApplication::activeModalWidget()),
                                 10000);
        QCOMPARE(shown, QStringLiteral("无效条码！如果签到卡无误，请重试一遍！"));
        QVERIFY(closedByEnter);
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
    // recorded: greeted and stored.
    void cardScannedIntoWarningIsRecorded_data() {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QString>("endKey");
        QTest::addColumn<QString>("message");
        const QString invalid = QStringLiteral("无效条码！如果签到卡无误，请重试一遍！");
        const QString repeated = QStringLiteral("连续扫描签到卡！");
        QTest::newRow("unknown card, Return") << false << "Return" << invalid;
        QTest::newRow("repeated scan, Tab") << true << "Tab" << repeated;
        QTest::newRow("unknown card, keypad Enter") << false << "KP_Enter" << invalid;
    }

    void cardScannedIntoWarningIsRecorded() {
        SKIP_UNLESS_XCB();
        QFETCH(bool, repeat);
        QFETCH(QString, endKey);
        QFETCH(QString, message);
        openWindow();
        if (repeat) {
            scan(kCards[0]);
            QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[0], 5000);
        }
        QElapsedTimer clock; // started before the box's own time
        QString shown;
        qint64 closedAt = -1;
        OnNextModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            shown = box->text();
            if (boxHasKeyboard(box) && XScan(kCards[1], endKey) &&
                QTest::qWaitFor([box] { return !box->isVisible(); }, 3000))
                closedAt = clock.elapsed();
            box->close();
        });
        clock.start();
        scan(repeat ? kCards[0] : kUnknownCard);
        QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[1], 5000);
        QCOMPARE(shown, message);
        QVERIFY2(closedAt >= 0 && closedAt < frmSign::WarningCloseMs,
                 "the scan did not close the box");
        QCOMPARE(child<QLabel>(dlg.get(), "lblWelcome")->text(), kArrival);
        QCOMPARE(fx->rows(QStringLiteral("Presence WHERE ENUMBER = 'E002'")), 1);
        QCOMPARE(fx->rows(QStringLiteral("Presence")), repeat ? 2 : 1);
        QCOMPARE(dlg->PendingScans(), 0);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // A warning left alone is still up shortly before WarningCloseMs and
    // closes itself then; the keyboard is back with the screen, so the next
    // card is recorded.
    void warningClosesItself() {
        SKIP_UNLESS_XCB();
        openWindow();
        QElapsedTimer clock; // started before the box's own time
        qint64 seenUpAt = -1;
        qint64 closedAt = -1;
        OnNextModal([&](QWidget* box) {
            const int before = frmSign::WarningCloseMs - 1500;
            QTest::qWait(qMax(0, before - int(clock.elapsed())));
            if (box->isVisible())
                seenUpAt = clock.elapsed();
            if (QTest::qWaitFor([box] { return !box->isVisible(); }, 10000))
                closedAt = clock.elapsed();
            box->close();
        });
        clock.start();
        scan(kUnknownCard);
        QTRY_VERIFY_WITH_TIMEOUT(closedAt >= 0, 15000);
        QVERIFY2(seenUpAt >= 0 && seenUpAt < frmSign::WarningCloseMs,
                 qPrintable(QString::number(seenUpAt)));
        QVERIFY2(closedAt >= frmSign::WarningCloseMs, qPrintable(QString::number(closedAt)));
        QVERIFY(!QApplication::activeModalWidget());
        scan(kCards[1]);
        QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[1], 5000);
        QCOMPARE(fx->rows(QStringLiteral("Presence")), 1);
    }

    // A lone Tab leaves the warning up; a lone Return closes it as before,
    // and no scan comes of either. The next card is then read on the screen.
    void loneEndKeysAnswerTheWarning() {
        SKIP_UNLESS_XCB();
        openWindow();
        QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
        QElapsedTimer clock;
        bool upAfterTab = false;
        qint64 closedAt = -1;
        OnNextModal([&](QWidget* box) {
            if (boxHasKeyboard(box) && XPressKey(QStringLiteral("Tab"))) {
                QTest::qWait(300);
                upAfterTab = box->isVisible();
            }
            if (pressUntil(QStringLiteral("Return"), [box] { return !box->isVisible(); }))
                closedAt = clock.elapsed();
            box->close();
        });
        clock.start();
        scan(kUnknownCard);
        QTRY_VERIFY_WITH_TIMEOUT(closedAt >= 0, 10000);
        QVERIFY(upAfterTab);
        QVERIFY2(closedAt < frmSign::WarningCloseMs, "Return did not close the box");
        QTest::qWait(300);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(dlg->PendingScans(), 0);
        QCOMPARE(refresh.count(), 0);
        QCOMPARE(name(), Station::ProgramTitle());
        scan(kCards[2]);
        QTRY_COMPARE_WITH_TIMEOUT(name(), kNames[2], 5000);
        QCOMPARE(fx->rows(QStringLiteral("Presence")), 1);
    }

    // Another program holds a write lock for 8 s while three cards are scanned:
    // the screen keeps painting its clock, and once the lock is gone the three
    // scans, waiting together, are recorded in one transaction and greeted in
    // scan order once they are written, without a message.
    void lockedDatabaseKeepsScansInOrder() {
        SKIP_UNLESS_XCB();
        BoxLog boxes;
        openWindow();
        PaintCounter clockPaints;
        child<QLabel>(dlg.get(), "lblTime")->installEventFilter(&clockPaints);

        QSqlDatabase other = clsDbConn::OpenFile(fx->dbPath, QStringLiteral("other program"));
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        QElapsedTimer held;
        held.start();
        LoopGapMeter loop;
        bool released = false;
        QTimer::singleShot(8000, Qt::PreciseTimer, &loop,
                           [&] { released = QSqlQuery(other).exec("COMMIT"); });

        QStringList greetings; // name shown and records written at each refresh
        connect(dlg.get(), &frmSign::onUpdatePresenceList, &loop, [&] {
            greetings
                << QStringLiteral("%1 %2 %3").arg(name()).arg(fx->rows("Presence")).arg(released);
        });
        for (const QString& card : kCards) {
            scan(card);
            QTest::qWait(300);
        }
        QTest::qWait(int(qMax<qint64>(0, 7000 - held.elapsed())));
        const int paintsWhileLocked = clockPaints.paints;
        const qint64 gapWhileLocked = loop.maxGapMs;
        QCOMPARE(fx->rows("Presence"), 0);
        QTRY_VERIFY_WITH_TIMEOUT(released, 5000);
        // Each name shown in scan order, all three records written before.
        QTRY_COMPARE_WITH_TIMEOUT(fx->rows("Presence"), 3, 15000);
        QTRY_COMPARE(greetings, (QStringList{"张三 3 1", "李四 3 1", "王五 3 1"}));
        QVERIFY(boxes.isEmpty());
        QVERIFY2(paintsWhileLocked >= 5, "the clock stopped while the database was locked");
        QVERIFY2(gapWhileLocked < 500, "the window froze while the database was locked");
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other program"));
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
