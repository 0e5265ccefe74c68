// Speed of the record classes on a PostgreSQL server: 10,000 employees with
// 25 KB photos and 12.5 million presence rows (five years of working days),
// the same data as bench_records holds in its file. The database is filled
// on the server with a few INSERT ... SELECT statements and reused while its
// layout version stays the same (--rebuild fills it anew). --quick uses a
// small database for a smoke run; --check exits non-zero when a goal is missed.
//
// Measures through the record classes and the shared connection: one
// sign-in (IsExist, then clsPresence::Add), today's list, a month table of
// 1,000 employees, and eight stations scanning at once: the program runs
// itself eight times with --station, each a station scanning a card every
// 50 ms; afterwards every scan's result and every written row are checked
// against the sign-in rule.
//
// The server: --server HOST[:PORT] --user U --password P, else the
// variables ATTENDANCE_TEST_PG_SERVER, _USER (default postgres) and
// _PASSWORD that scripts/pg-server.sh writes. bench_server.sh starts a
// throw-away durable server with it.
#include "bench/BenchData.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConDbSet.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCatalog.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbSettings.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployee.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "shared/records/clsPresence.h"
#include "shared/records/clsPresenceSet.h"
#include "tests/common/TestProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace BenchData;

namespace {

// Change when the generated content changes, so an old database is refilled.
constexpr const char* kLayoutVersion = "attendance-bench v2";

constexpr Size kFull{"full", 10000, 25 * 1024, 1250, 1000, 2000, 300, 20};
constexpr Size kQuick{"quick", 2500, 25 * 1024, 40, 1000, 2000, 100, 5};

constexpr int kStations = 8;
constexpr int kScanMs = 50;   // one scan per station every 50 ms
constexpr int kSlotSecs = 30; // the stations' clock moves 30 s per scan
constexpr int kStationSeed = 13;

// The stations scan on the day after today, which holds no records.
const QDateTime kStationStart(kToday.addDays(1), QTime(7, 0, 0));

[[noreturn]] void die(const QString& message) {
    std::fprintf(stderr, "bench_server: %s\n", qPrintable(message));
    std::exit(2);
}

QString argValue(const QStringList& args, const char* name, const QString& fallback = {}) {
    const qsizetype i = args.indexOf(QLatin1String(name));
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

void run(QSqlDatabase db, const QString& sql, const QVariantList& params = {}) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    bool ok = true;
    if (params.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        for (const QVariant& v : params)
            q.addBindValue(v);
        ok = ok && q.exec();
    }
    if (!ok)
        die(sql.left(200) + QStringLiteral(": ") + q.lastError().text());
}

QVariant firstValue(QSqlDatabase db, const QString& sql, const QVariantList& params = {}) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        die(sql + QStringLiteral(": ") + q.lastError().text());
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec())
        die(sql + QStringLiteral(": ") + q.lastError().text());
    return q.next() ? q.value(0) : QVariant();
}

QSqlDatabase openServer(DbSettings settings, const QString& database, const QString& name,
                        bool requireTables) {
    settings.database = database;
    Error why;
    QSqlDatabase db = clsDbConn::OpenServer(settings, name, &why, requireTables);
    if (!db.isValid())
        die(why.Text());
    return db;
}

// A named connection of its own, closed and dropped at the end of its scope
// (queries on it must end first: declare them after it).
class ServerConn {
public:
    ServerConn(const DbSettings& settings, const QString& database, const QString& name,
               bool requireTables)
        : m_name(name), m_db(openServer(settings, database, name, requireTables)) {}
    ServerConn(const ServerConn&) = delete;
    ServerConn& operator=(const ServerConn&) = delete;
    QSqlDatabase db() const { return m_db; }

private:
    ScopedConnection m_name;
    QSqlDatabase m_db;
};

