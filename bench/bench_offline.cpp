// Speed of a station while the server is away: a scan greeted from the copy
// (the offline decision, the journal's commit and the photo decoded), and
// the replay of 1,000 journalled scans once the server is back. Needs the
// PostgreSQL test server (scripts/pg-server.sh: ATTENDANCE_TEST_PG_*).
// Goals: a scan <= 10 ms, the replay <= 5 s; --check exits non-zero when
// one is missed.
#include "shared/db/DbSession.h"
#include "shared/offline/OfflineStation.h"
#include "tests/common/TestProgramDir.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ATTENDANCE_TEST_ENGINE", "postgresql");
    QGuiApplication app(argc, argv);
    const bool check = app.arguments().contains(QStringLiteral("--check"));
    TestProgramDir fx;
    if (!fx.init() || !fx.addDept(1, QStringLiteral("教务处"))) {
        std::fprintf(stderr, "no test server: %s\n", qPrintable(fx.lastError));
        return 2;
    }
    const int n = 1000;
    const QByteArray photo = TestProgramDir::jpeg(7);
    for (int i = 0; i < n; ++i)
        fx.addEmployee(QStringLiteral("N%1").arg(i), QStringLiteral("员工%1").arg(i),
                       QStringLiteral("B%1").arg(i), 1, photo);
    QTemporaryDir dir;
    OfflineStation station(dir.path());
    const QDateTime t0(QDate(2026, 3, 2), QTime(8, 0));
    QElapsedTimer timer;
    timer.start();
    DbSession server = DbSession::OpenConfigured();
    station.Cache().Refresh(server, t0.date(), t0);
    const qint64 refreshMs = timer.elapsed();

    std::vector<double> scanMs;
    for (int i = 0; i < n; ++i) {
        timer.start();
        const OfflineStation::Greeting g =
            station.Scan(QStringLiteral("B%1").arg(i), t0.addSecs(i));
        QImage shown;
        shown.loadFromData(g.employee.photo);
        scanMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(scanMs.begin(), scanMs.end());
    timer.start();
    const JournalReplay::Result replay = station.Replay(server);
    const qint64 replayMs = timer.elapsed();
    const double median = scanMs[scanMs.size() / 2], worst = scanMs.back();
    std::printf("copy refresh (%d employees with photos): %lld ms\n", n, refreshMs);
    std::printf("offline scan: median %.2f ms, 99th %.2f ms, worst %.2f ms (goal <= 10)\n", median,
                scanMs[scanMs.size() * 99 / 100], worst);
    std::printf("replay of %d scans: %lld ms, %d recorded, %d left (goal <= 5000)\n", n, replayMs,
                replay.recorded, replay.left);
    const bool ok = median <= 10 && replayMs <= 5000 && replay.complete() &&
                    fx.rows(QStringLiteral("Presence")) == n;
    return check && !ok ? 1 : 0;
}
