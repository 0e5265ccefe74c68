// Speed of the record classes on a large database: 10,000 employees with
// 25 KB photos and 12.5 million presence rows (five years of working days).
// The database is built once under /tmp and reused while its layout version
// stays the same. --quick uses a small database for a smoke run.
//
// Prints: one sign-in (IsExist, then clsPresence::Add) against the same
// statements through the sqlite3 C API with the connection's settings,
// today's list, a month table of 1,000 employees and the whole employee set.
#include "bench/BenchData.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbSession.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployee.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "shared/records/clsEmployeeSet.h"
#include "shared/records/clsPresence.h"
#include "shared/records/clsPresenceSet.h"
#include "tests/common/TestProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace BenchData;

namespace {

// Change when the generated content changes, so an old cached file is rebuilt.
constexpr const char* kLayoutVersion = "v2";

constexpr Size kFull{"full", 10000, 25 * 1024, 1250, 1000, 2000, 1000};
constexpr Size kQuick{"quick", 2500, 25 * 1024, 40, 1000, 2000, 200};

[[noreturn]] void die(const std::string& message) {
    std::fprintf(stderr, "bench_records: %s\n", message.c_str());
    std::exit(1);
}

void check(sqlite3* db, int rc, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        die(std::string(what) + ": " + sqlite3_errmsg(db));
}

void exec(sqlite3* db, const std::string& sql) {
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
        const std::string text = msg ? msg : "?";
        sqlite3_free(msg);
        die(sql + ": " + text);
    }
}

struct Stmt {
    sqlite3_stmt* s = nullptr;
    Stmt(sqlite3* db, const char* sql) {
        check(db, sqlite3_prepare_v2(db, sql, -1, &s, nullptr), sql);
    }
    ~Stmt() { sqlite3_finalize(s); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
};

// "yyyy-MM-dd HH:mm:ss" without going through QString for millions of rows.
void timeText(char* out, const char* day, int secondsOfDay) {
    std::snprintf(out, 20, "%s %02d:%02d:%02d", day, secondsOfDay / 3600, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
}

void insertPresenceDay(Stmt& insert, sqlite3* db, const QDate& day, int employees,
                       std::mt19937& rng, bool withExit) {
    const QByteArray dayText = DbDateTime::DayText(day).toLatin1();
    char in[24];
    char out[24];
    for (int i = 0; i < employees; ++i) {
        const QByteArray number = NumberOf(i).toLatin1();
        timeText(in, dayText.constData(), 7 * 3600 + 30 * 60 + int(rng() % 5400));
        timeText(out, dayText.constData(), 17 * 3600 + int(rng() % 7200));
        sqlite3_bind_text(insert.s, 1, number.constData(), number.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.s, 2, in, -1, SQLITE_TRANSIENT);
        if (withExit && rng() % 50 != 0)
            sqlite3_bind_text(insert.s, 3, out, -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(insert.s, 3);
        check(db, sqlite3_step(insert.s), "insert presence");
        sqlite3_reset(insert.s);
    }
}

void build(const QString& file, const Size& size) {
    Error error;
    if (!DbCreator::Create(file, &error))
        die(error.Text().toStdString());
    sqlite3* db = nullptr;
    check(db, sqlite3_open(QFile::encodeName(file).constData(), &db), "open");
    exec(db, "PRAGMA journal_mode=OFF");
    exec(db, "PRAGMA synchronous=OFF");
    exec(db, "PRAGMA cache_size=-524288");
    // Indexes are dropped during the bulk load and made again afterwards
    // from their own statements, so the schema stays exactly the programs' one.
    std::vector<std::pair<std::string, std::string>> indexes;
    {
        Stmt q(db, "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL");
        while (sqlite3_step(q.s) == SQLITE_ROW)
            indexes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q.s, 0)),
                                 reinterpret_cast<const char*>(sqlite3_column_text(q.s, 1)));
    }
    for (const auto& index : indexes)
        exec(db, "DROP INDEX " + index.first);

