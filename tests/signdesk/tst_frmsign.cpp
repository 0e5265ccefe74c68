// The sign-in screen: keystroke gathering, the presence results on screen,
// the idle return, the waiting animation and its frames.
#include "devices/sound/SoundPlayer.h"
#include "platform/DesktopKit.h"
#include "report/ReportFonts.h"
#include "shared/base/AppClock.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmSign.h"
#include "station/ScanService.h"
#include "tests/common/BoxLog.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

namespace {

const QString kCardA = QStringLiteral("123456789012345");
const QString kCardB = QStringLiteral("987654321098765");
const QString kInvalid = QStringLiteral("无效条码！如果签到卡无误，请重试一遍！");
const QString kArrival = QStringLiteral("上班喽\r\n轻松点\r\n快乐点");
const QString kDeparture = QStringLiteral("\r\n下班啦");
const char* const kTimers[] = {"TimerDspWait", "TimerDspInfo", "TimerDspTime"};

QByteArray jpegOf(const QSize& size, const QColor& colour, const char* format = "JPG") {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

bool samePicture(const QPixmap& a, const QPixmap& b) {
    return a.size() == b.size() && a.toImage().convertToFormat(QImage::Format_RGB32) ==
                                       b.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_frmSign : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    std::unique_ptr<frmSign> dlg;
    BoxLog boxes;
    QByteArray photoA;

    // The scan goes to a worker (the file's, or through the journal the
    // server's): waited for.
    void settle() { QVERIFY(dlg->Service()->WaitIdle(10000)); }
    void openWindow() {
        dlg = std::make_unique<frmSign>();
        dlg->show();
        settle(); // on a server: the copy filled, the worker connected
    }
    // Keys as a scanner types them: a few milliseconds apart.
    void type(QWidget* target, const QString& text, int stepMs = 2) {
        for (const QChar c : text) {
            QTest::keyClick(target, c.toLatin1());
            AppClock::advance(stepMs);
        }
    }
    void scan(const QString& barcode) {
        type(dlg.get(), barcode);
        QTest::keyClick(dlg.get(), Qt::Key_Return);
        settle();
    }
    QLabel* label(const char* name) const { return child<QLabel>(dlg.get(), name); }
    QString name() const { return label("lblName")->text(); }
    QLineEdit* field() const { return child<QLineEdit>(dlg.get(), "txtBarCode"); }
    QTimer* timer(const char* name) const { return child<QTimer>(dlg.get(), name); }
    QList<QLabel*> frames() const {
        QList<QLabel*> result(frmSign::WaitFrameCount, nullptr);
        for (QLabel* l : dlg->findChildren<QLabel*>(QStringLiteral("imgWait")))
            result[l->property("index").toInt()] = l;
        return result;
    }
    QList<int> shownFrames() const {
        QList<int> shown;
        for (QLabel* l : frames())
            if (!l->isHidden())
                shown.append(l->property("index").toInt());
        return shown;
    }
    void tick(const char* slot) { QVERIFY(QMetaObject::invokeMethod(dlg.get(), slot)); }
    // The idle texts with `unit`, every timer running, no entry field.
    void checkIdle(const QString& unit) {
        QCOMPARE(name(), QStringLiteral("签到系统"));
        QCOMPARE(label("lblWelcome")->text(), QStringLiteral("\r\n") + unit);
        QVERIFY(field()->isHidden());
        for (const char* t : kTimers)
            QVERIFY2(timer(t)->isActive(), t);
    }

private slots:
    void initTestCase() {
        DesktopKit::SetProgramTitle(Station::ProgramTitle());
        ReportFonts::InstallSubstitutions();
        photoA = jpegOf(QSize(40, 30), Qt::red);
    }

    void init() {
        boxes.clear();
        AppClock::setFixed(QDateTime(QDate(2009, 11, 25), QTime(8, 0, 0)));
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "教务处") && fx->addEmployee("E001", "张三", kCardA, 1, photoA) &&
                fx->addEmployee("E002", "李四", kCardB, 1, photoA) &&
                fx->addEmployee("E003", "王五", "ABCD", 1, photoA));
    }

    void cleanup() {
        dlg.reset();
        fx.reset();
        AppClock::reset();
    }

