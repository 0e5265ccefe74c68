// Speed of the sign-in station on a large database: 10,000 employees with
// photos and 12.5 million presence rows (about three and a half years).
//
//   bench_signdesk [--dir DIR] [--scans N] [--grab DIR] [--baseline BIN]
//
// --baseline names a bench_signdesk built from older code: its start-up is
// measured in turn with this one's, on the same database.
//
// Measures, on the real windows:
//   - Enter to the photo and texts shown (arrivals and departures),
//   - the rebuild of today's list of 2,000 rows,
//   - start-up of a fresh process to the sign-in screen shown,
// and checks that scans typed back to back are all read whole.
//
// The database is generated once into DIR (default /tmp/signdesk_bench) and
// reused; each run replaces only today's rows.
#include "bench/BenchData.h"
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployee.h"
#include "shared/records/clsPresenceSet.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmMain.h"
#include "signdesk/frmSign.h"
#include "tests/common/TestProgramDir.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

namespace {

constexpr int kEmployees = 10'000;
constexpr int kDays = 1'250; // 10,000 x 1,250 = 12.5 million rows
constexpr int kTodayRows = 2'000;
constexpr qint64 kRows = qint64(kEmployees) * kDays;

QString number(int i) {
    return QString::number(10'000 + i);
} // 10001..
QString barcode(int i) {
    return QString::number(500'000'000'000'000 + i);
} // 15 digits

void say(const char* format, auto... args) {
    std::printf(format, args...);
    std::fflush(stdout);
}

QByteArray makePhoto() {
    QImage img(240, 180, QImage::Format_RGB32);
    img.fill(QColor(190, 205, 225));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(240, 220, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(120, 70), 40, 48);
    p.setBrush(QColor(60, 80, 120));
    p.drawEllipse(QRectF(50, 125, 140, 120));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "JPEG", 80);
    return bytes;
}

bool exec(QSqlQuery& q, const QString& sql) {
    if (!q.exec(sql)) {
        say("SQL failed: %s: %s\n", qPrintable(sql), qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

// True when DIR already holds a complete generated database.
bool cachedDatabaseReady(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    bool ready = false;
    const ScopedConnection connection(QStringLiteral("bench-check"));
    {
        QSqlDatabase db = clsDbConn::OpenFile(path, connection.name());
        if (db.isOpen()) {
            QSqlQuery q(db);
            ready = q.exec(QStringLiteral("SELECT COUNT(*) FROM Employee")) && q.next() &&
                    q.value(0).toInt() == kEmployees &&
                    q.exec(QStringLiteral("SELECT MAX(rowid) FROM Presence")) && q.next() &&
                    q.value(0).toLongLong() >= kRows;
        }
    }
    return ready;
}

// One transaction, prepared statements, the presence indexes built after the rows.
bool generateDatabase(const QString& path) {
    DbError error;
    if (!DbCreator::Create(path, &error)) {
        say("cannot create %s: %s\n", qPrintable(path), qPrintable(error.Text()));
        return false;
    }
    QStringList presenceIndexes;
    for (const QString& s : DbCreator::Statements())
        if (s.startsWith(QLatin1String("CREATE INDEX")) &&
            s.contains(QLatin1String(" ON Presence")))
            presenceIndexes << s;

    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    const ScopedConnection connection(QStringLiteral("bench-gen"));
    {
        QSqlDatabase db = clsDbConn::OpenFile(path, connection.name());
        QSqlQuery q(db);
        ok = exec(q, QStringLiteral("PRAGMA journal_mode=OFF")) &&
             exec(q, QStringLiteral("PRAGMA synchronous=OFF")) &&
             exec(q, QStringLiteral("PRAGMA cache_size=-400000"));
        for (const QString& s : presenceIndexes) {
            const QString name = s.section(QLatin1Char(' '), 2, 2);
            ok = ok && exec(q, QStringLiteral("DROP INDEX ") + name);
        }
        ok = ok && db.transaction();
        for (int d = 1; ok && d <= 10; ++d) {
            q.prepare(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"));
            q.addBindValue(d);
            q.addBindValue(QStringLiteral("部门%1").arg(d));
            ok = q.exec();
        }
        const QByteArray photo = makePhoto();
        const QString surnames = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗");
        const QString given = QStringLiteral("伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平");
        q.prepare(QStringLiteral("INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, HEADIMG, "
                                 "ENTERDATE) VALUES(?, ?, ?, ?, ?, ?)"));
        for (int i = 1; ok && i <= kEmployees; ++i) {
            q.bindValue(0, 1 + i % 10);
            q.bindValue(1, number(i));
            q.bindValue(2, barcode(i));
            q.bindValue(3, QString(surnames[i % surnames.size()]) + given[(i / 20) % given.size()] +
                               given[(i / 400) % given.size()]);
            q.bindValue(4, photo);
            q.bindValue(5, QStringLiteral("2020-01-01 00:00:00"));
            ok = q.exec();
        }
        say("  employees written (%.1f s)\n", clock.elapsed() / 1000.0);

        const QDate first = QDate::currentDate().addDays(-kDays);
        q.prepare(
            QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) VALUES(?, ?, ?)"));
        QStringList numbers;
        for (int i = 1; i <= kEmployees; ++i)
            numbers << number(i);
        for (int d = 0; ok && d < kDays; ++d) {
            const QString day = first.addDays(d).toString(QStringLiteral("yyyy-MM-dd "));
            for (int i = 0; ok && i < kEmployees; ++i) {
                const int m = (i * 7 + d) % 60, s = (i * 13 + d) % 60;
                q.bindValue(0, numbers[i]);
                q.bindValue(1, day + QStringLiteral("07:%1:%2")
                                         .arg(m, 2, 10, QLatin1Char('0'))
                                         .arg(s, 2, 10, QLatin1Char('0')));
                q.bindValue(2, day + QStringLiteral("17:%1:%2")
                                         .arg(s, 2, 10, QLatin1Char('0'))
                                         .arg(m, 2, 10, QLatin1Char('0')));
                ok = q.exec();
            }
            if ((d + 1) % 100 == 0)
                say("  %d of %d days (%.0f s)\n", d + 1, kDays, clock.elapsed() / 1000.0);
        }
        if (!ok)
            say("insert failed: %s\n", qPrintable(q.lastError().text()));
        ok = ok && db.commit();
        for (const QString& s : presenceIndexes)
            ok = ok && exec(q, s);
        say("  indexes built (%.0f s)\n", clock.elapsed() / 1000.0);
    }
    return ok;
}

// Today's rows: the first kTodayRows employees arrived this morning.
bool resetToday(const QString& path, const QDate& today) {
    bool ok = false;
    const ScopedConnection connection(QStringLiteral("bench-today"));
    {
        QSqlDatabase db = clsDbConn::OpenFile(path, connection.name());
        QSqlQuery q(db);
        ok = db.transaction();
        q.prepare(QStringLiteral("DELETE FROM Presence WHERE ENTERTIME >= ?"));
        q.addBindValue(DbDateTime::DayStart(today));
        ok = ok && q.exec();
        q.prepare(QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES(?, ?)"));
        for (int i = 1; ok && i <= kTodayRows; ++i) {
            q.bindValue(0, number(i));
            q.bindValue(1, DbDateTime::ToText(QDateTime(today, QTime(7, 0)).addSecs(i)));
            ok = q.exec();
        }
        ok = ok && db.commit();
    }
    return ok;
}

void sendKey(QWidget* target, int key, const QString& text, bool post) {
    auto press = std::make_unique<QKeyEvent>(QEvent::KeyPress, key, Qt::NoModifier, text);
    auto release = std::make_unique<QKeyEvent>(QEvent::KeyRelease, key, Qt::NoModifier, text);
    if (post) {
        QCoreApplication::postEvent(target, press.release());
        QCoreApplication::postEvent(target, release.release());
    } else {
        QApplication::sendEvent(target, press.get());
        QApplication::sendEvent(target, release.get());
    }
}

void typeBarcode(QWidget* target, const QString& code, bool post = false) {
    for (QChar c : code)
        sendKey(target, Qt::Key_0 + c.digitValue(), QString(c), post);
}

void pressEnter(QWidget* target, bool post = false) {
    sendKey(target, Qt::Key_Return, QStringLiteral("\r"), post);
}

struct Stats {
    QList<double> ms;
    void add(qint64 ns) { ms << ns / 1e6; }
    double at(double q) {
        std::sort(ms.begin(), ms.end());
        return ms.isEmpty() ? 0 : ms[std::min<qsizetype>(ms.size() - 1, qsizetype(q * ms.size()))];
    }
    void print(const char* what) {
        say("  %-44s median %7.2f ms   p90 %7.2f ms   max %7.2f ms   (n=%lld)\n", what, at(0.5),
            at(0.9), at(1.0), qint64(ms.size()));
    }
};

void waitUntil(const std::function<bool()>& done, int timeoutMs = 10'000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

int listRows(QWidget* mainWindow) {
    return mainWindow->findChild<QTreeView*>(QStringLiteral("lsvList"))->model()->rowCount();
}

bool signShown(frmSign* sign) {
    return sign && sign->isVisible() && sign->windowHandle() && sign->windowHandle()->isExposed();
}

// Calls `painting` when the watched widget's first paint begins.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* watched, std::function<void()> painting) : m_painting(std::move(painting)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_painting) {
            std::exchange(m_painting, nullptr)();
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    std::function<void()> m_painting;
};

// Child process: the station's start-up steps up to the sign-in screen shown.
int startupChild(int argc, char* argv[], const QString& dir, QElapsedTimer& sinceStart) {
    QApplication app(argc, argv);
    DesktopKit::SetProgramTitle(Station::ProgramTitle());
    ChineseUi::Setup(app);
    SetProgramDirectory(dir);
    if (!DesktopKit::CheckDatabase())
        return 1;
    Station::AskUnitNameIfMissing();
    frmMain mainWindow;
    gfrmMain = &mainWindow;
    // The moment the sign-in screen's first paint has ended: marked by a call
    // queued as the paint begins, which runs once the paint is over (and
    // before the station's own work queued behind it, today's list).
    bool painted = false;
    FirstPaint marker(mainWindow.signWindow(), [&] {
        QTimer::singleShot(0, &mainWindow, [&] {
            painted = true;
            say("STARTUP %.2f\n", sinceStart.nsecsElapsed() / 1e6);
        });
    });
    mainWindow.show();
    waitUntil([&] { return painted; });
    gfrmMain = nullptr;
    return signShown(mainWindow.signWindow()) ? 0 : 2;
}

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QElapsedTimer sinceStart;
    sinceStart.start();
    QString dir = QStringLiteral("/tmp/signdesk_bench");
    QString grabDir;
    QString baseline;
    int scans = 200;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--dir"))
            dir = QString::fromLocal8Bit(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--scans"))
            scans = std::max(10, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--grab"))
            grabDir = QString::fromLocal8Bit(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--baseline"))
            baseline = QString::fromLocal8Bit(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--startup-child"))
            return startupChild(argc, argv, QString::fromLocal8Bit(argv[i + 1]), sinceStart);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    DesktopKit::SetProgramTitle(Station::ProgramTitle());
    ChineseUi::Setup(app);
    say("platform: %s\n", qPrintable(QGuiApplication::platformName()));

    QDir().mkpath(dir);
    dir = QFileInfo(dir).absoluteFilePath();
    const QString dbPath = QDir(dir).filePath(QStringLiteral("vorerur.dat"));
    const bool cached = cachedDatabaseReady(dbPath);
    if (cached)
        say("database: %s (cached)\n", qPrintable(dbPath));
    else
        say("database: generating %s: %d employees, %lld presence rows\n", qPrintable(dbPath),
            kEmployees, kRows);
    if (!BenchData::BuildFile(dbPath, !cached, generateDatabase))
        return 1;
    QString error;
    if (!PrepareProgramDir(dir, QStringLiteral("实验中学"), false, &error)) {
        say("%s\n", qPrintable(error));
        return 1;
    }
    const QDate today = QDate::currentDate();
    if (!resetToday(dbPath, today))
        return 1;

    int boxes = 0;
    MsgBox::Seam::Override messages([&](const MsgBox::Shown& shown) {
        ++boxes;
        say("  unexpected message: %s\n", qPrintable(shown.text));
        return MsgBox::Result::Ok;
    });
    AppClock::setFixed(QDateTime(today, QTime(8, 0)));

    // The station as it runs: main window with today's list, sign-in screen over it.
    QElapsedTimer clock;
    clock.start();
    auto mainWindow = std::make_unique<frmMain>();
    gfrmMain = mainWindow.get();
    frmSign* sign = mainWindow->signWindow();
    double shownMs = 0;
    FirstPaint marker(
        sign, [&] { QTimer::singleShot(0, sign, [&] { shownMs = clock.nsecsElapsed() / 1e6; }); });
    mainWindow->show();
    waitUntil([&] { return shownMs > 0; });
    // Today's list is read once the sign-in screen is on the screen.
    waitUntil([&] { return listRows(mainWindow.get()) >= kTodayRows; });
    say("in-process load to sign-in screen shown: %.1f ms; today's list of %d rows behind it "
        "at %.1f ms\n",
        shownMs, listRows(mainWindow.get()), clock.nsecsElapsed() / 1e6);

    // The moment the screen has its photo and texts: the sign-in screen tells
    // the main window to refresh right after it has shown them, so a marker
    // connected ahead of the main window's refresh sees that moment.
    qint64 shownAt = 0;
    QElapsedTimer scanClock;
    QObject::disconnect(sign, &frmSign::onUpdatePresenceList, mainWindow.get(), nullptr);
    QObject::connect(sign, &frmSign::onUpdatePresenceList, sign,
                     [&] { shownAt = scanClock.nsecsElapsed(); });
    QObject::connect(sign, &frmSign::onUpdatePresenceList, mainWindow.get(),
                     &frmMain::UpdateEmployeePresenceList);

    auto runScans = [&](int firstEmployee, Stats& shown, Stats& handled, Stats& idle) {
        for (int k = 0; k < scans; ++k) {
            typeBarcode(sign, barcode(firstEmployee + k));
            shownAt = 0;
            scanClock.start();
            pressEnter(sign);
            handled.add(scanClock.nsecsElapsed());
            QCoreApplication::processEvents();
            idle.add(scanClock.nsecsElapsed());
            shown.add(shownAt);
            AppClock::advance(1000);
        }
    };
    // Each way in turn, side by side: the list read anew for every scan (as
    // before the list kept its rows) and the one changed row taken over.
    const char* ways[] = {"full reload", "one row"};
    for (int round = 0; round < 2; ++round) {
        for (int way = 0; way < 2; ++way) {
            mainWindow->SetFullReloadPerScan(way == 0);
            if (!resetToday(dbPath, today))
                return 1;
            mainWindow->UpdateEmployeePresenceList();
            Stats arrivalShown, arrivalHandled, arrivalIdle, departShown, departHandled, departIdle;
            say("\nEnter to display [%s, round %d], %d scans each (10,000 employees, %lld "
                "presence rows, today's list %d+ rows):\n",
                ways[way], round + 1, scans, kRows, kTodayRows);
            runScans(kTodayRows + 1, arrivalShown, arrivalHandled, arrivalIdle);
            AppClock::advance(61'000);
            runScans(kTodayRows + 1, departShown, departHandled, departIdle);
            AppClock::advance(61'000);
            arrivalShown.print("arrival: photo and texts shown");
            arrivalHandled.print("arrival: Enter handled incl. list update");
            arrivalIdle.print("arrival: event loop idle again");
            departShown.print("departure: photo and texts shown");
            departHandled.print("departure: Enter handled incl. list update");
            departIdle.print("departure: event loop idle again");
        }
    }
    mainWindow->SetFullReloadPerScan(false);

    // The steps between Enter and the greeting, each on its own.
    {
        Stats probe, lookup, record, photo, texts, paint;
        QLabel* name = sign->findChild<QLabel*>(QStringLiteral("lblName"));
        const QFont font = name->font();
        AppClock::advance(3'600'000);
        for (int k = 0; k < scans; ++k) {
            scanClock.start();
            clsDbConn::ProbeLock();
            probe.add(scanClock.nsecsElapsed());
            clsEmployee employee;
            employee.setEBARCODE(barcode(kTodayRows + 3000 + k));
            scanClock.start();
            employee.IsExist();
            lookup.add(scanClock.nsecsElapsed());
            clsPresence presence;
            presence.setENUMBER(employee.ENUMBER());
            scanClock.start();
            presence.Add();
            record.add(scanClock.nsecsElapsed());
            scanClock.start();
            QPixmap pix;
            pix.loadFromData(employee.HeadImgBytes());
            photo.add(scanClock.nsecsElapsed());
            scanClock.start();
            DesktopKit::SetFittedText(name, employee.ENAME(), font);
            texts.add(scanClock.nsecsElapsed());
            scanClock.start();
            sign->repaint();
            paint.add(scanClock.nsecsElapsed());
            AppClock::advance(1000);
        }
        say("\nSteps between Enter and the greeting (%d scans):\n", scans);
        probe.print("lock probe");
        lookup.print("employee look-up (with photo)");
        record.print("sign-in rule and write (commit)");
        photo.print("photo decoded");
        texts.print("one fitted text");
        paint.print("forced repaint of the screen");
    }

    // Today's list of exactly 2,000 rows.
    if (!resetToday(dbPath, today))
        return 1;
    auto* list = mainWindow->findChild<QTreeView*>(QStringLiteral("lsvList"))->model();
    Stats rebuild, rebuildPainted;
    for (int k = 0; k < 30; ++k) {
        scanClock.start();
        mainWindow->UpdateEmployeePresenceList();
        rebuild.add(scanClock.nsecsElapsed());
        mainWindow->repaint();
        rebuildPainted.add(scanClock.nsecsElapsed());
    }
    Stats load;
    for (int k = 0; k < 30; ++k) {
        scanClock.start();
        clsPresenceSet set;
        set.LoadToday();
        load.add(scanClock.nsecsElapsed());
    }
    // Reading the stored date-time texts back: two per row.
    Stats parse;
    for (int k = 0; k < 30; ++k) {
        scanClock.start();
        for (int i = 0; i < 2 * kTodayRows; ++i)
            DbDateTime::FromText(QStringLiteral("2026-03-18 07:00:01"));
        parse.add(scanClock.nsecsElapsed());
    }
    say("\nToday's list rebuild (%d rows):\n", list->rowCount());
    load.print("of which loading the records");
    parse.print("of which 4,000 date-time texts parsed");
    rebuild.print("rebuild");
    rebuild.ms.clear();
    rebuildPainted.print("rebuild and main window painted");

    // Scans typed back to back while the list refreshes: every one read whole.
    for (int way = 0; way < 2; ++way) {
        mainWindow->SetFullReloadPerScan(way == 0);
        say("\nBurst [%s]: 20 scans queued at once (keys posted)\n", ways[way]);
        const int before = list->rowCount();
        const int burstFirst = kTodayRows + 5000 + 20 * way;
        for (int k = 0; k < 20; ++k) {
            typeBarcode(sign, barcode(burstFirst + k), true);
            pressEnter(sign, true);
        }
        scanClock.start();
        waitUntil([&] { return list->rowCount() >= before + 20; }, 30'000);
        QCoreApplication::processEvents();
        say("  rows after burst: %d of %d expected, %d messages, %.1f ms for all 20\n",
            list->rowCount(), before + 20, boxes, scanClock.nsecsElapsed() / 1e6);
    }
    mainWindow->SetFullReloadPerScan(false);

    if (!grabDir.isEmpty()) {
        QDir().mkpath(grabDir);
        mainWindow->grab().save(QDir(grabDir).filePath(QStringLiteral("frmMain.png")));
        sign->grab().save(QDir(grabDir).filePath(QStringLiteral("frmSign.png")));
        say("\nscreenshots in %s\n", qPrintable(grabDir));
    }
    gfrmMain = nullptr;
    mainWindow.reset();
    clsDbConn::CloseShared();
    AppClock::reset();

    // Start-up of a fresh process (real clock: today's 2,000 rows are listed).
    if (!resetToday(dbPath, today))
        return 1;
    // Each program in turn, so both see the same load of the machine.
    const QStringList programs =
        baseline.isEmpty() ? QStringList{QCoreApplication::applicationFilePath()}
                           : QStringList{baseline, QCoreApplication::applicationFilePath()};
    std::vector<Stats> startupWall(size_t(programs.size())), startupInside(startupWall.size());
    for (int k = 0; k < 10; ++k) {
        for (int p = 0; p < int(programs.size()); ++p) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QElapsedTimer wall;
            wall.start();
            child.start(programs[p], {QStringLiteral("--startup-child"), dir});
            if (!child.waitForStarted(10'000))
                break;
            QByteArray line;
            while (!line.contains('\n') && child.waitForReadyRead(20'000))
                line += child.readAllStandardOutput();
            startupWall[size_t(p)].add(wall.nsecsElapsed());
            if (line.startsWith("STARTUP "))
                startupInside[size_t(p)].add(qint64(line.mid(8).trimmed().toDouble() * 1e6));
            child.waitForFinished(20'000);
        }
    }
    for (int p = 0; p < int(programs.size()); ++p) {
        say("\nStart-up to the sign-in screen shown (fresh process, 10 runs)%s:\n",
            programs.size() > 1 ? (p == 0 ? " [baseline]" : " [this build]") : "");
        startupWall[size_t(p)].print("process start to shown (wall)");
        startupInside[size_t(p)].print("main() entry to shown");
    }
    return 0;
}