// Working days from `first` to `last` with `employees` employees each, in
// the order a station writes them (day by day). Times are random: arrivals
// 07:30-09:00, departures 17:00-19:00 (2 % without one) when `withExit`.
void fillDays(QSqlDatabase db, const QDate& first, const QDate& last, int employees,
              bool withExit) {
    const QString time = QStringLiteral("to_char(d + (%1 + floor(random() * %2)) * interval "
                                        "'1 second', 'YYYY-MM-DD HH24:MI:SS')");
    const QString exit = withExit ? QStringLiteral("CASE WHEN random() >= 0.02 THEN %1 END")
                                        .arg(time.arg(17 * 3600).arg(7200))
                                  : QStringLiteral("NULL");
    run(db,
        QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) "
                       "SELECT (100001 + e)::text, %1, %2 "
                       "FROM generate_series(?::timestamp, ?::timestamp, interval '1 day') AS d, "
                       "generate_series(0, ?::int - 1) AS e "
                       "WHERE extract(isodow FROM d) <= 5 ORDER BY d, e")
            .arg(time.arg(7 * 3600 + 30 * 60).arg(5400), exit),
        {DbDateTime::DayText(first), DbDateTime::DayText(last), employees});
}

void fill(QSqlDatabase db, const Size& size) {
    QElapsedTimer timer;
    timer.start();
    // The tables without their indexes; the programs' own indexes follow
    // the rows, as a bulk copy makes them.
    Error error;
    run(db, QStringLiteral("BEGIN"));
    if (!DbCreator::AddTables(db, &error, false))
        die(QStringLiteral("tables not created: ") + error.Text());
    run(db, QStringLiteral("COMMIT"));
    run(db, QStringLiteral("SET work_mem = '512MB'"));
    run(db, QStringLiteral("SET maintenance_work_mem = '1GB'"));

    run(db, QStringLiteral("BEGIN"));
    for (int d = 1; d <= 20; ++d)
        run(db, QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
            {d, QStringLiteral("部门%1").arg(d)});
    if (!clsDbConn::KeysWritten(db, DbCatalog::Dept()))
        die(QStringLiteral("department keys not set"));
    {
        QSqlQuery emp(db);
        if (!emp.prepare(QStringLiteral("INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, "
                                        "HEADIMG, ENTERDATE) VALUES(?, ?, ?, ?, ?, ?)")))
            die(emp.lastError().text());
        const QStringList codes = Barcodes(size.employees);
        std::mt19937 rng(7);
        QByteArray photo(size.photoBytes, '\0');
        for (int i = 0; i < size.employees; ++i) {
            // Random bytes behind a JPEG start marker: photos do not compress.
            for (char& b : photo)
                b = static_cast<char>(rng());
            photo[0] = char(0xFF);
            photo[1] = char(0xD8);
            emp.addBindValue(1 + i % 20);
            emp.addBindValue(NumberOf(i));
            emp.addBindValue(codes[i]);
            emp.addBindValue(QStringLiteral("职工%1").arg(i));
            emp.addBindValue(photo);
            emp.addBindValue(QStringLiteral("2015-09-01 00:00:00"));
            if (!emp.exec())
                die(QStringLiteral("employee: ") + emp.lastError().text());
        }
    }
    run(db, QStringLiteral("COMMIT"));
    std::fprintf(stderr, "  %d employees in %.1f s\n", size.employees, timer.elapsed() / 1000.0);

    // History in chunks of about 125 days, so progress shows.
    const QVector<QDate> days = HistoryDays(size.historyDays);
    for (qsizetype from = 0; from < days.size(); from += 125) {
        const qsizetype to = std::min(days.size(), from + 125) - 1;
        fillDays(db, days[from], days[to], size.employees, true);
        std::fprintf(stderr, "  %d of %d days of history (%.1f s)\n", int(to + 1), int(days.size()),
                     timer.elapsed() / 1000.0);
    }
    fillDays(db, kMonth, kMonth.addMonths(1).addDays(-1), size.monthEmployees, true);
    fillDays(db, kMonth.addMonths(1), kToday.addDays(-1), size.monthEmployees, true);
    fillDays(db, kToday, kToday, size.todayRecords, false);
    std::fprintf(stderr, "  rows written in %.1f s; indexing...\n", timer.elapsed() / 1000.0);
    if (!DbCreator::AddIndexes(db, &error))
        die(QStringLiteral("indexes not made: ") + error.Text());
    // Hint bits and the visibility map are set now rather than by the
    // first measured reads; the planner gets its statistics.
    run(db, QStringLiteral("VACUUM ANALYZE"));
    std::fprintf(stderr, "  database filled in %.1f s\n", timer.elapsed() / 1000.0);
}

