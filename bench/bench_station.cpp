// The station's scan road on a server site, as the station runs it: every
// scan through ScanService (the journal first, the server from the worker's
// thread), against floors measured in the same run:
//
//   - one station, scans one after another: Enter to greeting against the
//     same statements sent through libpq alone;
//   - eight stations (processes) at a scan every 50 ms each: p99 against
//     the p99 of one station alone at the same pace, the two in turn (a run
//     during which the machine itself stalled is taken again); all
//     eight scan in the same millisecond, which on this machine's two
//     processors also queues the eight stations' own work (at a site each
//     has a PC of its own); --independent: each scan at a moment of its own
//     within its 50 ms, as people at eight desks come;
//   - the sign-in screen (frmSign, offscreen) on the server: Enter to photo
//     alone and while the eight stations scan (at a lower priority: they
//     stand for PCs of their own), against the same on a database file, the
//     three in turn;
//   - --soak: one station process, keys posted to its window, the days
//     rolling over by the injected clock and the server stopped and started
//     again every 10,000 scans: memory and open files between the half and
//     the end, and every scan recorded once (rows and ScanReplay).
//
//   bench/bench_station.sh [--quick] [--journals-on-disk] [--independent]
//                          [--only one|stations]
//                          [--soak [--scans N]]
//
// --quick: shorter runs (and --soak with 10,000 scans). The server is the
// one ATTENDANCE_TEST_PG_* names; --pg-dir names its scripts/pg-server.sh
// folder, which the soak needs to stop and start it. Every goal is printed
// with PASS or FAIL; the exit status is 1 when one fails.
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConDbSet.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbSettings.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsPresence.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmMain.h"
#include "signdesk/frmSign.h"
#include "station/ScanService.h"
#include "tests/common/TestProgramDir.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QWindow>

#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kDepts = 10;
constexpr int kScanMs = 50;   // one scan every 50 ms at each of the eight stations
constexpr int kSlotSecs = 30; // the stations' clock moves 30 s per scan
constexpr int kStations = 8;
constexpr int kAloneRounds = 4;   // turns of one station alone, then all eight
constexpr int kSignRounds = 4;    // turns of the sign-in screen: file, server, server loaded
constexpr int kLoadNiceness = 10; // the eight stations loading the server meanwhile
constexpr int kAttempts = 3;      // runs of the eight stations at most, while the machine stalls
constexpr int kStallMs = 50;      // a wake-up this late: the machine itself stopped

// The goals, each a ratio to a floor of the same run.
constexpr double kOneOverLibpq = 1.5;
constexpr double kEightOverOne = 2.5;
constexpr double kServerOverFile = 1.3;
constexpr double kSoakGrowth = 0.05;

struct Size {
    int employees;
    int historyDays;
    int signIns;        // one station: arrivals, then as many departures
    int stationSeconds; // the eight stations' run
    int signScans;      // the sign-in screen: arrivals, then as many departures
    int soakScans;
};
constexpr Size kFull{2500, 60, 200, 30, 100, 100'000};
constexpr Size kQuick{2500, 20, 60, 10, 40, 10'000};

// Each measurement has a day of its own, after the history.
const QDate kFirstDay(2026, 6, 1);
enum Day { OneStation = 0, Alone, Eight, SignFile, SignServer, SignLoaded, EightLoaded, Soak };
constexpr int kDayKinds = Soak + 1;
// The day of a measurement; a measurement taken again (`attempt`) has days
// of its own after all the first ones.
QDate dayOf(Day d, int attempt = 0) {
    return kFirstDay.addDays(int(d) + kDayKinds * attempt);
}

void say(const char* format, auto... args) {
    std::printf(format, args...);
    std::fflush(stdout);
}

[[noreturn]] void die(const QString& message) {
    std::fprintf(stderr, "bench_station: %s\n", qPrintable(message));
    std::exit(2);
}

QString argValue(const QStringList& args, const char* name, const QString& fallback = {}) {
    const qsizetype i = args.indexOf(QLatin1String(name));
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

QString numberOf(int i) {
    return QString::number(100'001 + i);
}
QString barcodeOf(int i) {
    return QString::number(600'000'000'000'000 + i);
}

double percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}
double median(const std::vector<double>& v) {
    return percentile(v, 0.5);
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

void run(QSqlDatabase db, const QString& sql, const QVariantList& params = {}) {
    QSqlQuery q(db);
    bool ok = params.isEmpty() ? q.exec(sql) : q.prepare(sql);
    if (!params.isEmpty()) {
        for (const QVariant& v : params)
            q.addBindValue(v);
        ok = ok && q.exec();
    }
    if (!ok)
        die(sql.left(200) + QStringLiteral(": ") + q.lastError().text());
}

qint64 count(QSqlDatabase db, const QString& sql, const QVariantList& params = {}) {
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        die(sql + QStringLiteral(": ") + q.lastError().text());
    return q.value(0).toLongLong();
}

DbSettings serverSettings() {
    DbSettings s;
    s.engine = DbSettings::Engine::PostgreSQL;
    s.server = qEnvironmentVariable("ATTENDANCE_TEST_PG_SERVER");
    s.user = qEnvironmentVariable("ATTENDANCE_TEST_PG_USER", QStringLiteral("postgres"));
    s.password = qEnvironmentVariable("ATTENDANCE_TEST_PG_PASSWORD");
    s.database = QStringLiteral("attendance_bench_station");
    if (s.server.isEmpty())
        die(QStringLiteral("no server: set ATTENDANCE_TEST_PG_SERVER (bench_station.sh starts "
                           "one)"));
    return s;
}

// A named connection of its own, dropped at the end of its scope.
class ServerConn {
public:
    ServerConn(DbSettings settings, const QString& database, const QString& name) : m_name(name) {
        settings.database = database;
        Error why;
        m_db = clsDbConn::OpenServer(settings, name, &why, false);
        if (!m_db.isValid())
            die(why.Text());
    }
    QSqlDatabase db() const { return m_db; }

private:
    ScopedConnection m_name;
    QSqlDatabase m_db;
};

// The same employees and history on the server and in the file.
void fillServer(const DbSettings& settings, const Size& size, const QByteArray& photo) {
    {
        ServerConn admin(settings, QStringLiteral("postgres"), QStringLiteral("bench-admin"));
        run(admin.db(), QStringLiteral("DROP DATABASE IF EXISTS %1").arg(settings.database));
        run(admin.db(), QStringLiteral("CREATE DATABASE %1").arg(settings.database));
    }
    ServerConn conn(settings, settings.database, QStringLiteral("bench-fill"));
    QSqlDatabase db = conn.db();
    Error error;
    run(db, QStringLiteral("BEGIN"));
    if (!DbCreator::AddTables(db, &error, false))
        die(QStringLiteral("tables not created: ") + error.Text());
    for (int d = 1; d <= kDepts; ++d)
        run(db, QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
            {d, QStringLiteral("部门%1").arg(d)});
    run(db,
        QStringLiteral("INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, HEADIMG, ENTERDATE) "
                       "SELECT 1 + e % 10, (100001 + e)::text, (600000000000000 + e)::text, "
                       "'职工' || e, ?, '2020-01-01 00:00:00' FROM generate_series(0, ? - 1) e"),
        {photo, size.employees});
    run(db,
        QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) "
                       "SELECT (100001 + e)::text, to_char(d + interval '7 hours', "
                       "'YYYY-MM-DD HH24:MI:SS'), to_char(d + interval '17 hours', "
                       "'YYYY-MM-DD HH24:MI:SS') FROM generate_series(?::timestamp, "
                       "?::timestamp, interval '1 day') d, generate_series(0, ? - 1) e"),
        {DbDateTime::DayText(kFirstDay.addDays(-size.historyDays)),
         DbDateTime::DayText(kFirstDay.addDays(-1)), size.employees});
    run(db, QStringLiteral("COMMIT"));
    if (!DbCreator::AddIndexes(db, &error))
        die(QStringLiteral("indexes not made: ") + error.Text());
    run(db, QStringLiteral("VACUUM ANALYZE"));
    // The set-up's pages written out now, not while the stations are timed.
    run(db, QStringLiteral("CHECKPOINT"));
}

void fillFile(const QString& path, const Size& size, const QByteArray& photo) {
    QFile::remove(path);
    Error error;
    if (!DbCreator::Create(path, &error))
        die(error.Text());
    const ScopedConnection name(QStringLiteral("bench-file"));
    QSqlDatabase db = clsDbConn::OpenFile(path, name.name());
    run(db, QStringLiteral("BEGIN"));
    for (int d = 1; d <= kDepts; ++d)
        run(db, QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
            {d, QStringLiteral("部门%1").arg(d)});
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, HEADIMG, "
                                 "ENTERDATE) VALUES(?, ?, ?, ?, ?, ?)"));
        for (int e = 0; e < size.employees; ++e) {
            q.bindValue(0, 1 + e % 10);
            q.bindValue(1, numberOf(e));
            q.bindValue(2, barcodeOf(e));
            q.bindValue(3, QStringLiteral("职工%1").arg(e));
            q.bindValue(4, photo);
            q.bindValue(5, QStringLiteral("2020-01-01 00:00:00"));
            if (!q.exec())
                die(q.lastError().text());
        }
        q.prepare(
            QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) VALUES(?, ?, ?)"));
        for (int d = size.historyDays; d >= 1; --d) {
            const QDate day = kFirstDay.addDays(-d);
            for (int e = 0; e < size.employees; ++e) {
                q.bindValue(0, numberOf(e));
                q.bindValue(1, DbDateTime::ToText(QDateTime(day, QTime(7, 0))));
                q.bindValue(2, DbDateTime::ToText(QDateTime(day, QTime(17, 0))));
                if (!q.exec())
                    die(q.lastError().text());
            }
        }
    }
    run(db, QStringLiteral("COMMIT"));
}

