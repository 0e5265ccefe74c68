// Speed of the web pages (attendance-web's server in this process, as the
// program runs it): 50 viewers at once reloading 今日 of 10,000 employees
// while a station scans (ten scans a second through clsPresence on a
// thread of its own), and 月度统计 of 1,000 employees' full month. Each
// viewer signs in once and then asks for the page again as soon as it has
// it, on a new connection each time; the figures are the times from
// connecting to the last byte of the answer. SQLite files built in a
// temporary folder on each run.
//
// Goals: 今日 p99 <= 100 ms; 月度统计 <= 300 ms.
#include "bench/BenchData.h"
#include "shared/base/AppClock.h"
#include "shared/config/ViewerPassword.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsPresence.h"
#include "tests/common/TestProgramDir.h"
#include "web/WebServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kPassword = QStringLiteral("bench-password");

[[noreturn]] void die(const QString& message) {
    std::fprintf(stderr, "bench_web: %s\n", qPrintable(message));
    std::exit(1);
}

// Employees in 20 departments; a record on each day of `days` for every
// employee, and today's arrivals for `todayShare` of them.
void fillRows(int employees, const QDate& first, const QDate& last, const QDate& today,
              double todayShare) {
    QSqlDatabase db = clsDbConn().GetDbConn();
    DbTransaction tx(db, DbTransaction::Mode::Immediate);
    QSqlQuery q(db);
    for (int d = 1; d <= 20; ++d)
        if (!q.exec(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES (%1, '部门%1')").arg(d)))
            die(QStringLiteral("cannot insert departments"));
    q.prepare(QStringLiteral("INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, ENTERDATE) "
                             "VALUES (?, ?, ?, ?, '2020-01-01 00:00:00')"));
    for (int i = 0; i < employees; ++i) {
        q.addBindValue(i % 20 + 1);
        q.addBindValue(BenchData::NumberOf(i));
        q.addBindValue(QString::number(500000000000000LL + i));
        q.addBindValue(QStringLiteral("员工%1").arg(i));
        if (!q.exec())
            die(QStringLiteral("cannot insert employees"));
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitter(-20, 20);
    q.prepare(
        QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) VALUES (?, ?, ?)"));
    const auto add = [&](int i, const QDateTime& start, const QVariant& end) {
        q.addBindValue(BenchData::NumberOf(i));
        q.addBindValue(DbDateTime::ToText(start));
        q.addBindValue(end);
        if (!q.exec())
            die(QStringLiteral("cannot insert records"));
    };
    for (QDate day = first; day <= last; day = day.addDays(1))
        for (int i = 0; i < employees; ++i) {
            const QDateTime start(day, QTime(8, 0).addSecs(jitter(random) * 60));
            add(i, start, DbDateTime::ToText(start.addSecs(9 * 3600 + jitter(random) * 60)));
        }
    for (int i = 0; i < int(employees * todayShare); ++i)
        add(i, QDateTime(today, QTime(8, 0).addSecs(jitter(random) * 60)),
            QVariant(QMetaType(QMetaType::QString)));
    if (!tx.Commit())
        die(tx.Error().Text());
}

void fill(int employees, const QDate& first, const QDate& last, const QDate& today,
          double todayShare) {
    fillRows(employees, first, last, today, todayShare);
    clsDbConn::CloseShared(); // the server opens its own, read-only
}

// One HTTP exchange on a new connection; the answer's status (0 on
// failure). `cookie` receives a Set-Cookie's session when given.
int request(quint16 port, const QByteArray& text, QByteArray* cookie = nullptr) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        if (fd >= 0)
            ::close(fd);
        return 0;
    }
    ::send(fd, text.constData(), size_t(text.size()), MSG_NOSIGNAL);
    QByteArray got;
    char buffer[65536];
    qsizetype need = -1;
    while (need < 0 || got.size() < need) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        got.append(buffer, n);
        const qsizetype end = got.indexOf("\r\n\r\n");
        if (need < 0 && end >= 0) {
            const QByteArray head = got.left(end).toLower();
            const qsizetype cl = head.indexOf("content-length:");
            need =
                end + 4 +
                (cl < 0
                     ? 0
                     : head.mid(cl + 15, head.indexOf('\r', cl) - cl - 15).trimmed().toLongLong());
        }
    }
    ::close(fd);
    if (cookie) {
        const qsizetype at = got.indexOf("Set-Cookie: ");
        *cookie = at < 0 ? QByteArray() : got.mid(at + 12, got.indexOf(';', at) - at - 12);
    }
    return got.startsWith("HTTP/1.1 ") ? got.mid(9, 3).toInt() : 0;
}

