// The sign-in screen: keystroke gathering, the presence results on screen,
// the idle return, the waiting animation and its frames.
#include "AppClock.h"
#include "ChineseUi.h"
#include "clsDbConn.h"
#include "frmSign.h"
#include "helpers/BoxLog.h"
#include "TestProgramDir.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

const QString kCardA = QStringLiteral("123456789012345");
const QString kCardB = QStringLiteral("987654321098765");
const QString kInvalid = QStringLiteral("无效条码！如果签到卡无误，请重试一遍！");
const QString kArrival = QStringLiteral("上班喽\r\n轻松点\r\n快乐点");
const QString kDeparture = QStringLiteral("\r\n下班啦");

QByteArray jpegOf(const QSize& size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

bool samePicture(const QPixmap& a, const QPixmap& b) {
    return a.size() == b.size() && a.toImage().convertToFormat(QImage::Format_RGB32) ==
                                       b.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_frmSign : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void idleScreen();
    void fastScanIsReadWhole_data();
    void fastScanIsReadWhole();
    void pauseOfTwoSecondsStartsOver();
    void enterAfterLongPauseUsesGatheredKeys();
    void manualEntryIsTrimmed();
    void manualEntryNeedsShiftAlone();
    void keysInFieldAreGatheredOnce();
    void escapeDoesNotClose();
    void arrivalRepeatDeparture();
    void invalidCards();
    void employeeLookupFails();
    void presenceTableFails_data();
    void presenceTableFails();
    void idleReturnAfterTenSeconds();
    void secondScanRestartsIdleTimer();
    void messageResultsKeepDisplayAndTimer();
    void frameCycleWrapsAt59();
    void waitFramesFromProgramDirectory();
    void unreadablePhotoStillGreets();
    void scanDuringListRefreshIsReadWhole();
    void clockShowsCurrentTime();
    void reopeningStartsAfresh();

private:
    void openWindow();
    void type(QWidget* target, const QString& text, int stepMs = 2);
    void scan(const QString& barcode);
    QLabel* label(const char* name) const { return dlg->findChild<QLabel*>(QLatin1String(name)); }
    QLineEdit* field() const { return dlg->findChild<QLineEdit*>(QStringLiteral("txtBarCode")); }
    QTimer* timer(const char* name) const { return dlg->findChild<QTimer*>(QLatin1String(name)); }
    QList<QLabel*> frames() const;
    int presenceRows() { return fx->count(QStringLiteral("SELECT COUNT(*) FROM Presence")); }
    void tick(const char* slot) { QVERIFY(QMetaObject::invokeMethod(dlg.get(), slot)); }

    std::unique_ptr<TestProgramDir> fx;
    std::unique_ptr<frmSign> dlg;
    BoxLog boxes;
    QByteArray photoA;
};

void tst_frmSign::initTestCase() {
    ChineseUi::InstallFontSubstitutions();
    photoA = jpegOf(QSize(40, 30), Qt::red);
    QVERIFY(!photoA.isEmpty());
}

void tst_frmSign::init() {
    boxes.clear();
    AppClock::setFixed(QDateTime(QDate(2009, 11, 25), QTime(8, 0, 0)));
    fx = std::make_unique<TestProgramDir>();
    QVERIFY2(fx->init(), qPrintable(fx->lastError));
    QVERIFY2(fx->addDept(1, QStringLiteral("教务处")), qPrintable(fx->lastError));
    QVERIFY2(fx->addEmployee(QStringLiteral("E001"), QStringLiteral("张三"), kCardA, 1, photoA),
             qPrintable(fx->lastError));
    QVERIFY2(fx->addEmployee(QStringLiteral("E002"), QStringLiteral("李四"), kCardB, 1, photoA),
             qPrintable(fx->lastError));
}

void tst_frmSign::cleanup() {
    dlg.reset();
    fx.reset();
    AppClock::reset();
}

void tst_frmSign::openWindow() {
    dlg = std::make_unique<frmSign>();
    dlg->show();
}

// Keys as a scanner types them: a few milliseconds apart.
void tst_frmSign::type(QWidget* target, const QString& text, int stepMs) {
    for (const QChar c : text) {
        QTest::keyClick(target, c.toLatin1());
        AppClock::advance(stepMs);
    }
}

void tst_frmSign::scan(const QString& barcode) {
    type(dlg.get(), barcode);
    QTest::keyClick(dlg.get(), Qt::Key_Return);
}

QList<QLabel*> tst_frmSign::frames() const {
    QList<QLabel*> result(frmSign::WaitFrameCount, nullptr);
    for (QLabel* l : dlg->findChildren<QLabel*>(QStringLiteral("imgWait")))
        result[l->property("index").toInt()] = l;
    return result;
}

void tst_frmSign::idleScreen() {
    openWindow();
    QVERIFY(field()->isHidden());
    QCOMPARE(timer("TimerDspWait")->interval(), 100);
    QCOMPARE(timer("TimerDspInfo")->interval(), 10000);
    QCOMPARE(timer("TimerDspTime")->interval(), 1000);
    for (const char* t : {"TimerDspWait", "TimerDspInfo", "TimerDspTime"})
        QVERIFY2(timer(t)->isActive(), t);
    const QList<QLabel*> all = frames();
    for (int i = 0; i < all.size(); ++i) {
        QVERIFY2(all[i], qPrintable(QString::number(i)));
        QVERIFY(all[i]->isHidden());
    }
    QVERIFY(samePicture(label("imgHead")->pixmap(), dlg->DefaultPicture()));
    QCOMPARE(label("lblName")->text(), QStringLiteral("签到系统"));
    QCOMPARE(label("lblJob")->text(), QStringLiteral("Ver2.00"));
    QCOMPARE(label("lblWelcome")->text(), QStringLiteral("\r\n实验中学"));
}

void tst_frmSign::fastScanIsReadWhole_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stepMs");
    QTest::newRow("scanner, 2 ms apart") << kCardA << 2;
    QTest::newRow("all in one millisecond") << kCardA << 0;
    QTest::newRow("by hand, 1.999 s apart") << kCardA << 1999;
}