// A program directory: the file site, or a station of the server site whose
// journal and copy live in the directory itself ([DATA] PATH).
void makeProgramDir(const QString& dir, const DbSettings* server) {
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    Error error;
    if (!PrepareProgramDir(dir, QStringLiteral("实验中学"), false, &error))
        die(error.Text());
    if (!server)
        return;
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("DATA"));
    clsConDbSet set;
    set.setServer(server->server);
    set.setLoginName(server->user);
    set.setLoginPwd(server->password);
    set.setdbName(server->database);
    if (!cfg.SetItem(QStringLiteral("ENGINE"), QStringLiteral("postgresql")) || !set.Save())
        die(QStringLiteral("cannot write attendance.ini in ") + dir);
}

// Runs the event loop for `ms` milliseconds.
void runEventsFor(int ms) {
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    // A precise timer: Qt's default one may end a wait of seconds some
    // hundreds of milliseconds early or late (it allows 5 %), and a station
    // that waits out the windows where it does not scan would then scan
    // apart from the others.
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop, sleeping between events (a busy loop would take a
// processor from the threads measured), until `done` or the time is up.
bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    QTimer tick; // wakes the loop to look at the time
    tick.start(20);
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Scans given to a ScanService and their greetings, Scan() to Greeted.
class Greetings : public QObject {
public:
    explicit Greetings(ScanService* service) {
        connect(service, &ScanService::Greeted, this, [this](const ScanOutcome& o) {
            if (m_started.empty())
                return;
            ms.push_back(m_started.front().nsecsElapsed() / 1e6);
            m_started.pop_front();
            states.push_back(o.state);
            offline += o.offline ? 1 : 0;
            failed += o.Recorded() ? 0 : 1;
        });
    }
    void started() {
        m_started.emplace_back();
        m_started.back().start();
    }
    bool waiting() const { return !m_started.empty(); }

    std::vector<double> ms;
    std::vector<int> states;
    int offline = 0, failed = 0;

private:
    std::deque<QElapsedTimer> m_started;
};

qint64 keyMs(const QDate& day, int slot) {
    return QDateTime(day, QTime(7, 0)).addSecs(qint64(slot) * kSlotSecs).toMSecsSinceEpoch();
}

// The processor time of this process so far (all its threads), milliseconds.
double processorMs() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
}

// A station process. The run is a row of windows of `--window-slots` slots
// each, a slot every kScanMs from `startMs` (epoch milliseconds): "E" the
// windows where all the stations scan, "A" those where one station scans
// alone (the one given `--alone-day`; the others wait); with
// `--moments-seed SEED` each scan comes at a moment of its own within its
// slot, drawn from SEED, instead of at the slot's start. In each kind of
// window the station's `count` cards from `first` arrive one a slot, then
// depart in the same order, on a day of that kind's own. Prints each
// greeting but the first (milliseconds, state, kind) and the processor time
// a scan of each kind.
int stationChild(const QStringList& args) {
    SetProgramDirectory(argValue(args, "--dir"));
    const QDate days[2] = {QDate::fromString(argValue(args, "--day"), Qt::ISODate),
                           QDate::fromString(argValue(args, "--alone-day"), Qt::ISODate)};
    const int first = argValue(args, "--first").toInt();
    const int n = argValue(args, "--count").toInt();
    const qint64 startMs = argValue(args, "--start").toLongLong();
    const QString windows = argValue(args, "--windows", QStringLiteral("E"));
    const int perWindow = argValue(args, "--window-slots", QString::number(2 * n)).toInt();
    const QString seed = argValue(args, "--moments-seed");
    QRandomGenerator moments(seed.toUInt());
    AppClock::setFixed(QDateTime(days[0], QTime(6, 59)));
    ScanService service;
    Greetings greetings(&service);
    // Started, its copy read and the server known, as a running station is.
    if (!service.WaitIdle(60'000) || service.Offline())
        die(QStringLiteral("the station did not get ready"));
    int scanned[2] = {0, 0};
    double cpu[2] = {0, 0};
    std::vector<int> kinds;
    int late = 0;
    for (int w = 0; w < int(windows.size()); ++w) {
        const int kind = windows[w] == QLatin1Char('A') ? 1 : 0;
        if (!days[kind].isValid())
            continue;
        const double cpuBefore = processorMs();
        // A scan whose moment passed more than a slot ago (the process was
        // not running then) goes now and moves the window's later slots by
        // as much: making up the missed slots back to back would queue them
        // behind one another at one desk, where people come seconds apart.
        qint64 movedMs = 0;
        for (int i = 0; i < perWindow; ++i) {
            const qint64 slot = qint64(w) * perWindow + i;
            const qint64 moment = seed.isEmpty() ? 0 : moments.bounded(kScanMs);
            qint64 due = startMs + slot * kScanMs + moment + movedMs;
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            if (now - due > kScanMs) {
                movedMs += now - due;
                due = now;
                ++late;
            }
            runEventsFor(int(due - now));
            const int j = scanned[kind]++;
            AppClock::setFixed(QDateTime::fromMSecsSinceEpoch(keyMs(days[kind], j)));
            greetings.started();
            kinds.push_back(kind);
            service.Scan(barcodeOf(first + j % n), keyMs(days[kind], j));
        }
        // The window's last greeting comes well before the next window's first slot.
        if (!waitFor([&] { return !greetings.waiting(); }, 60'000))
            die(QStringLiteral("greetings missing"));
        cpu[kind] += processorMs() - cpuBefore;
    }
    service.WaitIdle(30'000);
    // The first scan is not timed: it is its connection's first call, for
    // which the server plans the function's statements afresh, which a
    // station at work made long before (it is recorded and counted all the
    // same).
    for (size_t i = 1; i < greetings.ms.size(); ++i)
        say("SCAN %.4f %d %c\n", greetings.ms[i], greetings.states[i], kinds[i] ? 'A' : 'E');
    say("OFFLINE %d\n", greetings.offline);
    say("LATE %d\n", late);
    say("CPU %.4f\n", cpu[0] / double(std::max(1, scanned[0])));
    say("CPUALONE %.4f\n", cpu[1] / double(std::max(1, scanned[1])));
    return 0;
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

void typeScan(QWidget* target, const QString& code, bool post) {
    for (QChar c : code)
        sendKey(target, Qt::Key_0 + c.digitValue(), QString(c), post);
    sendKey(target, Qt::Key_Return, QStringLiteral("\r"), post);
}

// The station's windows on one program directory, every message box
// answered at once (counted).
struct StationWindows {
    explicit StationWindows(const QDateTime& at) {
        AppClock::setFixed(at);
        window = std::make_unique<frmMain>();
        gfrmMain = window.get();
        sign = window->signWindow();
        service = sign->findChild<ScanService*>(QStringLiteral("scanService"));
        window->show();
        if (!waitFor(
                [&] {
                    return sign->isVisible() && sign->windowHandle() &&
                           sign->windowHandle()->isExposed();
                },
                20'000) ||
            !service || !service->WaitIdle(60'000))
            die(QStringLiteral("the sign-in screen did not open"));
    }
    ~StationWindows() {
        gfrmMain = nullptr;
        window.reset();
        clsDbConn::CloseShared();
    }
    MsgBox::Seam::Override boxes{[this](const MsgBox::Shown& shown) {
        ++messages;
        lastMessage = shown.text;
        return MsgBox::Result::Ok;
    }};
    int messages = 0;
    QString lastMessage;
    std::unique_ptr<frmMain> window;
    frmSign* sign = nullptr;
    ScanService* service = nullptr;
};

// The sign-in screen's process: `count` arrivals from card `first`, then
// their departures, each typed (keys sent) and timed from Enter to the photo
// and texts shown. Prints the times.
int signChild(const QStringList& args) {
    SetProgramDirectory(argValue(args, "--dir"));
    const QDate day = QDate::fromString(argValue(args, "--day"), Qt::ISODate);
    const int first = argValue(args, "--first").toInt();
    const int n = argValue(args, "--count").toInt();
    StationWindows station(QDateTime(day, QTime(7, 0)));
    // The photo and texts are on the screen when the sign-in screen tells
    // the main window to take the scan into today's list.
    qint64 shownAt = 0;
    QElapsedTimer clock;
    QObject::connect(station.sign, &frmSign::onUpdatePresenceList, station.sign, [&](qint16 state) {
        if (state != 0)
            shownAt = clock.nsecsElapsed();
    });
    // With --start (epoch milliseconds): the first scan at that moment, when
    // the stations that load the server are scanning.
    const qint64 startMs = argValue(args, "--start").toLongLong();
    if (const qint64 wait = startMs - QDateTime::currentMSecsSinceEpoch(); wait > 0)
        runEventsFor(int(wait));
    const qint64 firstScanMs = QDateTime::currentMSecsSinceEpoch();
    for (int k = 0; k < 2 * n; ++k) {
        AppClock::setFixed(QDateTime::fromMSecsSinceEpoch(keyMs(day, k)));
        const QString code = barcodeOf(first + k % n);
        for (QChar c : code)
            sendKey(station.sign, Qt::Key_0 + c.digitValue(), QString(c), false);
        shownAt = 0;
        clock.start();
        sendKey(station.sign, Qt::Key_Return, QStringLiteral("\r"), false);
        if (!waitFor([&] { return shownAt != 0; }, 10'000))
            die(QStringLiteral("scan %1 not greeted (%2)").arg(code, station.lastMessage));
        say("SHOWN %.4f %d\n", shownAt / 1e6, station.service->Offline() ? 1 : 0);
        // The next person steps up a moment later.
        runEventsFor(20);
    }
    say("SPAN %lld %lld\n", firstScanMs, QDateTime::currentMSecsSinceEpoch());
    return 0;
}

// Resident set size (KB) and open file descriptors of this process.
std::pair<qint64, int> memoryAndFiles() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    qint64 rss = 0;
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> f = statm.readAll().split(' ');
        if (f.size() > 1)
            rss = f[1].toLongLong() * 4;
    }
    const int fds = int(QDir(QStringLiteral("/proc/self/fd"))
                            .entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)
                            .size());
    return {rss, fds};
}

// The statements of one scan, as the worker sends them, through libpq alone.
class LibpqScan {
public:
    explicit LibpqScan(const DbSettings& s) {
        const QString host = s.server.section(QLatin1Char(':'), 0, 0);
        const QString port = s.server.section(QLatin1Char(':'), 1, 1);
        const QByteArray info = QStringLiteral("host=%1 port=%2 user=%3 password=%4 dbname=%5")
                                    .arg(host, port.isEmpty() ? QStringLiteral("5432") : port,
                                         s.user, s.password, s.database)
                                    .toUtf8();
        m_conn = PQconnectdb(info.constData());
        if (PQstatus(m_conn) != CONNECTION_OK)
            die(QString::fromUtf8(PQerrorMessage(m_conn)));
    }
    ~LibpqScan() { PQfinish(m_conn); }
    LibpqScan(const LibpqScan&) = delete;
    LibpqScan& operator=(const LibpqScan&) = delete;

    // One scan of `barcode` at `at` with the id `scanId`: true when written.
    // The card's look-up and the rule, the record and the scan's id in the
    // server's function, its own transaction: PQexecParams returns once that
    // has committed.
    bool Scan(const QString& barcode, const QDateTime& at, const QString& scanId) {
        PGresult* r = exec("SELECT * FROM attendance_scan_card($1, $2, $3, $4, $5, $6)",
                           {barcode, DbDateTime::ToText(at), DbDateTime::DayStart(at.date()),
                            DbDateTime::DayEnd(at.date()),
                            DbDateTime::ToText(at.addSecs(-clsPresence::RepeatSeconds)), scanId});
        if (!r || PQntuples(r) != 1)
            return done(r, false);
        // The photo as the station reads it.
        const QByteArray photo = QByteArray::fromBase64(PQgetvalue(r, 0, 7));
        const int state = std::atoi(PQgetvalue(r, 0, 8));
        PQclear(r);
        return !photo.isEmpty() && state >= clsPresence::Arrival;
    }

private:
    PGresult* exec(const char* sql, const QStringList& params) {
        std::vector<QByteArray> bytes;
        std::vector<const char*> values;
        for (const QString& p : params)
            bytes.push_back(p.toUtf8());
        for (const QByteArray& b : bytes)
            values.push_back(b.constData());
        PGresult* r = PQexecParams(m_conn, sql, int(values.size()), nullptr, values.data(), nullptr,
                                   nullptr, 0);
        const ExecStatusType st = PQresultStatus(r);
        if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
            std::fprintf(stderr, "libpq: %s", PQerrorMessage(m_conn));
            PQclear(r);
            return nullptr;
        }
        return r;
    }
    static bool done(PGresult* r, bool result) {
        PQclear(r);
        return result;
    }

    PGconn* m_conn = nullptr;
};

// The journal's statements of one scan through SQLite alone, as the
// station's two connections send them: the scan kept (its commit flushed to
// the disk) before anything else, and marked as the server's afterwards
// (not flushed).
class SqliteJournal {
public:
    explicit SqliteJournal(const QString& path) {
        QFile::remove(path);
        const QByteArray file = QFile::encodeName(path);
        for (sqlite3** db : {&m_keep, &m_mark})
            if (sqlite3_open(file.constData(), db) != SQLITE_OK)
                die(QStringLiteral("cannot open ") + path);
        run(m_keep, "PRAGMA journal_mode=WAL");
        run(m_keep, "CREATE TABLE IF NOT EXISTS Scan(SEQ INTEGER PRIMARY KEY AUTOINCREMENT, "
                    "SCANID TEXT NOT NULL UNIQUE, BARCODE TEXT, ENUMBER TEXT, SCANTIME TEXT NOT "
                    "NULL, STATE INTEGER, REPLAYED INTEGER NOT NULL DEFAULT 0)");
        run(m_keep, "CREATE INDEX IF NOT EXISTS IX_Scan_Pending ON Scan(REPLAYED, SEQ)");
        run(m_keep, "CREATE INDEX IF NOT EXISTS IX_Scan_Number ON Scan(ENUMBER, SCANTIME)");
        run(m_keep, "PRAGMA synchronous=FULL");
        run(m_mark, "PRAGMA synchronous=NORMAL");
    }
    ~SqliteJournal() {
        sqlite3_close(m_keep);
        sqlite3_close(m_mark);
    }
    SqliteJournal(const SqliteJournal&) = delete;
    SqliteJournal& operator=(const SqliteJournal&) = delete;

    void Keep(const QString& id, const QString& barcode, const QString& at) {
        run(m_keep, "BEGIN IMMEDIATE");
        bind(m_keep,
             "INSERT INTO Scan(SCANID, BARCODE, ENUMBER, SCANTIME, STATE) "
             "VALUES(?, ?, '', ?, 0)",
             {id, barcode, at});
        run(m_keep, "COMMIT");
    }
    void Mark(const QString& id) {
        run(m_mark, "BEGIN IMMEDIATE");
        bind(m_mark, "UPDATE Scan SET REPLAYED = 1, STATE = 1 WHERE SCANID = ?", {id});
        run(m_mark, "COMMIT");
    }

private:
    static void run(sqlite3* db, const char* sql) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            die(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    static void bind(sqlite3* db, const char* sql, const QStringList& params) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
            die(QString::fromUtf8(sqlite3_errmsg(db)));
        for (int i = 0; i < int(params.size()); ++i) {
            const QByteArray b = params[i].toUtf8();
            sqlite3_bind_text(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        }
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            die(QString::fromUtf8(sqlite3_errmsg(db)));
    }

    sqlite3* m_keep = nullptr;
    sqlite3* m_mark = nullptr;
};

// Watches this machine for stalls while it lives: a thread of its own that
// only sleeps, 2 ms at a time, and notes each wake-up kStallMs or more late.
// A thread that does nothing else is woken within a few milliseconds even
// with the eight stations and the server on both processors; this late, the
// machine itself (the host of this virtual machine) ran nothing at all.
class StallWatch {
public:
    StallWatch() : m_thread([this](std::stop_token stop) { watch(stop); }) {}
    // The stalls so far, their lengths in milliseconds.
    std::vector<double> Stalls() const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_stalls;
    }

private:
    void watch(const std::stop_token& stop) {
        using Clock = std::chrono::steady_clock;
        constexpr auto nap = std::chrono::milliseconds(2);
        Clock::time_point last = Clock::now();
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(nap);
            const Clock::time_point now = Clock::now();
            const double lateMs =
                std::chrono::duration<double, std::milli>(now - last - nap).count();
            if (lateMs >= kStallMs) {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_stalls.push_back(lateMs);
            }
            last = now;
        }
    }

    mutable std::mutex m_mutex;
    std::vector<double> m_stalls;
    std::jthread m_thread; // last: stopped and joined before the rest goes
};

struct ChildRun {
    std::unique_ptr<QProcess> process;
    std::vector<double> ms;
    std::vector<double> msAlone; // a station's scans in the windows where it scans alone
    int offline = 0;
    int late = 0;                   // scans that came more than a slot after their moment
    qint64 firstMs = 0, lastMs = 0; // its scans' start and end (epoch ms)
    double cpuMsPerScan = 0;        // the process's processor time while scanning, a scan
    double cpuMsPerScanAlone = 0;
    bool ok = false;
};

// A child of this program; `niceness` lowers its share of the processors
// when they are contended.
std::unique_ptr<QProcess> startChild(const QStringList& args, int niceness = 0) {
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (niceness > 0)
        p->setChildProcessModifier([niceness] { (void)::nice(niceness); });
    p->start(QCoreApplication::applicationFilePath(), args);
    return p;
}

void finishChild(ChildRun& run, const char* tag) {
    QProcess& p = *run.process;
    run.ok =
        p.waitForFinished(600'000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() >= 2 && f[0] == tag) {
            (f.size() >= 4 && f[3] == "A" ? run.msAlone : run.ms).push_back(f[1].toDouble());
            if (f.size() >= 3 && f[0] == "SHOWN")
                run.offline += f[2].toInt();
        } else if (f.size() == 2 && f[0] == "OFFLINE") {
            run.offline += f[1].toInt();
        } else if (f.size() == 2 && f[0] == "LATE") {
            run.late = f[1].toInt();
        } else if (f.size() == 2 && f[0] == "CPU") {
            run.cpuMsPerScan = f[1].toDouble();
        } else if (f.size() == 2 && f[0] == "CPUALONE") {
            run.cpuMsPerScanAlone = f[1].toDouble();
        } else if (f.size() == 3 && f[0] == "SPAN") {
            run.firstMs = f[1].toLongLong();
            run.lastMs = f[2].toLongLong();
        }
    }
}

// The stations' program directories under `base`, one for each.
QStringList stationDirs(const QString& base, const DbSettings& s, int n, const char* what) {
    QStringList dirs;
    for (int k = 0; k < n; ++k) {
        const QString d = QStringLiteral("%1/%2-%3").arg(base, QLatin1String(what)).arg(k);
        makeProgramDir(d, &s);
        dirs << d;
    }
    return dirs;
}

// `n` station processes (directories `dirs`), each with `cards` cards of its
// own. With `aloneRounds`, the run alternates that many times between the
// first station scanning alone (on the day `Alone`) and all of them scanning
// (on `day`), in windows of equal length, the alone one first;
// `independent`: each scan at a moment of its own within its slot;
// `niceness`: the stations' processes yield the processors to others.
std::vector<ChildRun> startStations(const QStringList& dirs, Day day, int cards, int firstCard,
                                    int aloneRounds = 0, bool independent = false, int attempt = 0,
                                    int niceness = 0) {
    const qint64 startMs = QDateTime::currentMSecsSinceEpoch() + 4000;
    const QString windows =
        aloneRounds > 0 ? QStringLiteral("AE").repeated(aloneRounds) : QStringLiteral("E");
    const int perWindow = 2 * cards / std::max(1, aloneRounds);
    std::vector<ChildRun> runs;
    for (int k = 0; k < int(dirs.size()); ++k) {
        QStringList args{QStringLiteral("--station-child"),
                         QStringLiteral("--dir"),
                         dirs[k],
                         QStringLiteral("--day"),
                         dayOf(day, attempt).toString(Qt::ISODate),
                         QStringLiteral("--first"),
                         QString::number(firstCard + k * cards),
                         QStringLiteral("--count"),
                         QString::number(cards),
                         QStringLiteral("--start"),
                         QString::number(startMs),
                         QStringLiteral("--windows"),
                         windows,
                         QStringLiteral("--window-slots"),
                         QString::number(perWindow)};
        if (k == 0 && aloneRounds > 0)
            args << QStringLiteral("--alone-day") << dayOf(Alone, attempt).toString(Qt::ISODate);
        if (independent)
            args << QStringLiteral("--moments-seed") << QString::number(k + 1);
        ChildRun r;
        r.process = startChild(args, niceness);
        r.firstMs = startMs;
        r.lastMs = startMs + qint64(windows.size()) * perWindow * kScanMs;
        runs.push_back(std::move(r));
    }
    return runs;
}

// The stations' greetings: those of all the stations scanning, and those
// of the first station scanning alone (`alone`).
std::vector<double> finishStations(std::vector<ChildRun>& runs, int* failed, int* offline,
                                   double* cpuMsPerScan = nullptr,
                                   std::vector<double>* alone = nullptr,
                                   double* cpuMsPerScanAlone = nullptr) {
    std::vector<double> all;
    double cpu = 0;
    for (ChildRun& r : runs) {
        finishChild(r, "SCAN");
        *failed += r.ok ? 0 : 1;
        *offline += r.offline;
        cpu += r.cpuMsPerScan;
        all.insert(all.end(), r.ms.begin(), r.ms.end());
        if (alone)
            alone->insert(alone->end(), r.msAlone.begin(), r.msAlone.end());
    }
    if (cpuMsPerScan)
        *cpuMsPerScan = runs.empty() ? 0 : cpu / double(runs.size());
    if (cpuMsPerScanAlone)
        *cpuMsPerScanAlone = runs.empty() ? 0 : runs.front().cpuMsPerScanAlone;
    return all;
}

// The sign-in screen's process, its first scan at `startMs` (epoch
// milliseconds) when given, else as soon as it has started.
ChildRun signRun(const QString& dir, Day day, int first, int n, qint64 startMs = 0) {
    ChildRun r;
    r.process =
        startChild({QStringLiteral("--sign-child"), QStringLiteral("--dir"), dir,
                    QStringLiteral("--day"), dayOf(day).toString(Qt::ISODate),
                    QStringLiteral("--first"), QString::number(first), QStringLiteral("--count"),
                    QString::number(n), QStringLiteral("--start"), QString::number(startMs)});
    return r;
}

// A run of the sign-in screen taken into the figures of its kind.
void addSignRun(ChildRun& to, ChildRun& run) {
    finishChild(run, "SHOWN");
    to.ok = to.ok && run.ok;
    to.offline += run.offline;
    to.ms.insert(to.ms.end(), run.ms.begin(), run.ms.end());
}

struct Goals {
    bool met = true;
    void check(const char* what, bool ok, const QString& figures) {
        met = met && ok;
        say("  %-44s %-44s %s\n", what, qPrintable(figures), ok ? "PASS" : "FAIL");
    }
    static QString ratio(double a, double b, double goal) {
        return QStringLiteral("%1 / %2 ms = %3x (<= %4x)")
            .arg(a, 0, 'f', 2)
            .arg(b, 0, 'f', 2)
            .arg(a / std::max(1e-6, b), 0, 'f', 2)
            .arg(goal);
    }
};

int speed(const Size& size, const DbSettings& settings, const QString& base, bool journalsOnDisk,
          bool independent, const QString& only) {
    Goals goals;
    // --only one / --only stations: that part alone.
    const bool stationsOnly = only == QLatin1String("stations");
    // One station, scans one after another, and the same statements
    // through libpq, in turn, each on cards of its own.
    const QString soloDir = base + QStringLiteral("/server-solo");
    makeProgramDir(soloDir, &settings);
    std::vector<double> station, floor, floorServer, keptMs, floorKept;
    if (!stationsOnly) {
        const QDate day = dayOf(OneStation);
        AppClock::setFixed(QDateTime(day, QTime(6, 59)));
        ScanService service;
        Greetings greetings(&service);
        if (!service.WaitIdle(60'000) || service.Offline())
            die(QStringLiteral("the station did not get ready"));
        LibpqScan libpq(settings);
        SqliteJournal journal(base + QStringLiteral("/floor-journal.db"));
        const int n = size.signIns;
        int floorFailed = 0;
        for (int pass = 0; pass < 2; ++pass)
            for (int k = 0; k < n; ++k) {
                const int slot = pass * n + k;
                const QDateTime at = QDateTime::fromMSecsSinceEpoch(keyMs(day, slot));
                AppClock::setFixed(at);
                const auto viaStation = [&] {
                    greetings.started();
                    QElapsedTimer scanCall;
                    scanCall.start();
                    service.Scan(barcodeOf(k), keyMs(day, slot));
                    keptMs.push_back(scanCall.nsecsElapsed() / 1e6);
                    if (!waitFor([&] { return !greetings.waiting(); }, 10'000))
                        die(QStringLiteral("a scan was not greeted"));
                };
                const auto viaLibpq = [&] {
                    const QString id = QStringLiteral("floor-%1-%2").arg(pass).arg(k);
                    QElapsedTimer t;
                    t.start();
                    journal.Keep(id, barcodeOf(n + k), DbDateTime::ToText(at));
                    const qint64 kept = t.nsecsElapsed();
                    floorKept.push_back(kept / 1e6);
                    if (!libpq.Scan(barcodeOf(n + k), at, id))
                        ++floorFailed;
                    floorServer.push_back((t.nsecsElapsed() - kept) / 1e6);
                    journal.Mark(id);
                    floor.push_back(t.nsecsElapsed() / 1e6);
                };
                // In turn which goes first; each after the other has settled.
                const std::function<void()> ways[] = {viaStation, viaLibpq};
                ways[k % 2]();
                runEventsFor(10);
                ways[1 - k % 2]();
                runEventsFor(10);
            }
        service.WaitIdle(30'000);
        station = greetings.ms;
        say("\nOne station, %d arrivals then their departures, one after another:\n", n);
        say("  ScanService (journal, worker, server): median %.3f ms, p90 %.3f ms, p99 %.3f ms "
            "(%d offline, %d not recorded)\n",
            median(station), percentile(station, 0.9), percentile(station, 0.99), greetings.offline,
            greetings.failed);
        say("  the same statements, SQLite + libpq:   median %.3f ms, p90 %.3f ms, p99 %.3f ms "
            "(%d failed)\n",
            median(floor), percentile(floor, 0.9), percentile(floor, 0.99), floorFailed);
        say("  the scan journalled: ScanService::Scan() returned after median %.3f ms; "
            "SQLite alone %.3f ms\n",
            median(keptMs), median(floorKept));
        say("  of which the server's, through libpq:  median %.3f ms, p90 %.3f ms, p99 %.3f ms\n",
            median(floorServer), percentile(floorServer, 0.9), percentile(floorServer, 0.99));
        clsDbConn::CloseShared();
    }
    if (!stationsOnly)
        goals.check("one station / SQLite + libpq alone (median)",
                    median(station) <= kOneOverLibpq * median(floor),
                    Goals::ratio(median(station), median(floor), kOneOverLibpq));
    if (only == QLatin1String("one"))
        return goals.met ? 0 : 1;
    // One station alone at the stations' pace, then eight at once.
    const int cards = size.stationSeconds * 1000 / kScanMs / 2;
    // The stations' journals are on disks of their own at a site; here the
    // stations that load the server keep them in memory, so that they load
    // the server and not the measured station's disk (--journals-on-disk:
    // all on this machine's disk).
    const QString shm = QStringLiteral("/dev/shm/attendance-bench-station");
    const QString stationBase =
        !journalsOnDisk && QFileInfo(QStringLiteral("/dev/shm")).isDir() ? shm : base;
    const QStringList eightDirs = stationDirs(stationBase, settings, kStations, "station");
    say("\nThe stations' journals and copies in %s\n", qPrintable(stationBase));
    say("\nStations, a scan every %d ms each (%s), %d arrivals then their departures, one "
        "station alone and all eight in turn (%d times):\n",
        kScanMs, independent ? "each at a moment of its own" : "all in the same millisecond", cards,
        kAloneRounds);
    // The first station alone and all eight in turn, several times, so that
    // both meet the same spells of the machine (its disk's periodic slow
    // flushes, the server's background work); the first station is the same
    // process in both, on a day of each kind's own. A run during which the
    // machine itself stalled is taken again, on days of its own, up to
    // kAttempts runs in all; the last one's times count, a failed station
    // process of any run fails the goal.
    int stationAttempts = 0, failedAll = 0;
    for (;;) {
        int failed = 0, offline = 0;
        const StallWatch watch;
        std::vector<ChildRun> stationsRun =
            startStations(eightDirs, Eight, cards, 0, kAloneRounds, independent, stationAttempts);
        double cpuAlone = 0, cpuEight = 0;
        std::vector<double> alone;
        const std::vector<double> eight =
            finishStations(stationsRun, &failed, &offline, &cpuEight, &alone, &cpuAlone);
        ++stationAttempts;
        say("  one station alone: median %.3f ms, p99 %.3f ms, max %.3f ms (n=%zu)\n",
            median(alone), percentile(alone, 0.99), percentile(alone, 1.0), alone.size());
        say("  eight stations:    median %.3f ms, p99 %.3f ms, max %.3f ms (n=%zu)\n",
            median(eight), percentile(eight, 0.99), percentile(eight, 1.0), eight.size());
        int late = 0;
        for (const ChildRun& r : stationsRun)
            late += r.late;
        say("  %d station processes failed, %d scans greeted offline, %d came more than a slot "
            "late (their station's later slots moved); a station process's processor time %.2f ms "
            "a scan alone, %.2f ms among eight\n",
            failed, offline, late, cpuAlone, cpuEight);
        failedAll += failed;
        const std::vector<double> stalls = watch.Stalls();
        if (!stalls.empty())
            say("  the machine stalled %zu time%s during this run (up to %.0f ms)%s\n",
                stalls.size(), stalls.size() == 1 ? "" : "s",
                *std::max_element(stalls.begin(), stalls.end()),
                stationAttempts < kAttempts ? ": it is taken again" : "");
        if (!stalls.empty() && stationAttempts < kAttempts)
            continue;
        goals.check("eight stations / one alone (p99)",
                    failedAll == 0 &&
                        percentile(eight, 0.99) <= kEightOverOne * percentile(alone, 0.99),
                    Goals::ratio(percentile(eight, 0.99), percentile(alone, 0.99), kEightOverOne));
        break;
    }

    if (stationsOnly)
        return goals.met ? 0 : 1;
    // The sign-in screen: on the file, on the server alone, and on the server
    // while the eight stations scan, the three in turn, several times, so
    // that all meet the same spells of the machine. Each turn of the last
    // starts the eight stations anew and scans within their run. Those eight
    // stand for PCs of their own: here they share the measured station's two
    // processors, so they run at a lower priority and load the server (whose
    // processes keep theirs), not the measured station's processors.
    const QString fileDir = base + QStringLiteral("/file");
    const QString signDir = base + QStringLiteral("/server-sign");
    makeProgramDir(signDir, &settings);
    const int signPerRound = size.signScans / kSignRounds;
    const int loadCards = cards / kSignRounds;
    ChildRun file, server, loaded;
    file.ok = server.ok = loaded.ok = true;
    int loadFailed = 0, loadOffline = 0, loadedOutside = 0;
    for (int round = 0; round < kSignRounds; ++round) {
        const int first = round * signPerRound;
        ChildRun f = signRun(fileDir, SignFile, first, signPerRound);
        addSignRun(file, f);
        ChildRun s = signRun(signDir, SignServer, first, signPerRound);
        addSignRun(server, s);
        std::vector<ChildRun> load =
            startStations(eightDirs, EightLoaded, loadCards, round * loadCards * kStations, 0,
                          false, 0, kLoadNiceness);
        // A moment after the stations' first scans, within their run.
        ChildRun l = signRun(signDir, SignLoaded, first, signPerRound, load.front().firstMs + 300);
        addSignRun(loaded, l);
        if (l.firstMs < load.front().firstMs || l.lastMs > load.front().lastMs)
            ++loadedOutside;
        finishStations(load, &loadFailed, &loadOffline);
    }
    say("\nSign-in screen, Enter to photo and texts shown, %d arrivals then their departures, "
        "in %d turns; %d turns of the last outside the stations' run:\n",
        signPerRound * kSignRounds, kSignRounds, loadedOutside);
    for (const auto& [what, r] : {std::pair<const char*, const ChildRun*>{"database file", &file},
                                  {"server", &server},
                                  {"server, eight stations scanning", &loaded}})
        say("  %-32s median %.3f ms, p90 %.3f ms, max %.3f ms (n=%zu, %d offline)%s\n", what,
            median(r->ms), percentile(r->ms, 0.9), percentile(r->ms, 1.0), r->ms.size(), r->offline,
            r->ok ? "" : " FAILED");
    goals.check("server Enter to photo / file's",
                server.ok && file.ok && median(server.ms) <= kServerOverFile * median(file.ms),
                Goals::ratio(median(server.ms), median(file.ms), kServerOverFile));
    goals.check("the same, eight stations scanning / file's",
                loaded.ok && file.ok && loadFailed == 0 && loadedOutside == 0 &&
                    median(loaded.ms) <= kServerOverFile * median(file.ms),
                Goals::ratio(median(loaded.ms), median(file.ms), kServerOverFile));

    // Every scan of the stations' runs is on the server once.
    {
        ServerConn conn(settings, settings.database, QStringLiteral("bench-check"));
        const qint64 replays = count(conn.db(), QStringLiteral("SELECT COUNT(*) FROM ScanReplay"));
        const qint64 expected = qint64(4 * size.signIns) +
                                qint64(2 * cards) * (1 + kStations) * stationAttempts +
                                qint64(2 * loadCards * kSignRounds) * kStations +
                                qint64(4 * signPerRound * kSignRounds);
        const qint64 half =
            count(conn.db(),
                  QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME >= ? AND "
                                 "EXITTIME IS NULL"),
                  {DbDateTime::DayStart(kFirstDay)});
        goals.check("every station scan recorded once", replays == expected && half == 0,
                    QStringLiteral("%1 of %2 in ScanReplay, %3 without departure")
                        .arg(replays)
                        .arg(expected)
                        .arg(half));
    }
    say("\n");
    return goals.met ? 0 : 1;
}

// Stops (fast) or starts the test server through scripts/pg-server.sh.
bool serverControl(const QString& pgDir, bool start) {
    const QString script = QDir(QStringLiteral(ATTENDANCE_SOURCE_DIR))
                               .filePath(QStringLiteral("scripts/pg-server.sh"));
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(script, start ? QStringList{QStringLiteral("restart"), pgDir}
                          : QStringList{QStringLiteral("halt"), pgDir, QStringLiteral("fast")});
    return p.waitForFinished(120'000) && p.exitCode() == 0;
}

// The soak: `scans` scans at one station process, keys posted to the
// sign-in screen. Each day half the cards arrive and then depart; the clock
// rolls over to the next day; every tenth of the scans (10,000 of 100,000)
// the server is stopped for a twentieth of that and started again.
int soak(const Size& size, const DbSettings& settings, const QString& base, const QString& pgDir,
         int scans) {
    if (pgDir.isEmpty())
        die(QStringLiteral("--soak needs --pg-dir (bench_station.sh passes it)"));
    const QString dir = base + QStringLiteral("/server-soak");
    makeProgramDir(dir, &settings);
    SetProgramDirectory(dir);
    const int perDay = 2 * std::min(size.employees, 1000);
    const int cards = perDay / 2;
    // An outage every tenth of the scans whatever their number: every 10,000 of
    // 100,000 (every 1,000 of --quick's 10,000), each a twentieth of that long.
    const int outageEvery = std::max(20, scans / 10);
    const int outageLength = outageEvery / 20;
    Goals goals;
    std::pair<qint64, int> atHalf{0, 0}, atEnd{0, 0};
    int greeted = 0, offline = 0, notRecorded = 0, outages = 0;
    std::vector<double> backOnline; // seconds from the server's start to the station online
    QElapsedTimer clock;
    clock.start();
    {
        StationWindows station(QDateTime(dayOf(Soak), QTime(6, 59)));
        QObject::connect(station.service, &ScanService::Greeted, station.sign,
                         [&](const ScanOutcome& o) {
                             ++greeted;
                             offline += o.offline ? 1 : 0;
                             notRecorded += o.Recorded() ? 0 : 1;
                         });
        bool away = false;
        for (int k = 0; k < scans; ++k) {
            const int day = k / perDay, inDay = k % perDay;
            const QDate date = dayOf(Soak).addDays(day);
            // Arrivals from 07:00, departures from 17:00, one card a second.
            const QTime time =
                inDay < cards ? QTime(7, 0).addSecs(inDay) : QTime(17, 0).addSecs(inDay - cards);
            AppClock::setFixed(QDateTime(date, time));
            if (k > 0 && k % outageEvery == 0) {
                if (!serverControl(pgDir, false))
                    die(QStringLiteral("the server did not stop"));
                away = true;
                ++outages;
            }
            if (away && k % outageEvery == outageLength) {
                if (!serverControl(pgDir, true))
                    die(QStringLiteral("the server did not start"));
                away = false;
                // The next person comes once the station is back online (its
                // backlog on the server), so most scans take the online road.
                QElapsedTimer back;
                back.start();
                if (!waitFor([&] { return !station.service->Offline(); }, 300'000))
                    die(QStringLiteral("the station did not come back online"));
                backOnline.push_back(back.elapsed() / 1000.0);
            }
            typeScan(station.sign, barcodeOf(inDay % cards), true);
            if (!waitFor([&] { return greeted > k; }, 10'000))
                die(QStringLiteral("scan %1 not greeted").arg(k));
            if (k + 1 == scans / 2)
                atHalf = memoryAndFiles();
            if ((k + 1) % outageEvery == 0)
                say("  %d scans, %.0f s, RSS %lld KB, %d files open, %d offline so far\n", k + 1,
                    clock.elapsed() / 1000.0, memoryAndFiles().first, memoryAndFiles().second,
                    offline);
        }
        if (away && !serverControl(pgDir, true))
            die(QStringLiteral("the server did not start"));
        atEnd = memoryAndFiles();
        // What the journal holds reaches the server.
        QElapsedTimer drain;
        drain.start();
        while (station.service->JournalPending() > 0 && drain.elapsed() < 300'000) {
            station.service->RetryServer();
            runEventsFor(200);
        }
        station.service->WaitIdle(60'000);
        say("  journal drained %.1f s after the last scan, %d left; %d messages shown\n",
            drain.elapsed() / 1000.0, station.service->JournalPending(), station.messages);
    }
    say("\nSoak: %d scans, %d days, %d outages, %.0f s; %d greeted, %d offline, %d not "
        "recorded\n",
        scans, (scans + perDay - 1) / perDay, outages, clock.elapsed() / 1000.0, greeted, offline,
        notRecorded);
    say("  back online after each outage (server started to the station online): median %.1f "
        "s, max %.1f s\n",
        median(backOnline), percentile(backOnline, 1.0));
    const auto growth = [](qint64 a, qint64 b) { return a > 0 ? double(b - a) / double(a) : 1.0; };
    goals.check("RSS, half to end", growth(atHalf.first, atEnd.first) <= kSoakGrowth,
                QStringLiteral("%1 -> %2 KB (%3 %, <= 5 %)")
                    .arg(atHalf.first)
                    .arg(atEnd.first)
                    .arg(100 * growth(atHalf.first, atEnd.first), 0, 'f', 1));
    goals.check("open files, half to end", growth(atHalf.second, atEnd.second) <= kSoakGrowth,
                QStringLiteral("%1 -> %2 (%3 %, <= 5 %)")
                    .arg(atHalf.second)
                    .arg(atEnd.second)
                    .arg(100 * growth(atHalf.second, atEnd.second), 0, 'f', 1));
    ServerConn conn(settings, settings.database, QStringLiteral("bench-check"));
    const QString from = DbDateTime::DayStart(dayOf(Soak));
    const qint64 replays = count(
        conn.db(), QStringLiteral("SELECT COUNT(*) FROM ScanReplay WHERE SCANTIME >= ?"), {from});
    const qint64 distinct =
        count(conn.db(),
              QStringLiteral("SELECT COUNT(DISTINCT SCANID) FROM ScanReplay WHERE SCANTIME >= ?"),
              {from});
    const qint64 arrivals = count(
        conn.db(), QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME >= ?"), {from});
    const qint64 departures = count(
        conn.db(),
        QStringLiteral("SELECT COUNT(*) FROM Presence WHERE ENTERTIME >= ? AND EXITTIME IS NOT "
                       "NULL"),
        {from});
    qint64 wantArrivals = 0, wantDepartures = 0;
    for (int k = 0; k < scans; ++k)
        (k % perDay < cards ? wantArrivals : wantDepartures) += 1;
    goals.check("every scan recorded once",
                replays == scans && distinct == scans && arrivals == wantArrivals &&
                    departures == wantDepartures && greeted == scans,
                QStringLiteral("%1 ids (%2 distinct), %3/%4 rows, %5/%6 departures")
                    .arg(replays)
                    .arg(distinct)
                    .arg(arrivals)
                    .arg(wantArrivals)
                    .arg(departures)
                    .arg(wantDepartures));
    return goals.met ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.contains(QStringLiteral("--station-child"))) {
        QGuiApplication app(argc, argv);
        return stationChild(args);
    }
    QApplication app(argc, argv);
    DesktopKit::SetProgramTitle(Station::ProgramTitle());
    ChineseUi::Setup(app);
    if (args.contains(QStringLiteral("--sign-child")))
        return signChild(args);

    const bool quick = args.contains(QStringLiteral("--quick"));
    const Size& size = quick ? kQuick : kFull;
    const DbSettings settings = serverSettings();
    const QString base = QStringLiteral("%1/attendance-bench-station").arg(QDir::tempPath());
    QDir().mkpath(base);
    say("filling: %d employees with photos, %d days of history (%lld rows), on the server and "
        "in a file\n",
        size.employees, size.historyDays, qint64(size.employees) * size.historyDays);
    const QByteArray photo = makePhoto();
    fillServer(settings, size, photo);
    const QString fileDir = base + QStringLiteral("/file");
    makeProgramDir(fileDir, nullptr);
    fillFile(fileDir + QStringLiteral("/vorerur.dat"), size, photo);
    clsDbConn::CloseShared();

    if (args.contains(QStringLiteral("--soak"))) {
        const int scans = argValue(args, "--scans", QString::number(size.soakScans)).toInt();
        return soak(size, settings, base, argValue(args, "--pg-dir"), std::max(1, scans));
    }
    const int status =
        speed(size, settings, base, args.contains(QStringLiteral("--journals-on-disk")),
              args.contains(QStringLiteral("--independent")), argValue(args, "--only"));
    QDir(QStringLiteral("/dev/shm/attendance-bench-station")).removeRecursively();
    return status;
}