QByteArray signIn(quint16 port) {
    const QByteArray body = "password=" + kPassword.toUtf8();
    QByteArray cookie;
    if (request(port,
                "POST /login HTTP/1.1\r\nHost: bench\r\nContent-Type: "
                "application/x-www-form-urlencoded\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\n\r\n" + body,
                &cookie) != 303)
        die(QStringLiteral("sign-in failed"));
    return cookie;
}

QByteArray get(const QByteArray& path, const QByteArray& cookie) {
    // As a browser asks: it takes compressed pages.
    return "GET " + path +
           " HTTP/1.1\r\nHost: bench\r\nAccept-Encoding: gzip, deflate\r\nCookie: " + cookie +
           "\r\n\r\n";
}

void report(const char* what, std::vector<double> ms) {
    std::printf("%s: %zu requests, p50 %.1f ms, p95 %.1f ms, p99 %.1f ms, max %.1f ms\n", what,
                ms.size(), BenchData::Percentile(ms, 0.5), BenchData::Percentile(ms, 0.95),
                BenchData::Percentile(ms, 0.99), BenchData::Percentile(ms, 1.0));
}

// Runs the server's event loop until `done`.
void serve(const std::atomic<bool>& done) {
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void today(int employees, int viewers, int seconds) {
    QTemporaryDir dir;
    Error error;
    if (!PrepareProgramDir(dir.path(), QStringLiteral("基准单位"), true, &error))
        die(error.Text());
    const QDate today = BenchData::kToday;
    fill(employees, QDate(today.year(), today.month(), 1), today.addDays(-1), today, 0.7);
    if (!ViewerPassword::Store(kPassword, &error))
        die(error.Text());
    WebServer server{WebSite::Options{}};
    if (!server.Listen(QHostAddress::LocalHost, 0, &error))
        die(error.Text());
    const quint16 port = server.Port();

    std::atomic<bool> done{false};
    std::vector<QByteArray> cookies(viewers);
    std::thread signer([&] {
        for (QByteArray& c : cookies)
            c = signIn(port);
        done = true;
    });
    serve(done);
    signer.join();
    // The first request of the day makes the page on the server's thread.
    QElapsedTimer first;
    first.start();
    done = false;
    std::thread opener([&] {
        if (request(port, get("/", cookies[0])) != 200)
            die(QStringLiteral("today's page failed"));
        done = true;
    });
    serve(done);
    opener.join();
    std::printf("今日, %d employees: first request of the day %.0f ms\n", employees,
                double(first.elapsed()));

    // The station: ten scans a second through the records library, on a
    // thread with its own connection (the arrivals of those not here yet).
    std::atomic<bool> stop{false};
    std::atomic<int> scans{0};
    std::thread station([&] {
        DbSession session = DbSession::OpenConfigured();
        for (int i = int(employees * 0.7); i < employees && !stop; ++i) {
            clsPresence p;
            p.setENUMBER(BenchData::NumberOf(i));
            if (p.Add(session) == clsPresence::Arrival)
                ++scans;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        clsDbConn::CloseShared();
    });
    std::vector<std::vector<double>> times(viewers);
    std::atomic<int> failures{0}, running{viewers};
    std::vector<std::thread> clients;
    for (int v = 0; v < viewers; ++v)
        clients.emplace_back([&, v] {
            QElapsedTimer run;
            run.start();
            while (run.elapsed() < seconds * 1000) {
                QElapsedTimer t;
                t.start();
                if (request(port, get("/", cookies[v])) != 200)
                    ++failures;
                times[v].push_back(t.nsecsElapsed() / 1e6);
            }
            --running;
        });
    std::atomic<bool> clientsDone{false};
    std::thread watcher([&] {
        while (running > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        clientsDone = true;
    });
    QElapsedTimer wall;
    wall.start();
    serve(clientsDone);
    const double elapsed = wall.elapsed() / 1000.0;
    for (std::thread& c : clients)
        c.join();
    watcher.join();
    stop = true;
    station.join();
    std::vector<double> all;
    for (const auto& t : times)
        all.insert(all.end(), t.begin(), t.end());
    char what[160];
    std::snprintf(what, sizeof what,
                  "今日, %d employees, %d viewers at once, %d scans meanwhile, %d failed",
                  employees, viewers, scans.load(), failures.load());
    report(what, all);
    std::printf("  %.0f pages a second\n", all.size() / elapsed);

    // The lists, made on the server's thread for each request.
    for (const char* path : {"/absent", "/missing"}) {
        std::vector<double> lists;
        done = false;
        std::thread asker([&] {
            for (int r = 0; r < 5; ++r) {
                QElapsedTimer t;
                t.start();
                if (request(port, get(path, cookies[0])) != 200)
                    die(QStringLiteral("%1 failed").arg(QString::fromLatin1(path)));
                lists.push_back(t.nsecsElapsed() / 1e6);
            }
            done = true;
        });
        serve(done);
        asker.join();
        std::snprintf(what, sizeof what, "%s, %d employees", path, employees);
        report(what, lists);
    }
    clsDbConn::CloseShared();
}

void month(int employees, int runs) {
    QTemporaryDir dir;
    Error error;
    if (!PrepareProgramDir(dir.path(), QStringLiteral("基准单位"), true, &error))
        die(error.Text());
    fill(employees, BenchData::kMonth, BenchData::kMonth.addMonths(1).addDays(-1),
         BenchData::kToday, 0);
    if (!ViewerPassword::Store(kPassword, &error))
        die(error.Text());
    WebServer server{WebSite::Options{}};
    if (!server.Listen(QHostAddress::LocalHost, 0, &error))
        die(error.Text());
    const quint16 port = server.Port();
    std::atomic<bool> done{false};
    std::vector<double> times, csv;
    std::thread client([&] {
        const QByteArray cookie = signIn(port);
        const QByteArray m = QByteArray::number(BenchData::kMonth.year()) + '-' +
                             QByteArray::number(BenchData::kMonth.month()).rightJustified(2, '0');
        for (int r = 0; r < runs; ++r) {
            QElapsedTimer t;
            t.start();
            if (request(port, get("/month?month=" + m, cookie)) != 200)
                die(QStringLiteral("month page failed"));
            times.push_back(t.nsecsElapsed() / 1e6);
            t.restart();
            if (request(port, get("/month.csv?month=" + m, cookie)) != 200)
                die(QStringLiteral("month CSV failed"));
            csv.push_back(t.nsecsElapsed() / 1e6);
        }
        done = true;
    });
    serve(done);
    client.join();
    char what[120];
    std::snprintf(what, sizeof what, "月度统计, %d employees x 31 days", employees);
    report(what, times);
    std::snprintf(what, sizeof what, "月度统计 CSV download, %d employees", employees);
    report(what, csv);
    clsDbConn::CloseShared();
}

} // namespace

int main(int argc, char** argv) {
    AppClock::UseSystemTimeZoneOnce();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    // Today is the benchmarks' Wednesday at 10:00, and time goes on from there.
    const qint64 shift = QDateTime(BenchData::kToday, QTime(10, 0)).toMSecsSinceEpoch() -
                         QDateTime::currentMSecsSinceEpoch();
    AppClock::setSource([shift] { return QDateTime::currentDateTime().addMSecs(shift); });
    today(quick ? 1000 : 10000, 50, quick ? 3 : 10);
    month(1000, quick ? 3 : 10);
    return 0;
}