void tst_frmSign::fastScanIsReadWhole() {
    QFETCH(QString, typed);
    QFETCH(int, stepMs);
    openWindow();
    QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
    type(dlg.get(), typed, stepMs);
    QTest::keyClick(dlg.get(), Qt::Key_Return);

    QVERIFY(boxes.isEmpty());
    QCOMPARE(refresh.count(), 1);
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
    QCOMPARE(label("lblJob")->text(), QStringLiteral("教务处"));
    QCOMPARE(label("lblWelcome")->text(), kArrival);
    QCOMPARE(presenceRows(), 1);
}

void tst_frmSign::pauseOfTwoSecondsStartsOver() {
    QVERIFY(fx->addEmployee(QStringLiteral("E003"), QStringLiteral("王五"), QStringLiteral("ABCD"),
                            1, photoA));
    openWindow();
    // Three keys, three seconds, then four keys: only the four count; they
    // are looked up in upper case.
    type(dlg.get(), QStringLiteral("xyz"));
    AppClock::advance(3000);
    type(dlg.get(), QStringLiteral("abcd"));
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    QVERIFY(boxes.isEmpty());
    QCOMPARE(label("lblName")->text(), QStringLiteral("王五"));

    // Exactly two seconds is already a new barcode.
    type(dlg.get(), QStringLiteral("99"));
    AppClock::advance(2000 - 2);
    scan(kCardA);
    QVERIFY(boxes.isEmpty());
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
}

void tst_frmSign::enterAfterLongPauseUsesGatheredKeys() {
    openWindow();
    type(dlg.get(), kCardA);
    AppClock::advance(10000);
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    QVERIFY(boxes.isEmpty());
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));

    // The buffer is empty after Enter: a second Enter finds nothing.
    QTest::keyClick(dlg.get(), Qt::Key_Enter);
    QCOMPARE(boxes.lines(), box("警告", kInvalid));
}

void tst_frmSign::manualEntryIsTrimmed() {
    openWindow();
    type(dlg.get(), QStringLiteral("555")); // discarded by the manual entry
    QTest::mouseClick(label("lblTime"), Qt::RightButton, Qt::ShiftModifier);
    QVERIFY(field()->isVisible());

    type(field(), QStringLiteral("  ") + kCardA + QStringLiteral("  "));
    QCOMPARE(field()->text(), QStringLiteral("  ") + kCardA + QStringLiteral("  "));
    QTest::keyClick(field(), Qt::Key_Return);

    QVERIFY(boxes.isEmpty());
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
    QVERIFY(field()->isHidden());
    QVERIFY(field()->text().isEmpty());
}