    // Keys typed, a pause, more keys, Enter: the barcode is the keys after the
    // last pause of two seconds or more, in upper case; Enter empties it, and
    // an Enter after nothing is no scan; Tab ends a scan as well. Both sides of the pause rule on
    // the window's clock (the rule: tst_scaninput).
    void keysMakeOneBarcode() {
        int scans = 0;
        // Keys, a pause, keys at `stepMs` apart, the name greeted.
        for (const auto& [first, pauseMs, second, stepMs, found] :
             {std::tuple{"\x1b", 0, kCardA, 1999, "张三"},
              {"99", 1998, QString("abcd"), 2, "王五"}}) {
            openWindow();
            type(dlg.get(), first, stepMs);
            AppClock::advance(pauseMs);
            type(dlg.get(), second, stepMs);
            QTest::keyClick(dlg.get(), Qt::Key_Return);
            settle();
            QCOMPARE(name(), found);
            QCOMPARE(fx->rows("Presence"), ++scans);
            QTest::keyClick(dlg.get(), Qt::Key_Enter);
        }
        // A scanner that sends STX before the code and GS and Tab after it:
        // one scan (Tab moves no focus).
        const auto send = [&](Qt::Key key, const char* text) {
            QTest::sendKeyEvent(QTest::Click, dlg.get(), key, QString::fromLatin1(text), {});
        };
        send(Qt::Key_B, "\x02");
        type(dlg.get(), kCardB);
        send(Qt::Key_unknown, "\x1d");
        send(Qt::Key_Tab, "\t");
        settle();
        QCOMPARE(name(), QStringLiteral("李四"));
        QVERIFY(boxes.isEmpty());
    }

    // Shift + right click on the clock (nothing else) opens the entry field; what
    // is typed there is trimmed, and reaches the window's barcode once.
    void manualEntry() {
        openWindow();
        const std::tuple<const char*, Qt::MouseButton, Qt::KeyboardModifiers> others[] = {
            {"lblTime", Qt::RightButton, {}},
            {"lblTime", Qt::LeftButton, Qt::ShiftModifier},
            {"lblName", Qt::RightButton, Qt::ShiftModifier}};
        for (const auto& [target, button, modifiers] : others) {
            QTest::mouseClick(label(target), button, modifiers);
            QVERIFY(field()->isHidden());
        }
        type(dlg.get(), QStringLiteral("555")); // discarded by the manual entry
        QTest::mouseClick(label("lblTime"), Qt::RightButton, Qt::ShiftModifier);
        QVERIFY(field()->isVisible());
        type(field(), "  " + kCardA + "  ");
        QTest::keyClick(field(), Qt::Key_Return);
        settle();
        QCOMPARE(name(), QStringLiteral("张三"));
        QVERIFY(field()->isHidden() && field()->text().isEmpty());

        QTest::mouseClick(label("lblTime"), Qt::RightButton, Qt::ShiftModifier);
        type(field(), kCardB);
        field()->clear();
        QTest::keyClick(dlg.get(), Qt::Key_Return);
        settle();
        QVERIFY(boxes.isEmpty());
        QCOMPARE(name(), QStringLiteral("李四"));
    }

    // Up to 60 s after the arrival a scan is refused, 61 s after it is the
    // departure, after the departure nothing more is stored. A message leaves
    // the display and its timer alone; a stored scan restarts the timer.
    void arrivalRepeatDeparture() {
        openWindow();
        QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
        QSignalSpy cues(child<SoundPlayer>(dlg.get(), "soundPlayer"), &SoundPlayer::cueRequested);
        int refreshes = 1;
        // After `ms` more, a scan of card A shows `message` (empty: none) and
        // `welcome`, leaving one row of `presence`.
        const auto scanAfter = [&](int ms, const QString& message, const QString& welcome,
                                   const char* presence) {
            boxes.clear();
            timer("TimerDspInfo")->stop();
            AppClock::advance(ms);
            scan(kCardA);
            QCOMPARE(boxes.lines(), message.isEmpty() ? QString() : box("警告", message));
            QCOMPARE(refresh.count(), ++refreshes);
            QCOMPARE(label("lblWelcome")->text(), welcome);
            QCOMPARE(timer("TimerDspInfo")->isActive(), message.isEmpty());
            QCOMPARE(fx->rows(presence), 1);
        };
        scan(kCardA);
        // The second Enter 60 s after the first.
        scanAfter(60000 - 2 * kCardA.size(), "连续扫描签到卡！", kArrival,
                  "Presence WHERE EXITTIME IS NULL");
        scanAfter(1000, QString(), kDeparture, "Presence WHERE EXITTIME IS NOT NULL");
        scanAfter(3600000, "今天您已经签退了！", kDeparture, "Presence");
        using Cue = SoundPlayer::Cue;
        QList<Cue> heard;
        for (const QList<QVariant>& cue : cues)
            heard.append(cue[0].value<Cue>());
        QCOMPARE(heard, QList<Cue>({Cue::Arrival, Cue::Refused, Cue::Departure, Cue::Refused}));
    }