// Creates (or reuses) the benchmark's database on the server.
void prepareDatabase(const DbSettings& settings, const Size& size, bool rebuild) {
    const QString name = settings.database;
    const QString marker = QStringLiteral("%1 %2 complete").arg(kLayoutVersion, size.name);
    {
        ServerConn admin(settings, QStringLiteral("postgres"), QStringLiteral("bench-admin"),
                         false);
        const QString comment =
            firstValue(admin.db(),
                       QStringLiteral("SELECT shobj_description(oid, 'pg_database') FROM "
                                      "pg_database WHERE datname = ?"),
                       {name})
                .toString();
        if (!rebuild && comment == marker) {
            std::fprintf(stderr, "reusing database %s (--rebuild fills it anew)\n",
                         qPrintable(name));
            return;
        }
        run(admin.db(), QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        run(admin.db(), QStringLiteral("CREATE DATABASE %1").arg(name));
    }
    std::fprintf(stderr, "filling database %s (%d employees, %d working days)...\n",
                 qPrintable(name), size.employees, size.historyDays);
    ServerConn conn(settings, name, QStringLiteral("bench-fill"), false);
    fill(conn.db(), size);
    run(conn.db(), QStringLiteral("COMMENT ON DATABASE %1 IS '%2'").arg(name, marker));
}

double median(const std::vector<double>& v) {
    return BenchData::Percentile(v, 0.5);
}

// One scan at a station: the card's look-up, then the sign-in rule.
int scan(DbSession& session, const QString& code) {
    clsEmployee e(session);
    e.setEBARCODE(code);
    if (e.IsExist() != clsEmployee::Lookup::Found)
        return -9;
    clsPresence p;
    p.setENUMBER(e.ENUMBER());
    return p.Add(session);
}

// The eight stations' scans: which employee (or -1) each station scans in
// each 50 ms slot. Cards are spread over all employees. An employee arrives
// at one station; a few scan twice at once (nothing the second time), a few
// cards are scanned at the same moment at two stations, and the departure
// (at least 10 minutes of the stations' clock later) may be at any station,
// as may a scan after the departure. Scans of one card at different
// stations are in the same slot or at least ten slots apart, so their order
// is known even when a station falls behind.
using Plan = std::vector<std::vector<int>>;

Plan makePlan(int slotCount, int employees) {
    Plan plan(kStations, std::vector<int>(size_t(slotCount), -1));
    std::mt19937 rng(kStationSeed);
    std::vector<int> cards(static_cast<size_t>(employees));
    for (int i = 0; i < employees; ++i)
        cards[size_t(i)] = i;
    std::shuffle(cards.begin(), cards.end(), rng);
    const auto pct = [&rng](int p) { return int(rng() % 100) < p; };
    const auto other = [&rng](int s) { return (s + 1 + int(rng() % (kStations - 1))) % kStations; };
    size_t next = 0;
    for (int failures = 0; failures < 50000 && next < cards.size();) {
        std::vector<std::pair<int, int>> scans; // station, slot
        const int a = int(rng() % unsigned(slotCount - 30));
        const int sa = int(rng() % kStations);
        scans.emplace_back(sa, a);
        if (pct(15))
            scans.emplace_back(sa, a + 1);
        if (pct(10))
            scans.emplace_back(other(sa), a);
        if (!pct(5)) {
            const int d = a + 20 + int(rng() % unsigned(slotCount - a - 20));
            const int sd = int(rng() % kStations);
            scans.emplace_back(sd, d);
            if (pct(10))
                scans.emplace_back(other(sd), d);
            if (d + 10 < slotCount && pct(10))
                scans.emplace_back(int(rng() % kStations),
                                   d + 10 + int(rng() % unsigned(slotCount - d - 10)));
        }
        const bool free = std::all_of(scans.begin(), scans.end(), [&](const auto& s) {
            return plan[size_t(s.first)][size_t(s.second)] < 0;
        });
        if (!free) {
            ++failures;
            continue;
        }
        for (const auto& s : scans)
            plan[size_t(s.first)][size_t(s.second)] = cards[next];
        ++next;
    }
    // Slots still free: cards scanned once only (no departure).
    for (auto& station : plan)
        for (int& cell : station)
            if (cell < 0 && next < cards.size())
                cell = cards[next++];
    return plan;
}

QDateTime slotTime(int slot) {
    return kStationStart.addSecs(qint64(slot) * kSlotSecs);
}

// A station of the eight-station run (a child process): scans its part of
// the plan from `startMs` (milliseconds since the epoch) on and prints one
// line per scan: slot, milliseconds, result.
int runStation(int station, int slotCount, int employees, qint64 startMs, bool waitForDisk) {
    const Plan plan = makePlan(slotCount, employees);
    const QStringList codes = Barcodes(employees);
    DbSession session = DbSession::OpenConfigured();
    // Connected and warmed up before the common start, as a running station is.
    AppClock::setFixed(slotTime(0));
    clsEmployee warm(session);
    warm.setEBARCODE(codes[0]);
    if (warm.IsExist() != clsEmployee::Lookup::Found)
        die(QStringLiteral("station %1 cannot look up a card").arg(station));
    if (!waitForDisk) {
        QSqlQuery q(clsDbConn().GetDbConn());
        if (!q.exec(QStringLiteral("SET synchronous_commit = off")))
            die(q.lastError().text());
    }
    std::vector<std::pair<int, std::pair<double, int>>> results;
    for (int k = 0; k < slotCount; ++k) {
        const int emp = plan[size_t(station)][size_t(k)];
        if (emp < 0)
            continue;
        std::this_thread::sleep_until(std::chrono::system_clock::time_point(
            std::chrono::milliseconds(startMs + qint64(k) * kScanMs)));
        AppClock::setFixed(slotTime(k));
        QElapsedTimer t;
        t.start();
        const int state = scan(session, codes[emp]);
        results.push_back({k, {t.nsecsElapsed() / 1e6, state}});
    }
    clsDbConn::CloseShared();
    for (const auto& r : results)
        std::printf("%d %.4f %d\n", r.first, r.second.first, r.second.second);
    return 0;
}

struct StationReport {
    std::vector<double> latencies;
    int scans = 0;
    int errors = 0;         // results other than 1-4, or a station that failed
    int wrongResults = 0;   // cards whose results differ from the rule's
    int expectedWrites = 0; // arrivals and departures the rule asks for
    int lostWrites = 0;     // of those, not in the database as they should be
    int extraRows = 0;      // rows the rule did not ask for
};

// The rule's results for each card, in slot order: arrival on the first
// scan of the day, departure on a scan more than 60 s after the arrival,
// nothing within 60 s of it or after the departure.
struct Expected {
    std::vector<int> results; // sorted
    QString enter, exit;
};

std::map<int, Expected> expectedOf(const Plan& plan, int slotCount) {
    std::map<int, Expected> out;
    std::map<int, int> arrival, departure;
    for (int k = 0; k < slotCount; ++k)
        for (int s = 0; s < kStations; ++s) {
            const int emp = plan[size_t(s)][size_t(k)];
            if (emp < 0)
                continue;
            Expected& e = out[emp];
            int r;
            if (!arrival.count(emp)) {
                r = 1;
                arrival[emp] = k;
                e.enter = DbDateTime::ToText(slotTime(k));
            } else if (departure.count(emp)) {
                r = 3;
            } else if ((k - arrival[emp]) * kSlotSecs <= clsPresence::RepeatSeconds) {
                r = 4;
            } else {
                r = 2;
                departure[emp] = k;
                e.exit = DbDateTime::ToText(slotTime(k));
            }
            e.results.push_back(r);
        }
    for (auto& [emp, e] : out)
        std::sort(e.results.begin(), e.results.end());
    return out;
}

StationReport runStations(const DbSettings& settings, const QString& dir, const Size& size,
                          bool waitForDisk) {
    const int slotCount = size.stationSeconds * 1000 / kScanMs;
    const Plan plan = makePlan(slotCount, size.employees);
    const qint64 startMs = QDateTime::currentMSecsSinceEpoch() + 3000;
    std::vector<std::unique_ptr<QProcess>> children;
    for (int s = 0; s < kStations; ++s) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--station"), QString::number(s), QStringLiteral("--dir"), dir,
                  QStringLiteral("--slots"), QString::number(slotCount),
                  QStringLiteral("--employees"), QString::number(size.employees),
                  QStringLiteral("--start"), QString::number(startMs),
                  waitForDisk ? QStringLiteral("--wait") : QStringLiteral("--no-wait")});
        children.push_back(std::move(p));
    }
    StationReport report;
    std::map<int, std::vector<int>> seen;
    for (auto& p : children) {
        if (!p->waitForFinished(size.stationSeconds * 1000 + 120000) ||
            p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0) {
            ++report.errors;
            p->kill();
            p->waitForFinished();
        }
    }
    for (int s = 0; s < kStations; ++s) {
        const QList<QByteArray> lines = children[size_t(s)]->readAllStandardOutput().split('\n');
        for (const QByteArray& line : lines) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() != 3)
                continue;
            const int k = f[0].toInt();
            const int state = f[2].toInt();
            ++report.scans;
            report.latencies.push_back(f[1].toDouble());
            if (state < 1 || state > 4)
                ++report.errors;
            seen[plan[size_t(s)][size_t(k)]].push_back(state);
        }
    }

    // Every card's results and its row against the rule.
    const std::map<int, Expected> expected = expectedOf(plan, slotCount);
    QHash<QString, std::pair<QString, QString>> rows;
    {
        ServerConn conn(settings, settings.database, QStringLiteral("bench-check"), true);
        QSqlQuery q(conn.db());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT ENUMBER, ENTERTIME, EXITTIME FROM Presence WHERE "
                                 "ENTERTIME >= ? AND ENTERTIME < ?"));
        q.addBindValue(DbDateTime::DayStart(kStationStart.date()));
        q.addBindValue(DbDateTime::DayEnd(kStationStart.date()));
        if (!q.exec())
            die(q.lastError().text());
        while (q.next()) {
            const QString number = q.value(0).toString();
            if (rows.contains(number))
                ++report.extraRows;
            rows.insert(number,
                        {q.value(1).toString(), q.isNull(2) ? QString() : q.value(2).toString()});
        }
    }
    for (const auto& [emp, e] : expected) {
        std::vector<int> got = seen[emp];
        std::sort(got.begin(), got.end());
        if (got != e.results)
            ++report.wrongResults;
        const auto row = rows.take(NumberOf(emp));
        report.expectedWrites += e.exit.isEmpty() ? 1 : 2;
        if (row.first != e.enter)
            ++report.lostWrites;
        if (!e.exit.isEmpty() && row.second != e.exit)
            ++report.lostWrites;
    }
    report.extraRows += int(rows.size());
    return report;
}