    QElapsedTimer timer;
    timer.start();
    exec(db, "BEGIN");
    {
        Stmt dept(db, "INSERT INTO Dept(ID, DNAME) VALUES(?, ?)");
        for (int d = 1; d <= 20; ++d) {
            const QByteArray name = QStringLiteral("部门%1").arg(d).toUtf8();
            sqlite3_bind_int(dept.s, 1, d);
            sqlite3_bind_text(dept.s, 2, name.constData(), name.size(), SQLITE_TRANSIENT);
            check(db, sqlite3_step(dept.s), "insert dept");
            sqlite3_reset(dept.s);
        }
        Stmt emp(db, "INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, HEADIMG, ENTERDATE) "
                     "VALUES(?, ?, ?, ?, ?, ?)");
        const QStringList codes = Barcodes(size.employees);
        std::mt19937 rng(7);
        std::vector<unsigned char> photo(size_t(size.photoBytes));
        for (int i = 0; i < size.employees; ++i) {
            // Random bytes behind a JPEG start marker: photos do not compress.
            for (auto& b : photo)
                b = static_cast<unsigned char>(rng());
            photo[0] = 0xFF;
            photo[1] = 0xD8;
            const QByteArray number = NumberOf(i).toLatin1();
            const QByteArray code = codes[i].toLatin1();
            const QByteArray name = QStringLiteral("职工%1").arg(i).toUtf8();
            sqlite3_bind_int(emp.s, 1, 1 + i % 20);
            sqlite3_bind_text(emp.s, 2, number.constData(), number.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(emp.s, 3, code.constData(), code.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(emp.s, 4, name.constData(), name.size(), SQLITE_TRANSIENT);
            sqlite3_bind_blob(emp.s, 5, photo.data(), int(photo.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(emp.s, 6, "2015-09-01 00:00:00", -1, SQLITE_STATIC);
            check(db, sqlite3_step(emp.s), "insert employee");
            sqlite3_reset(emp.s);
        }

        Stmt presence(db, "INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) VALUES(?, ?, ?)");
        const QVector<QDate> days = HistoryDays(size.historyDays);
        for (int n = 0; n < days.size(); ++n) {
            insertPresenceDay(presence, db, days[n], size.employees, rng, true);
            if (n % 100 == 99)
                std::fprintf(stderr, "  %d of %d days of history...\n", n + 1, int(days.size()));
        }
        for (QDate d = kMonth; d.month() == kMonth.month(); d = d.addDays(1))
            if (d.dayOfWeek() <= 5)
                insertPresenceDay(presence, db, d, size.monthEmployees, rng, true);
        for (QDate d = kMonth.addMonths(1); d < kToday; d = d.addDays(1))
            if (d.dayOfWeek() <= 5)
                insertPresenceDay(presence, db, d, size.monthEmployees, rng, true);
        insertPresenceDay(presence, db, kToday, size.todayRecords, rng, false);
    }
    exec(db, "COMMIT");
    std::fprintf(stderr, "  rows written in %.1f s; indexing...\n", timer.elapsed() / 1000.0);
    for (const auto& index : indexes)
        exec(db, index.second);
    check(db, sqlite3_close(db), "close");
    // The load ran without syncing; flush it now, or the first measured
    // commits would pay for writing the whole file.
    QFile written(file);
    if (written.open(QIODevice::ReadWrite))
        ::fsync(written.handle());
    std::fprintf(stderr, "  database built in %.1f s\n", timer.elapsed() / 1000.0);
}

double median(std::vector<double> v) {
    return BenchData::Percentile(std::move(v), 0.5);
}

// Median milliseconds of `runs` calls of f.
double measure(int runs, const std::function<void()>& f) {
    return median(MeasureEach(runs, f));
}

// The statements of one sign-in (IsExist, then clsPresence::Add for an
// arrival or a departure) straight through the sqlite3 C API, on a
// connection with the settings clsDbConn gives its own.
class RawSignIn {
public:
    explicit RawSignIn(const QString& file) {
        check(m_db,
              sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, SQLITE_OPEN_READWRITE,
                              nullptr),
              "open");
        sqlite3_busy_timeout(m_db, clsDbConn::BusyTimeoutMs);
        for (const QString& pragma :
             DbDialect::SessionStatements(DbDialect::Engine::SQLite, clsDbConn::BusyTimeoutMs))
            exec(m_db, pragma.toUtf8().constData());
    }
    ~RawSignIn() { sqlite3_close(m_db); }

    // Prepares every statement each time, as a plain program would.
    int scan(const QByteArray& barcode, const QDateTime& now, std::vector<double>* lookupMs) {
        std::string number;
        QElapsedTimer lookup;
        lookup.start();
        {
            Stmt q(m_db, "SELECT Employee.ID, Employee.DID, Employee.ENUMBER, Employee.EBARCODE, "
                         "Employee.ENAME, Employee.ENTERDATE, Dept.DNAME, Employee.HEADIMG "
                         "FROM Employee, Dept WHERE Employee.DID = Dept.ID AND "
                         "Employee.EBARCODE = ? COLLATE NOCASE");
            sqlite3_bind_text(q.s, 1, barcode.constData(), barcode.size(), SQLITE_STATIC);
            if (sqlite3_step(q.s) != SQLITE_ROW)
                return 0;
            number = reinterpret_cast<const char*>(sqlite3_column_text(q.s, 2));
            volatile int bytes = sqlite3_column_bytes(q.s, 7);
            (void)bytes;
            (void)sqlite3_column_blob(q.s, 7);
        }
        lookupMs->push_back(lookup.nsecsElapsed() / 1e6);
        const QByteArray nowText = DbDateTime::ToText(now).toLatin1();
        const QByteArray start = DbDateTime::DayStart(now.date()).toLatin1();
        const QByteArray end = DbDateTime::DayEnd(now.date()).toLatin1();
        exec(m_db, "BEGIN IMMEDIATE");
        int state = 1;
        {
            Stmt q(m_db, "SELECT ENTERTIME, EXITTIME FROM Presence WHERE ENUMBER = ? AND "
                         "ENTERTIME >= ? AND ENTERTIME < ? LIMIT 1");
            sqlite3_bind_text(q.s, 1, number.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(q.s, 2, start.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(q.s, 3, end.constData(), -1, SQLITE_STATIC);
            if (sqlite3_step(q.s) == SQLITE_ROW)
                state = sqlite3_column_type(q.s, 1) != SQLITE_NULL ? 3 : 2;
        }
        if (state == 1) {
            Stmt q(m_db, "INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES(?, ?)");
            sqlite3_bind_text(q.s, 1, number.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(q.s, 2, nowText.constData(), -1, SQLITE_STATIC);
            check(m_db, sqlite3_step(q.s), "insert");
        } else if (state == 2) {
            Stmt q(m_db, "UPDATE Presence SET EXITTIME = ? WHERE ENUMBER = ? AND ENTERTIME >= ? "
                         "AND ENTERTIME < ?");
            sqlite3_bind_text(q.s, 1, nowText.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(q.s, 2, number.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(q.s, 3, start.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(q.s, 4, end.constData(), -1, SQLITE_STATIC);
            check(m_db, sqlite3_step(q.s), "update");
        }
        exec(m_db, state <= 2 ? "COMMIT" : "ROLLBACK");
        return state;
    }

    void removeSignIns(const QDateTime& from) {
        const QByteArray text = DbDateTime::ToText(from).toLatin1();
        Stmt q(m_db, "DELETE FROM Presence WHERE ENTERTIME >= ?");
        sqlite3_bind_text(q.s, 1, text.constData(), -1, SQLITE_STATIC);
        check(m_db, sqlite3_step(q.s), "delete");
    }

private:
    sqlite3* m_db = nullptr;
};

// The disk's floor for a durable commit.
double fsyncMs(const QString& dir) {
    QFile f(dir + QStringLiteral("/fsync-probe"));
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    const double ms = measure(20, [&] {
        f.write("x", 1);
        f.flush();
        ::fsync(f.handle());
    });
    f.close();
    f.remove();
    return ms;
}

void printFigure(const char* what, double ms, double goalMs) {
    std::printf("%-48s %9.3f ms   (goal < %g ms: %s)\n", what, ms, goalMs,
                ms < goalMs ? "met" : "MISSED");
}

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const Size& size = args.contains(QStringLiteral("--quick")) ? kQuick : kFull;
    const bool rebuild = args.contains(QStringLiteral("--rebuild"));

    const QString dir =
        QStringLiteral("%1/attendance-bench-%2-%3")
            .arg(QDir::tempPath(), QLatin1String(kLayoutVersion), QLatin1String(size.name));
    const QString file = dir + QStringLiteral("/vorerur.dat");
    QDir().mkpath(dir);
    if (rebuild || !QFileInfo::exists(file))
        std::fprintf(stderr, "building %s (%d employees, %d working days)...\n", qPrintable(file),
                     size.employees, size.historyDays);
    else
        std::fprintf(stderr, "reusing %s (--rebuild makes it anew)\n", qPrintable(file));
    BuildFile(file, rebuild, [&](const QString& partial) {
        build(partial, size);
        return true; // build() ends the program on any failure
    });

    // A program directory whose configuration names the benchmark database.
    Error error;
    if (!PrepareProgramDir(dir, QString(), false, &error))
        die(qPrintable(error.Text()));

    const QDateTime signInTime(kToday, kSignInTime);
    RawSignIn raw(file);
    raw.removeSignIns(signInTime); // leftovers of an interrupted run

    qint64 presenceRows = 0;
    const int employees = size.employees;
    const QStringList codes = Barcodes(employees);
    {
        QSqlDatabase db = clsDbConn().GetDbConn();
        if (!db.isValid())
            die("the record classes cannot open the database");
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM Presence")) && q.next())
            presenceRows = q.value(0).toLongLong();
    }
    std::printf("database: %s, %.0f MB, %d employees with %d KB photos, %lld presence rows\n",
                qPrintable(file), QFileInfo(file).size() / 1e6, employees, size.photoBytes / 1024,
                presenceRows);

    std::printf("TZ %s\n", qEnvironmentVariableIsSet("TZ")
                               ? qPrintable(QStringLiteral("= ") + qEnvironmentVariable("TZ"))
                               : "unset (each local date-time made checks /etc/localtime)");
    AppClock::setFixed(signInTime);

    // Today's list.
    DbSession session = DbSession::OpenConfigured();
    int todayCount = 0;
    const double today = measure(20, [&] {
        clsPresenceSet set;
        if (!set.LoadToday(session))
            die("LoadToday failed");
        todayCount = set.Count();
    });
    char label[96];
    std::snprintf(label, sizeof label, "today's list, LoadToday (%d records)", todayCount);
    printFigure(label, today, 20.0);

    // Month table of the month that 1,000 employees have records in.
    int monthCount = 0;
    const double month = measure(10, [&] {
        clsEmployeePresenceSet set;
        if (!set.LoadByDate(session, QDateTime(kMonth, QTime(0, 0)),
                            QDateTime(kMonth.addMonths(1).addDays(-1), QTime(0, 0))))
            die("LoadByDate failed");
        monthCount = set.Count();
    });
    std::snprintf(label, sizeof label, "month table, LoadByDate (%d employees)", monthCount);
    printFigure(label, month, 500.0);

    // The whole employee set.
    int setCount = 0;
    const double all = measure(10, [&] {
        clsEmployeeSet set(session);
        set.LoadSet();
        setCount = set.Count();
    });
    std::snprintf(label, sizeof label, "employee set, LoadSet (%d employees)", setCount);
    printFigure(label, all, 300.0);

    // Sign-ins: arrivals of employees without a record today at a fixed
    // clock, then their departures two minutes later, alternating between
    // the record classes and the raw statements on different employees.
    const int n = size.signIns;
    std::vector<double> classArrive, classLeave, rawArrive, rawLeave, classLookup, rawLookup;
    const int firstEmployee = size.todayRecords; // nobody from here on has a record today
    auto classScan = [&](int i) {
        clsEmployee e(session);
        e.setEBARCODE(codes[i]);
        QElapsedTimer lookup;
        lookup.start();
        if (e.IsExist() != clsEmployee::Lookup::Found)
            die("IsExist did not find " + codes[i].toStdString());
        classLookup.push_back(lookup.nsecsElapsed() / 1e6);
        clsPresence p;
        p.setENUMBER(e.ENUMBER());
        return p.Add(session);
    };
    for (int pass = 0; pass < 2; ++pass) {
        AppClock::setFixed(signInTime.addSecs(pass * 120));
        const QDateTime now = AppClock::now();
        for (int k = 0; k < n; ++k) {
            const int i = firstEmployee + 2 * k;
            QElapsedTimer t;
            t.start();
            const int result = classScan(i);
            const double classMs = t.nsecsElapsed() / 1e6;
            const QByteArray code = codes[i + 1].toLatin1();
            t.restart();
            const int state = raw.scan(code, now, &rawLookup);
            const double rawMs = t.nsecsElapsed() / 1e6;
            if (result != pass + 1 || state != pass + 1)
                die("unexpected sign-in result " + std::to_string(result) + "/" +
                    std::to_string(state));
            (pass == 0 ? classArrive : classLeave).push_back(classMs);
            (pass == 0 ? rawArrive : rawLeave).push_back(rawMs);
        }
    }
    AppClock::setFixed(signInTime);
    std::vector<double> classAll = classArrive, rawAll = rawArrive;
    classAll.insert(classAll.end(), classLeave.begin(), classLeave.end());
    rawAll.insert(rawAll.end(), rawLeave.begin(), rawLeave.end());

    printFigure("sign-in, IsExist + clsPresence::Add (median)", median(classAll), 1.0);
    std::printf("  arrival %.3f ms, departure %.3f ms, over %d scans each\n", median(classArrive),
                median(classLeave), n);
    std::printf("  same statements via sqlite3 C API: %.3f ms (arrival %.3f, departure %.3f)\n",
                median(rawAll), median(rawArrive), median(rawLeave));
    std::printf("  of which the look-up (IsExist): %.3f ms, via C API %.3f ms\n",
                median(classLookup), median(rawLookup));
    std::printf("  one fsync in the database folder: %.3f ms (each commit with a rollback\n"
                "  journal and synchronous=FULL waits for several)\n",
                fsyncMs(dir));
    const double ratio = median(classAll) / median(rawAll);
    std::printf("  ratio record classes / C API: %.2fx   (goal <= 1.5x: %s)\n", ratio,
                ratio <= 1.5 ? "met" : "MISSED");

    clsDbConn::CloseShared();
    raw.removeSignIns(signInTime);
    AppClock::reset();
    return 0;
}
