#include "bench/BenchData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstdio>

#include <algorithm>
#include <random>

namespace BenchData {

QString NumberOf(int i) {
    return QString::number(100001 + i);
}

QStringList Barcodes(int count) {
    std::mt19937_64 rng(42);
    QSet<QString> seen;
    QStringList list;
    while (list.size() < count) {
        const QString code =
            QStringLiteral("%1").arg(rng() % 900000000000000ULL + 100000000000000ULL);
        if (!seen.contains(code)) {
            seen.insert(code);
            list << code;
        }
    }
    return list;
}

QVector<QDate> HistoryDays(int count) {
    QVector<QDate> days;
    for (QDate d = kMonth.addDays(-1); days.size() < count; d = d.addDays(-1))
        if (d.dayOfWeek() <= 5)
            days.prepend(d);
    return days;
}

std::vector<double> MeasureEach(int runs, const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return times;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

bool BuildFile(const QString& path, bool rebuild,
               const std::function<bool(const QString&)>& build) {
    if (!rebuild && QFileInfo::exists(path))
        return true;
    QFile::remove(path);
    // Leftovers of earlier interrupted builds, then this run's own name.
    const QFileInfo target(path);
    for (const QString& stale :
         target.dir().entryList({target.fileName() + QStringLiteral(".building-*")}, QDir::Files))
        target.dir().remove(stale);
    const QString partial =
        path + QStringLiteral(".building-%1").arg(QCoreApplication::applicationPid());
    if (build(partial) && std::rename(QFile::encodeName(partial).constData(),
                                      QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(partial);
    return false;
}

} // namespace BenchData