void tst_frmSign::manualEntryNeedsShiftAlone() {
    openWindow();
    QTest::mouseClick(label("lblTime"), Qt::RightButton);
    QVERIFY(field()->isHidden());
    QTest::mouseClick(label("lblTime"), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    QVERIFY(field()->isHidden());
    QTest::mouseClick(label("lblTime"), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(field()->isHidden());
    QTest::mouseClick(label("lblName"), Qt::RightButton, Qt::ShiftModifier);
    QVERIFY(field()->isHidden());
}

// Keys typed into the field reach the window too, once each.
void tst_frmSign::keysInFieldAreGatheredOnce() {
    openWindow();
    QTest::mouseClick(label("lblTime"), Qt::RightButton, Qt::ShiftModifier);
    type(field(), kCardA);
    field()->clear();
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    QVERIFY(boxes.isEmpty());
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
}

void tst_frmSign::escapeDoesNotClose() {
    openWindow();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    QVERIFY(dlg->isVisible());
    // Escape is a character like any other: the card after it is not found.
    scan(kCardA);
    QCOMPARE(boxes.lines(), box("警告", kInvalid));
}

// The sign-in rule on screen: a scan up to 60 s after the arrival is refused,
// one 61 s after it is the departure, and after the departure nothing more is stored.
void tst_frmSign::arrivalRepeatDeparture() {
    openWindow();
    QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
    scan(kCardA);
    AppClock::advance(60000 - 2 * kCardA.size()); // the second Enter comes 60 s after the first
    scan(kCardA);
    QCOMPARE(boxes.lines(), box("警告", "连续扫描签到卡！"));
    QCOMPARE(refresh.count(), 2);
    QCOMPARE(label("lblWelcome")->text(), kArrival);
    QCOMPARE(fx->count(QStringLiteral("SELECT COUNT(*) FROM Presence WHERE EXITTIME IS NULL")), 1);

    boxes.clear();
    AppClock::advance(1000);
    scan(kCardA);
    QVERIFY(boxes.isEmpty());
    QCOMPARE(refresh.count(), 3);
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
    QCOMPARE(label("lblJob")->text(), QStringLiteral("教务处"));
    QCOMPARE(label("lblWelcome")->text(), kDeparture);
    QCOMPARE(fx->count(QStringLiteral("SELECT COUNT(*) FROM Presence WHERE EXITTIME IS NOT NULL")),
             1);

    AppClock::advance(3600000);
    scan(kCardA);
    QCOMPARE(boxes.lines(), box("警告", "今天您已经签退了！"));
    QCOMPARE(refresh.count(), 4);
    QCOMPARE(label("lblWelcome")->text(), kDeparture);
}

// Enter alone, or a card nobody has: refused, nothing stored, the buffer emptied.
void tst_frmSign::invalidCards() {
    openWindow();
    QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    QCOMPARE(boxes.lines(), box("警告", kInvalid));
    QCOMPARE(boxes.shown[0].buttons, MsgBox::Buttons::Ok);
    boxes.clear();
    scan(QStringLiteral("111111111111111"));
    QCOMPARE(boxes.lines(), box("警告", kInvalid));
    QCOMPARE(refresh.count(), 0);
    QCOMPARE(presenceRows(), 0);
    QCOMPARE(label("lblName")->text(), QStringLiteral("签到系统"));
    // The next card is read on its own.
    scan(kCardA);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
}

void tst_frmSign::employeeLookupFails() {
    openWindow();
    QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
    clsDbConn::CloseShared();
    QVERIFY(QFile::remove(fx->dbPath));
    scan(kCardA);
    QCOMPARE(boxes.lines(), box("警告", "数据库操作失败！"));
    QCOMPARE(refresh.count(), 0);
    QCOMPARE(label("lblName")->text(), QStringLiteral("签到系统"));
}

void tst_frmSign::presenceTableFails_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("state unreadable") << "DROP TABLE Presence";
    QTest::newRow("write refused") << "CREATE TRIGGER refuse BEFORE INSERT ON Presence "
                                      "BEGIN SELECT RAISE(ABORT, 'refused'); END";
}

void tst_frmSign::presenceTableFails() {
    QFETCH(QString, sql);
    openWindow();
    QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
    QSqlQuery q(clsDbConn().GetDbConn());
    QVERIFY(q.exec(sql));
    scan(kCardA);
    QCOMPARE(boxes.lines(), box("警告", "系统错误！"));
    QCOMPARE(refresh.count(), 1);
    QCOMPARE(label("lblName")->text(), QStringLiteral("签到系统"));
    if (!sql.startsWith(QLatin1String("DROP")))
        QCOMPARE(presenceRows(), 0);
}

void tst_frmSign::idleReturnAfterTenSeconds() {
    openWindow();
    scan(kCardA);
    QVERIFY(timer("TimerDspInfo")->isActive());
    QVERIFY(!timer("TimerDspWait")->isActive());
    QVERIFY(label("imgHead")->isVisible());
    QVERIFY(!label("imgHead")->pixmap().isNull());
    for (QLabel* f : frames())
        QVERIFY(f->isHidden());

    // A changed unit name shows at the next idle reset.
    QVERIFY(
        fx->setIni(QStringLiteral("UNIT"), QStringLiteral("UNITNAME"), QStringLiteral("第二中学")));
    tick("TimerDspInfo_Timer");
    QCOMPARE(label("lblName")->text(), QStringLiteral("签到系统"));
    QCOMPARE(label("lblJob")->text(), QStringLiteral("Ver2.00"));
    QCOMPARE(label("lblWelcome")->text(), QStringLiteral("\r\n第二中学"));
    QVERIFY(label("imgHead")->isVisible());
    QVERIFY(label("imgHead")->pixmap().isNull());
    QVERIFY(timer("TimerDspWait")->isActive());
    QVERIFY(timer("TimerDspInfo")->isActive());

    // Idle ticks change nothing visible.
    tick("TimerDspInfo_Timer");
    QCOMPARE(label("lblWelcome")->text(), QStringLiteral("\r\n第二中学"));
    QVERIFY(label("imgHead")->pixmap().isNull());
}

void tst_frmSign::secondScanRestartsIdleTimer() {
    openWindow();
    scan(kCardA);
    // Stopped here so that only a restart by the next scan can start it.
    timer("TimerDspInfo")->stop();
    AppClock::advance(5000);
    scan(kCardB);
    QVERIFY(boxes.isEmpty());
    QVERIFY(timer("TimerDspInfo")->isActive());
    QCOMPARE(timer("TimerDspInfo")->interval(), 10000);
    QCOMPARE(label("lblName")->text(), QStringLiteral("李四"));
    QCOMPARE(label("lblWelcome")->text(), kArrival);
}

void tst_frmSign::messageResultsKeepDisplayAndTimer() {
    openWindow();
    scan(kCardA);
    timer("TimerDspInfo")->stop();
    AppClock::advance(10000);
    scan(kCardA);                // repeated
    scan(QStringLiteral("000")); // unknown
    QCOMPARE(boxes.size(), 2);
    QVERIFY(!timer("TimerDspInfo")->isActive());
    QVERIFY(!timer("TimerDspWait")->isActive());
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
}

void tst_frmSign::frameCycleWrapsAt59() {
    openWindow();
    timer("TimerDspWait")->stop(); // ticks come from the test alone
    const QList<QLabel*> all = frames();
    auto shownFrames = [&] {
        QList<int> shown;
        for (int i = 0; i < all.size(); ++i)
            if (!all[i]->isHidden())
                shown.append(i);
        return shown;
    };
    tick("TimerDspWait_Timer");
    QCOMPARE(shownFrames(), QList<int>{1});
    for (int i = 2; i <= 59; ++i)
        tick("TimerDspWait_Timer");
    QCOMPARE(shownFrames(), QList<int>{59});
    tick("TimerDspWait_Timer");
    QCOMPARE(shownFrames(), QList<int>{0});
    tick("TimerDspWait_Timer");
    QCOMPARE(shownFrames(), QList<int>{1});

    // A scan hides every frame; the animation resumes after the last frame shown.
    scan(kCardA);
    QCOMPARE(shownFrames(), QList<int>{});
    tick("TimerDspInfo_Timer");
    tick("TimerDspWait_Timer");
    QCOMPARE(shownFrames(), QList<int>{2});
}

void tst_frmSign::waitFramesFromProgramDirectory() {
    // Without the folder every frame is the default picture.
    openWindow();
    const QPixmap fallback = dlg->DefaultPicture().scaled(QSize(295, 223), Qt::IgnoreAspectRatio,
                                                          Qt::SmoothTransformation);
    for (QLabel* f : frames())
        QVERIFY(samePicture(f->pixmap(), fallback));
    dlg.reset();

    QVERIFY(QDir(fx->path()).mkdir(QStringLiteral("wait")));
    const QString wait = fx->file(QStringLiteral("wait/"));
    QVERIFY(writeFile(wait + QStringLiteral("1_1.jpg"), jpegOf(QSize(640, 480), Qt::red)));
    QVERIFY(writeFile(wait + QStringLiteral("1_60.jpg"), jpegOf(QSize(100, 80), Qt::blue)));
    QVERIFY(writeFile(wait + QStringLiteral("1_30.jpg"), QByteArray("not a picture")));
    // A file of another format under the .jpg name is still a picture.
    QImage green(50, 50, QImage::Format_RGB32);
    green.fill(Qt::green);
    QVERIFY(green.save(wait + QStringLiteral("1_2.jpg"), "PNG"));
    openWindow();

    const QList<QLabel*> all = frames();
    auto centre = [&](int i) { return all[i]->pixmap().toImage().pixelColor(147, 111); };
    QVERIFY(qAbs(centre(0).red() - 255) < 8 && centre(0).blue() < 8);
    QVERIFY(qAbs(centre(59).blue() - 255) < 8 && centre(59).red() < 8);
    QCOMPARE(centre(1), QColor(Qt::green));
    QVERIFY(samePicture(all[29]->pixmap(), fallback));
    QVERIFY(samePicture(all[2]->pixmap(), fallback));
    for (QLabel* f : all)
        QCOMPARE(f->pixmap().size(), QSize(295, 223));
}

void tst_frmSign::unreadablePhotoStillGreets() {
    QVERIFY(fx->addEmployee(QStringLiteral("E010"), QStringLiteral("赵六"),
                            QStringLiteral("111122223333444"), 1, QByteArray("broken jpeg")));
    openWindow();
    QSignalSpy refresh(dlg.get(), &frmSign::onUpdatePresenceList);
    scan(QStringLiteral("111122223333444"));
    QVERIFY(boxes.isEmpty());
    QCOMPARE(refresh.count(), 1);
    QCOMPARE(presenceRows(), 1);
    QCOMPARE(label("lblName")->text(), QStringLiteral("赵六"));
    QCOMPARE(label("lblWelcome")->text(), kArrival);
    QVERIFY(samePicture(label("imgHead")->pixmap(), dlg->DefaultPicture()));

    // A readable photo is shown as stored.
    scan(kCardA);
    QCOMPARE(label("imgHead")->pixmap().size(), QSize(40, 30));
}

// The list is rebuilt synchronously after a scan; the next card's keys that
// arrive meanwhile wait in the event queue and are read whole afterwards.
void tst_frmSign::scanDuringListRefreshIsReadWhole() {
    openWindow();
    int refreshes = 0;
    connect(dlg.get(), &frmSign::onUpdatePresenceList, dlg.get(), [&] {
        if (++refreshes != 1)
            return;
        for (const QChar c : kCardB) {
            QCoreApplication::postEvent(dlg.get(), new QKeyEvent(QEvent::KeyPress,
                                                                 Qt::Key_0 + (c.unicode() - '0'),
                                                                 Qt::NoModifier, QString(c)));
        }
        QCoreApplication::postEvent(dlg.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                             Qt::NoModifier, QStringLiteral("\r")));
    });
    scan(kCardA);
    QCOMPARE(label("lblName")->text(), QStringLiteral("张三"));
    QCoreApplication::processEvents();
    QVERIFY(boxes.isEmpty());
    QCOMPARE(refreshes, 2);
    QCOMPARE(label("lblName")->text(), QStringLiteral("李四"));
    QCOMPARE(presenceRows(), 2);
}