    // Refused scans: one warning, nothing stored, the idle texts stay.
    void refusedScans_data() {
        QTest::addColumn<QString>("sql"); // run before the scan; "remove": no database
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("refreshes");
        QTest::newRow("unknown card") << QString() << "111111111111111" << kInvalid << 0;
        QTest::newRow("no database") << "remove" << kCardA << "数据库操作失败！" << 0;
        QTest::newRow("state unreadable") << "DROP TABLE Presence" << kCardA << "系统错误！" << 1;
        QTest::newRow("write refused")
            << (TestProgramDir::OnServer()
                    ? "ALTER TABLE Presence ADD CONSTRAINT refuse CHECK (false) NOT VALID"
                    : "CREATE TRIGGER refuse BEFORE INSERT ON Presence "
                      "BEGIN SELECT RAISE(ABORT, 'refused'); END")
            << kCardA << "系统错误！" << 1;
    }

    void refusedScans() {
        QFETCH(QString, sql);
        QFETCH(QString, barcode);
        QFETCH(QString, message);
        QFETCH(int, refreshes);
        openWindow();
        QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
        if (sql == QLatin1String("remove")) {
            if (TestProgramDir::OnServer())
                QSKIP("a server site greets from its copy: offlineScan");
            clsDbConn::CloseShared();
            QVERIFY(QFile::remove(fx->dbPath));
        } else if (!sql.isEmpty()) {
            QVERIFY(QSqlQuery(clsDbConn().GetDbConn()).exec(sql));
        }
        QSignalSpy cues(child<SoundPlayer>(dlg.get(), "soundPlayer"), &SoundPlayer::cueRequested);
        scan(barcode);
        QCOMPARE(cues.size(), 1);
        QCOMPARE(cues[0][0].value<SoundPlayer::Cue>(), SoundPlayer::Cue::Refused);
        QCOMPARE(boxes.lines(), box("警告", message));
        // The box does not wait for the next card: it closes itself, takes scans.
        QCOMPARE(boxes.shown[0].closeAfterMs, frmSign::WarningCloseMs);
        QVERIFY(boxes.shown[0].keys);
        QCOMPARE(refresh.count(), refreshes);
        QCOMPARE(name(), QStringLiteral("签到系统"));
        if (sql.isEmpty() || sql.contains(QLatin1String("refuse")))
            QCOMPARE(fx->rows("Presence"), 0);
        if (!sql.isEmpty())
            return;
        scan(kCardA); // the next card is read on its own
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(name(), QStringLiteral("张三"));
    }

    // Keys typed into a warning box are the next scan's: a card's characters
    // never reach the box, its end key closes the box, and the card is
    // recorded as soon as the box is gone; the two-second pause rule holds.
    // A lone end key, Escape or a blank before any character is the box's.
    // (The real box on an X server: tst_stationx11.)
    void keysTypedIntoWarning_data() {
        QTest::addColumn<QString>("keys");     // \r Return, \t Tab, \n LF as text, | a pause
        QTest::addColumn<QString>("actions");  // per key: Take, Pass, Close
        QTest::addColumn<QString>("recorded"); // the name greeted, empty: none
        const auto row = [](const char* name, const QString& keys, const QString& actions,
                            const QString& recorded) {
            QTest::newRow(name) << keys << actions << recorded;
        };
        const QString card(kCardB.size(), QLatin1Char('T'));
        row("card, Return", kCardB + "\r", card + "C", "李四");
        row("card, Tab", kCardB + "\t", card + "C", "李四");
        row("card, LF", kCardB + "\n", card + "C", "李四");
        row("blank inside, refused in turn", "ab cd\r", "TTTTTC", ""); // AB CD
        row("keys before a pause dropped", "99|abcd\r", "TTTTTTC", "王五");
        row("lone Return", "\r", "P", "");
        row("lone Tab, Return", "\t\r", "PP", "");
        row("blank, Escape", " \x1b", "PP", "");
    }

