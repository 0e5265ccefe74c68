// Speed and memory of the month summary: MonthSummary::Load of 1,000 and of
// 10,000 employees with a record on each of the 31 days of a month (plus the
// days around it), and the spreadsheet of the 1,000 employees' month. The
// databases are SQLite files built in a temporary folder on each run.
//
// --quick: the 1,000 employees alone. Prints the median of the runs and the process's peak
// memory (VmHWM).
#include "bench/BenchData.h"
#include "reports/summary/SummaryXlsx.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/clsDbConn.h"
#include "tests/common/TestProgramDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <random>

namespace {

const QDate kMonth(2026, 5, 1);
const QDate kToday(2026, 6, 10);

[[noreturn]] void die(const QString& message) {
    std::fprintf(stderr, "bench_summary: %s\n", qPrintable(message));
    std::exit(1);
}

// Employees in 20 departments, one record a day from the day before the
// month to the day after it, arrivals around 08:00, departures around 17:00.
void fill(int employees) {
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
    for (QDate day = kMonth.addDays(-1); day <= kMonth.addDays(31); day = day.addDays(1))
        for (int i = 0; i < employees; ++i) {
            const QDateTime start(day, QTime(8, 0).addSecs(jitter(random) * 60));
            q.addBindValue(BenchData::NumberOf(i));
            q.addBindValue(DbDateTime::ToText(start));
            q.addBindValue(DbDateTime::ToText(start.addSecs(9 * 3600 + jitter(random) * 60)));
            if (!q.exec())
                die(QStringLiteral("cannot insert records"));
        }
    if (!tx.Commit())
        die(tx.Error().Text());
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The median wall-clock time of `runs` calls; in *cpu the median processor
// time (the machine may be shared: the processor time is what the code costs).
double medianMs(int runs, const std::function<void()>& f, double* cpu) {
    std::vector<double> cpus;
    const double wall =
        BenchData::Percentile(BenchData::MeasureEach(runs,
                                                     [&] {
                                                         const double start = cpuMs();
                                                         f();
                                                         cpus.push_back(cpuMs() - start);
                                                     }),
                              0.5);
    *cpu = BenchData::Percentile(cpus, 0.5);
    return wall;
}

long peakKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void measure(int employees, bool spreadsheet) {
    QTemporaryDir dir;
    Error error;
    if (!PrepareProgramDir(dir.path(), QStringLiteral("基准单位"), true, &error))
        die(error.Text());
    fill(employees);
    MonthSummary summary;
    DbSession db = DbSession::OpenConfigured();
    const auto load = [&] {
        if (!MonthSummary::Load(db, kMonth.year(), kMonth.month(), kToday, &summary))
            die(QStringLiteral("MonthSummary::Load failed"));
    };
    double cpu = 0;
    const double wall = medianMs(5, load, &cpu);
    std::printf("MonthSummary::Load, %d employees x 31 days: %.1f ms, processor %.1f ms (medians "
                "of 5)\n",
                employees, wall, cpu);
    if (spreadsheet) {
        int n = 0;
        const double ms = medianMs(
            5,
            [&] {
                if (!SummaryXlsx::Write(summary, QStringLiteral("基准单位"),
                                        dir.filePath(QStringLiteral("s%1.xlsx").arg(++n)), &error))
                    die(error.Text());
            },
            &cpu);
        std::printf("SummaryXlsx::Write, %d employees' month: %.1f ms, processor %.1f ms (medians "
                    "of 5), %lld bytes\n",
                    employees, ms, cpu,
                    QFile(dir.filePath(QStringLiteral("s1.xlsx"))).size() + 0LL);
    }
    clsDbConn::CloseShared();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool quick = argc > 1 && qstrcmp(argv[1], "--quick") == 0;
    measure(1000, true);
    if (!quick)
        measure(10000, false);
    std::printf("peak memory (VmHWM): %.1f MB\n", peakKb() / 1024.0);
    return 0;
}