void tst_frmSign::clockShowsCurrentTime() {
    openWindow();
    QCOMPARE(label("lblTime")->text(), QStringLiteral("2009-11-25 8:00:00"));
    AppClock::setFixed(QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59)));
    tick("TimerDspTime_Timer");
    QCOMPARE(label("lblTime")->text(), QStringLiteral("2009-12-31 23:59:59"));
    // The whole text fits the label.
    QLabel* time = label("lblTime");
    QVERIFY(time->fontMetrics().horizontalAdvance(time->text()) <= time->width());
}

void tst_frmSign::reopeningStartsAfresh() {
    openWindow();
    scan(kCardA);
    dlg->reject();
    QVERIFY(!dlg->isVisible());
    for (const char* t : {"TimerDspWait", "TimerDspInfo", "TimerDspTime"})
        QVERIFY2(!timer(t)->isActive(), t);

    dlg->show();
    QCOMPARE(label("lblName")->text(), QStringLiteral("签到系统"));
    QVERIFY(samePicture(label("imgHead")->pixmap(), dlg->DefaultPicture()));
    for (const char* t : {"TimerDspWait", "TimerDspInfo", "TimerDspTime"})
        QVERIFY2(timer(t)->isActive(), t);
}

QTEST_MAIN(tst_frmSign)
#include "tst_frmsign.moc"