    void keysTypedIntoWarning() {
        QFETCH(QString, keys);
        QFETCH(QString, actions);
        QFETCH(QString, recorded);
        openWindow();
        QString taken;
        QStringList warnings;
        MsgBox::Seam::Override typing([&](const MsgBox::Shown& shown) {
            warnings << shown.text;
            if (warnings.size() > 1) // the queued card's own refusal
                return MsgBox::Result::Ok;
            for (const QChar c : keys) {
                if (c == QLatin1Char('|')) {
                    AppClock::advance(frmSign::KeyPauseMs);
                    continue;
                }
                const Qt::Key key = c == '\r'     ? Qt::Key_Return
                                    : c == '\t'   ? Qt::Key_Tab
                                    : c == '\x1b' ? Qt::Key_Escape
                                    : c == '\n'   ? Qt::Key_unknown
                                                  : Qt::Key(c.toUpper().unicode());
                using enum MsgBox::KeyAction;
                const MsgBox::KeyAction action =
                    shown.keys(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(c)));
                taken += QLatin1Char(action == Take ? 'T' : action == Pass ? 'P' : 'C');
                AppClock::advance(2);
                if (action == Close)
                    break;
            }
            return MsgBox::Result::Ok;
        });
        scan(QStringLiteral("000"));
        QCOMPARE(taken, actions);
        QTRY_COMPARE(dlg->PendingScans(), 0);
        settle();
        QCOMPARE(name(), recorded.isEmpty() ? QStringLiteral("签到系统") : recorded);
        QCOMPARE(fx->rows("Presence"), recorded.isEmpty() ? 0 : 1);
        QCOMPARE(warnings.size(), actions.endsWith('C') && recorded.isEmpty() ? 2 : 1);
    }

    // Ten seconds after a scan the idle texts return (with the unit name read
    // afresh); closing stops the timers, reopening starts afresh. The clock
    // shows the current time.
    void idleScreenAndReturn() {
        openWindow();
        checkIdle(QStringLiteral("实验中学"));
        QVERIFY(samePicture(label("imgHead")->pixmap(), dlg->DefaultPicture()));
        AppClock::setFixed(QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59)));
        tick("TimerDspTime_Timer");
        QCOMPARE(label("lblTime")->text(), QStringLiteral("2009-12-31 23:59:59"));

        scan(kCardA);
        QVERIFY(!timer("TimerDspWait")->isActive());
        // The stored photo (red, 40x30), given at the size its box paints it.
        const QImage shown = label("imgHead")->pixmap().toImage();
        QCOMPARE(shown.size(), label("imgHead")->size());
        const QRgb middle = shown.pixel(shown.width() / 2, shown.height() / 2);
        QVERIFY(qRed(middle) > 200 && qGreen(middle) < 60);

        QVERIFY(fx->setIni("UNIT", "UNITNAME", QStringLiteral("第二中学")));
        for (int i = 0; i < 2; ++i) { // further idle ticks change nothing
            tick("TimerDspInfo_Timer");
            checkIdle(QStringLiteral("第二中学"));
            QVERIFY(label("imgHead")->isVisible());
            QVERIFY(label("imgHead")->pixmap().isNull());
        }

        // A photo that cannot be read: greeted with the default picture.
        QVERIFY(fx->addEmployee("E010", QStringLiteral("赵六"), "111122223333444", 1, "broken"));
        scan(QStringLiteral("111122223333444"));
        QCOMPARE(name(), QStringLiteral("赵六"));
        QVERIFY(samePicture(label("imgHead")->pixmap(), dlg->DefaultPicture()));
        dlg->reject();
        for (const char* t : kTimers)
            QVERIFY2(!timer(t)->isActive(), t);
        dlg->show();
        checkIdle(QStringLiteral("第二中学"));
    }

    // The waiting frames cycle 0..59. They come from "wait/1_N.jpg" (any
    // picture format); the default picture stands in for a missing or
    // unreadable one, and for all without the folder.
    void waitAnimation() {
        dlg = std::make_unique<frmSign>();
        dlg->show();
        QCOMPARE(shownFrames(), QList<int>{});
        timer("TimerDspWait")->stop(); // ticks come from the test alone
        settle();
        const QPixmap fallback = dlg->DefaultPicture().scaled(
            QSize(295, 223), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (QLabel* f : frames())
            QVERIFY(samePicture(f->pixmap(), fallback));
        for (int i = 1; i <= 61; ++i) {
            tick("TimerDspWait_Timer");
            QCOMPARE(shownFrames(), QList<int>{i % 60});
        }

        // A scan hides every frame; the animation resumes after the last frame shown.
        scan(kCardA);
        QCOMPARE(shownFrames(), QList<int>{});
        tick("TimerDspInfo_Timer");
        tick("TimerDspWait_Timer");
        QCOMPARE(shownFrames(), QList<int>{2});

        QVERIFY(QDir(fx->path()).mkdir(QStringLiteral("wait")));
        QVERIFY(writeFile(fx->file("wait/1_1.jpg"), jpegOf(QSize(640, 480), Qt::red)));
        QVERIFY(writeFile(fx->file("wait/1_60.jpg"), jpegOf(QSize(100, 80), Qt::blue)));
        QVERIFY(writeFile(fx->file("wait/1_30.jpg"), QByteArray("not a picture")));
        QVERIFY(writeFile(fx->file("wait/1_2.jpg"), jpegOf(QSize(50, 50), Qt::green, "PNG")));
        openWindow();

        const QList<QLabel*> all = frames();
        auto centre = [&](int i) { return all[i]->pixmap().toImage().pixelColor(147, 111); };
        QVERIFY(qAbs(centre(0).red() - 255) < 8 && centre(0).blue() < 8);
        QVERIFY(qAbs(centre(59).blue() - 255) < 8 && centre(59).red() < 8);
        QCOMPARE(centre(1), QColor(Qt::green));
        QVERIFY(samePicture(all[29]->pixmap(), fallback) &&
                samePicture(all[2]->pixmap(), fallback));
    }

    // The list is rebuilt synchronously after a scan; the next card's keys that
    // arrive meanwhile wait in the event queue and are read whole afterwards.
    void scanDuringListRefreshIsReadWhole() {
        openWindow();
        int refreshes = 0;
        connect(dlg.get(), &frmSign::onUpdatePresenceList, dlg.get(), [&] {
            if (++refreshes != 1)
                return;
            for (const QChar c : kCardB + QLatin1Char('\r'))
                QCoreApplication::postEvent(
                    dlg.get(),
                    new QKeyEvent(QEvent::KeyPress,
                                  c == '\r' ? Qt::Key_Return : Qt::Key_0 + (c.unicode() - '0'),
                                  Qt::NoModifier, QString(c)));
        });
        scan(kCardA);
        QCoreApplication::processEvents();
        settle();
        QVERIFY(boxes.isEmpty());
        QCOMPARE(refreshes, 2);
        QCOMPARE(name(), QStringLiteral("李四"));
        QCOMPARE(fx->rows("Presence"), 2);
    }

    // Another program holds the database: scans wait, in scan order, without a
    // message, and are recorded once it is free; only a scan that has waited
    // 30 s ends in its failure message.
    void lockedDatabaseQueuesScans() {
        if (TestProgramDir::OnServer())
            QSKIP("a server has no file lock to queue behind; a row lock waits in the scan");
        openWindow();
        QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
        const ScopedConnection holder(QStringLiteral("other"));
        QSqlDatabase other = clsDbConn::OpenFile(fx->dbPath, holder.name());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        scan(kCardA);
        AppClock::advance(1000);
        scan(kCardB);
        QCOMPARE(dlg->PendingScans(), 2);
        QVERIFY(timer("TimerDbRetry")->isActive());
        AppClock::advance(30000 - 1 - 1000 - 2 * kCardB.size()); // since A's Enter
        dlg->Service()->RetryWaiting();                          // A has waited 30 s less 1 ms
        settle();
        QCOMPARE(dlg->PendingScans(), 2);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(name(), QStringLiteral("签到系统"));
        AppClock::advance(1);
        dlg->Service()->RetryWaiting();
        settle();
        QCOMPARE(boxes.lines(), box("警告", "系统错误！"));
        QCOMPARE(dlg->PendingScans(), 1);
        QCOMPARE(refresh.count(), 1);
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("COMMIT")));
        dlg->Service()->RetryWaiting();
        settle();
        QCOMPARE(dlg->PendingScans(), 0);
        QCOMPARE(name(), QStringLiteral("李四"));
        QCOMPARE(refresh.count(), 2);
        QCOMPARE(fx->rows("Presence"), 1);
        // Recorded 29 s late, at the time of its Enter.
        QCOMPARE(fx->rows("Presence WHERE ENTERTIME = '2009-11-25 08:00:01'"), 1);
        scan(kCardA); // a free database records at once
        QCOMPARE(name(), QStringLiteral("张三"));
        QCOMPARE(fx->rows("Presence"), 2);
        QCOMPARE(boxes.size(), 1);
    }

    // Texts that do not fit their label in the documented font are set
    // smaller until they fit, the unit's name whole on its line; texts that
    // fit keep the documented font.
    void longTextsShrinkToFit() {
        // The lines a label's text takes in its font; -1: too wide, or too tall.
        const auto lines = [](QLabel* l) {
            const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
            const QFontMetricsF metrics(l->font());
            const QRectF room(l->contentsRect());
            const QRectF need = metrics.boundingRect(room, flags, l->text());
            const bool fits = need.width() <= room.width() + 0.5 &&
                              (!l->wordWrap() || need.height() <= room.height() + 0.5);
            return fits ? qRound(need.height() / metrics.height()) : -1;
        };
        const auto points = [this](const char* l) { return label(l)->font().pointSizeF(); };
        QVERIFY(fx->addEmployee("E020", "欧阳慕容司马诸葛明", "222233334444555", 1, photoA));
        openWindow();
        // The unit, whether it is set smaller, the lines it takes (0: any).
        const struct {
            const char* unit;
            bool smaller;
            int lines;
        } cases[] = {{"实验中学", false, 2},
                     {"北京市示范实验学校", true, 2},
                     {"北京市海淀区第一百零一实验中学分校", true, 0},
                     {"实验中学", false, 2}};
        for (const auto& c : cases) {
            const QString unit = QString::fromUtf8(c.unit);
            QVERIFY(fx->setIni("UNIT", "UNITNAME", unit));
            tick("TimerDspInfo_Timer");
            checkIdle(unit);
            // The blank line and the whole name; a very long name fits smaller still.
            const int welcome = lines(label("lblWelcome"));
            QVERIFY2(c.lines ? welcome == c.lines : welcome > 0, c.unit);
            QCOMPARE(points("lblWelcome") < 21.75, c.smaller);
            QVERIFY(points("lblWelcome") >= (c.lines ? 12 : 10));
            QCOMPARE(points("lblName"), 15.0);
            QCOMPARE(points("lblJob"), 12.0);
            QVERIFY(lines(label("lblName")) > 0 && lines(label("lblJob")) > 0);
        }

        scan(QStringLiteral("222233334444555"));
        QCOMPARE(name(), QStringLiteral("欧阳慕容司马诸葛明"));
        QVERIFY(points("lblName") < 15.0);
        QCOMPARE(points("lblWelcome"), 21.75); // the greeting's three lines as before
        for (const char* l : {"lblWelcome", "lblName", "lblJob"})
            QVERIFY2(lines(label(l)) > 0, l);
        tick("TimerDspInfo_Timer");
        QCOMPARE(points("lblName"), 15.0);
    }
};

QTEST_MAIN(tst_frmSign)
#include "tst_frmsign.moc"