struct Figure {
    QString what;
    double goalMs;
    double ms;
};

void removeSignIns(const DbSettings& settings, const QDateTime& from) {
    ServerConn conn(settings, settings.database, QStringLiteral("bench-clean"), true);
    run(conn.db(), QStringLiteral("DELETE FROM Presence WHERE ENTERTIME >= ?"),
        {DbDateTime::ToText(from)});
}

// Gives the database the sign-in function, or takes it away as from a
// database made before it, with tables the login does not own (so the
// programs use the statements and do not make it again).
void setSignInFunction(const DbSettings& settings, bool present) {
    clsDbConn::CloseShared();
    ServerConn conn(settings, settings.database, QStringLiteral("bench-function"), true);
    if (present) {
        run(conn.db(), QStringLiteral("ALTER TABLE Presence OWNER TO CURRENT_USER"));
        run(conn.db(), DbDialect::SignInFunctionStatement(DbDialect::Engine::PostgreSQL));
        return;
    }
    run(conn.db(), QStringLiteral("DROP FUNCTION IF EXISTS attendance_sign_in"));
    run(conn.db(), QStringLiteral("DO $$ BEGIN CREATE ROLE attendance_bench_owner; EXCEPTION "
                                  "WHEN duplicate_object THEN NULL; END $$"));
    run(conn.db(), QStringLiteral("ALTER TABLE Presence OWNER TO attendance_bench_owner"));
}

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.contains(QStringLiteral("--station"))) {
        SetProgramDirectory(argValue(args, "--dir"));
        return runStation(argValue(args, "--station").toInt(), argValue(args, "--slots").toInt(),
                          argValue(args, "--employees").toInt(),
                          argValue(args, "--start").toLongLong(),
                          !args.contains(QStringLiteral("--no-wait")));
    }

    const Size& size = args.contains(QStringLiteral("--quick")) ? kQuick : kFull;
    DbSettings settings;
    settings.engine = DbSettings::Engine::PostgreSQL;
    settings.server = argValue(args, "--server", qEnvironmentVariable("ATTENDANCE_TEST_PG_SERVER"));
    settings.user =
        argValue(args, "--user",
                 qEnvironmentVariable("ATTENDANCE_TEST_PG_USER", QStringLiteral("postgres")));
    settings.password =
        argValue(args, "--password", qEnvironmentVariable("ATTENDANCE_TEST_PG_PASSWORD"));
    settings.database = QStringLiteral("attendance_bench_%1").arg(QLatin1String(size.name));
    if (settings.server.isEmpty())
        die(QStringLiteral("no server: pass --server HOST[:PORT] or set "
                           "ATTENDANCE_TEST_PG_SERVER (bench_server.sh starts one)"));
    prepareDatabase(settings, size, args.contains(QStringLiteral("--rebuild")));

    // A program directory whose configuration names the benchmark database.
    const QString dir = QStringLiteral("%1/attendance-bench-server-%2")
                            .arg(QDir::tempPath(), QLatin1String(size.name));
    QDir().mkpath(dir);
    Error error;
    if (!PrepareProgramDir(dir, QString(), false, &error))
        die(error.Text());
    {
        clsConfiguration cfg;
        cfg.setFileName(clsConfiguration::DefaultFileName());
        cfg.setGroup(QStringLiteral("DATA"));
        clsConDbSet server;
        server.setServer(settings.server);
        server.setLoginName(settings.user);
        server.setLoginPwd(settings.password);
        server.setdbName(settings.database);
        if (!cfg.SetItem(QStringLiteral("ENGINE"), QStringLiteral("postgresql")) || !server.Save())
            die(QStringLiteral("cannot write attendance.ini"));
    }

    const QDateTime signInTime(kToday, kSignInTime);
    removeSignIns(settings, signInTime); // leftovers of an interrupted run
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid())
        die(QStringLiteral("the record classes cannot open the database"));
    {
        QSqlQuery q(db);
        if (!q.exec(
                QStringLiteral("SELECT COUNT(*), pg_size_pretty(pg_database_size("
                               "current_database())), current_setting('fsync'), "
                               "current_setting('synchronous_commit'), version() FROM Presence")) ||
            !q.next())
            die(q.lastError().text());
        std::printf("database %s on %s: %s, %d employees with %d KB photos, %lld presence rows\n"
                    "fsync=%s synchronous_commit=%s; %s\n",
                    qPrintable(settings.database), qPrintable(settings.server),
                    qPrintable(q.value(1).toString()), size.employees, size.photoBytes / 1024,
                    q.value(0).toLongLong(), qPrintable(q.value(2).toString()),
                    qPrintable(q.value(3).toString()),
                    qPrintable(q.value(4).toString().section(QLatin1Char(' '), 0, 1)));
    }
    std::vector<Figure> figures;

    // What every statement costs at least: one round trip, and a statement
    // as DbQuery runs it (prepared, executed, released).
    double roundTrip = 0;
    {
        QSqlQuery ping(db);
        roundTrip = median(MeasureEach(200, [&] { ping.exec(QStringLiteral("SELECT 1")); }));
    }
    DbSession session = DbSession::OpenConfigured();
    const double statement = median(MeasureEach(200, [&session] {
        if (!DbQuery::Read(session, QStringLiteral("SELECT ?"), {1}))
            die(QStringLiteral("SELECT failed"));
    }));

    AppClock::setFixed(signInTime);
    int todayCount = 0;
    const double today = median(MeasureEach(20, [&] {
        clsPresenceSet set;
        if (!set.LoadToday(session))
            die(QStringLiteral("LoadToday failed"));
        todayCount = set.Count();
    }));
    figures.push_back(
        {QStringLiteral("today's list, LoadToday (%1 records)").arg(todayCount), 20, today});

    int monthCount = 0;
    const double month = median(MeasureEach(10, [&] {
        clsEmployeePresenceSet set;
        if (!set.LoadByDate(session, QDateTime(kMonth, QTime(0, 0)),
                            QDateTime(kMonth.addMonths(1).addDays(-1), QTime(0, 0))))
            die(QStringLiteral("LoadByDate failed"));
        monthCount = set.Count();
    }));
    figures.push_back(
        {QStringLiteral("month table, LoadByDate (%1 employees)").arg(monthCount), 500, month});

    // Sign-ins: arrivals of employees without a record today, then their
    // departures two minutes later; each way in turn (the statements as on
    // a database without the function, then the server's function), each
    // on cards of its own.
    const QStringList codes = Barcodes(size.employees);
    const auto signInRun = [&](int firstCard, std::vector<double>& arrive,
                               std::vector<double>& leave) {
        for (int pass = 0; pass < 2; ++pass) {
            AppClock::setFixed(signInTime.addSecs(pass * 120));
            for (int k = 0; k < size.signIns; ++k) {
                QElapsedTimer t;
                t.start();
                const int result = scan(session, codes[firstCard + k]);
                (pass == 0 ? arrive : leave).push_back(t.nsecsElapsed() / 1e6);
                if (result != pass + 1)
                    die(QStringLiteral("unexpected sign-in result %1").arg(result));
            }
        }
    };
    std::vector<double> arriveOld, leaveOld, arrive, leave;
    db = QSqlDatabase();
    setSignInFunction(settings, false);
    signInRun(size.todayRecords + 2 * size.signIns, arriveOld, leaveOld);
    setSignInFunction(settings, true);
    db = clsDbConn().GetDbConn();
    signInRun(size.todayRecords, arrive, leave);
    std::vector<double> signIns = arrive;
    signIns.insert(signIns.end(), leave.begin(), leave.end());
    std::vector<double> signInsOld = arriveOld;
    signInsOld.insert(signInsOld.end(), leaveOld.begin(), leaveOld.end());
    figures.push_back(
        {QStringLiteral("sign-in, IsExist + clsPresence::Add (median)"), 2, median(signIns)});
    figures.push_back(
        {QStringLiteral("sign-in, one station (p99)"), 20, BenchData::Percentile(signIns, 0.99)});
    // The floor under every sign-in: a write whose commit waits for the
    // server's disk, and the same without that wait. The sign-ins once more
    // without it (this session only) show what the statements themselves cost.
    const auto writeOne = [&] {
        if (DbQuery::Exec(db,
                          QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES(?, ?)"),
                          {QStringLiteral("commit-probe"), DbDateTime::ToText(signInTime)}) != 1)
            die(QStringLiteral("the probe row was not written"));
    };
    const double commit = median(MeasureEach(50, writeOne));
    double commitNoWait = 0;
    std::vector<double> noWait;
    {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SET synchronous_commit = off"));
        commitNoWait = median(MeasureEach(50, writeOne));
        for (int pass = 0; pass < 2; ++pass) {
            AppClock::setFixed(signInTime.addSecs(pass * 120));
            for (int k = size.signIns; k < 2 * size.signIns; ++k) {
                QElapsedTimer t;
                t.start();
                if (scan(session, codes[size.todayRecords + k]) != pass + 1)
                    die(QStringLiteral("unexpected sign-in result"));
                noWait.push_back(t.nsecsElapsed() / 1e6);
            }
        }
        q.exec(QStringLiteral("SET synchronous_commit = on"));
    }
    // One station alone at the stations' pace, a card every 50 ms: the floor
    // under the eight stations' figures on this machine, whose processors
    // idle between scans and wake for each.
    std::vector<double> paced;
    for (int pass = 0; pass < 2; ++pass) {
        AppClock::setFixed(signInTime.addSecs(pass * 120));
        for (int k = 0; k < size.signIns / 2; ++k) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kScanMs));
            QElapsedTimer t;
            t.start();
            if (scan(session, codes[size.todayRecords + 3 * size.signIns + k]) != pass + 1)
                die(QStringLiteral("unexpected sign-in result"));
            paced.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    db = QSqlDatabase();
    clsDbConn::CloseShared();
    AppClock::reset();
    removeSignIns(settings, signInTime);
    std::fprintf(stderr, "eight stations for %d s, the statements...\n", size.stationSeconds);
    setSignInFunction(settings, false);
    const StationReport old = runStations(settings, dir, size, true);
    removeSignIns(settings, signInTime);
    setSignInFunction(settings, true);
    std::fprintf(stderr, "eight stations for %d s, the server's function...\n",
                 size.stationSeconds);
    const StationReport st = runStations(settings, dir, size, true);
    figures.push_back({QStringLiteral("8 stations, every sign-in (p99 of %1)").arg(st.scans), 5,
                       BenchData::Percentile(st.latencies, 0.99)});
    figures.push_back(
        {QStringLiteral("8 stations, every sign-in (median)"), 2, median(st.latencies)});
    removeSignIns(settings, signInTime);
    // The same without waiting for the disk: what is left is the statements
    // and the machine's load.
    std::fprintf(stderr, "eight stations for %d s, commits not waiting for the disk...\n",
                 size.stationSeconds);
    const StationReport noDisk = runStations(settings, dir, size, false);
    removeSignIns(settings, signInTime);
    setSignInFunction(settings, false);
    const StationReport noDiskOld = runStations(settings, dir, size, false);
    removeSignIns(settings, signInTime);
    setSignInFunction(settings, true);
    std::printf("\n%-46s %10s %12s\n", "figure", "goal", "result");
    bool met = true;
    for (const Figure& f : figures) {
        const bool ok = f.ms < f.goalMs;
        met = met && ok;
        std::printf("%-46s %7g ms %9.3f ms  %s\n", qPrintable(f.what), f.goalMs, f.ms,
                    ok ? "met" : "MISSED");
    }
    const auto lost = [](const StationReport& r) {
        return r.errors != 0 || r.wrongResults != 0 || r.lostWrites != 0 || r.extraRows != 0 ||
               r.scans == 0;
    };
    const bool nothingLost = !lost(st) && !lost(old);
    met = met && nothingLost;
    std::printf("%-46s %10s %12s  %s\n", "8 stations, nothing lost (both ways)", "0 lost",
                qPrintable(QStringLiteral("%1 lost").arg(st.lostWrites + old.lostWrites)),
                nothingLost ? "met" : "MISSED");
    std::printf("\n  one sign-in, function: arrival %.3f ms, departure %.3f ms; statements: "
                "arrival %.3f ms, departure %.3f ms (median of %d each)\n",
                median(arrive), median(leave), median(arriveOld), median(leaveOld), size.signIns);
    std::printf("  one sign-in p99: function %.3f ms, statements %.3f ms\n",
                BenchData::Percentile(signIns, 0.99), BenchData::Percentile(signInsOld, 0.99));
    std::printf("  one round trip (SELECT 1) %.3f ms; one statement via DbQuery %.3f ms\n",
                roundTrip, statement);
    std::printf("  one INSERT committed: %.3f ms waiting for the disk, %.3f ms without;\n"
                "  a sign-in without that wait (synchronous_commit=off) %.3f ms median,\n"
                "  p99 %.3f ms\n",
                commit, commitNoWait, median(noWait), BenchData::Percentile(noWait, 0.99));
    std::printf("  one station alone, a card every %d ms: median %.3f ms, p99 %.3f ms\n", kScanMs,
                median(paced), BenchData::Percentile(paced, 0.99));
    for (const auto& [way, r] :
         {std::pair<const char*, const StationReport*>{"statements", &old}, {"function", &st}})
        std::printf("  8 stations [%s]: %d scans, median %.3f ms, p99 %.3f ms, max %.3f ms;\n"
                    "  %d writes asked for by the rule, %d missing or wrong, %d rows too many,\n"
                    "  %d cards with results other than the rule's, %d failed scans or "
                    "stations\n",
                    way, r->scans, median(r->latencies), BenchData::Percentile(r->latencies, 0.99),
                    BenchData::Percentile(r->latencies, 1.0), r->expectedWrites, r->lostWrites,
                    r->extraRows, r->wrongResults, r->errors);
    for (const auto& [way, r] :
         {std::pair<const char*, const StationReport*>{"statements", &noDiskOld},
          {"function", &noDisk}})
        std::printf("  8 stations [%s], commits not waiting for the disk: median %.3f ms, "
                    "p99 %.3f ms,\n  max %.3f ms (%d lost)\n",
                    way, median(r->latencies), BenchData::Percentile(r->latencies, 0.99),
                    BenchData::Percentile(r->latencies, 1.0), r->lostWrites);
    return args.contains(QStringLiteral("--check")) && !met ? 1 : 0;
}
