#pragma once

#include <QDate>
#include <QStringList>
#include <QTime>
#include <QVector>

#include <functional>
#include <vector>

// What the record benchmarks (file and server) fill and measure alike.
namespace BenchData {

// The benchmarks' fixed "today" (a Wednesday): the history ends with April,
// May is the month of 1,000 employees, and today has its own records.
inline const QDate kToday(2026, 6, 10);
inline const QDate kMonth(2026, 5, 1);
inline const QTime kSignInTime(9, 0, 0);

// How big a benchmark database is and how much is measured on it.
struct Size {
    const char* name;
    int employees;
    int photoBytes;
    int historyDays; // working days of history, all employees present
    int monthEmployees;
    int todayRecords;
    int signIns;            // arrivals, then as many departures
    int stationSeconds = 0; // length of the eight-station run (server only)
};

// The employee number of the i-th employee.
QString NumberOf(int i);
// `count` distinct 15-digit card barcodes, the same on every run.
QStringList Barcodes(int count);
// The last `count` working days before kMonth, oldest first.
QVector<QDate> HistoryDays(int count);
// Milliseconds of each of `runs` calls of f.
std::vector<double> MeasureEach(int runs, const std::function<void()>& f);
// The value below which the share `p` of the values lies (0.5: the median).
double Percentile(std::vector<double> values, double p);

// Makes `path` with `build` unless it exists (or `rebuild`): `build` writes a
// temporary name beside it, which is renamed to `path` only when `build`
// returned true, so an interrupted build is never taken for a finished one.
// False when the build failed (nothing is left then).
bool BuildFile(const QString& path, bool rebuild, const std::function<bool(const QString&)>& build);

} // namespace BenchData
