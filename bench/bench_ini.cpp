// Speed of the configuration file: the keys a program reads at start-up, and
// one key written, on a 2.75 MB attendance.ini (about 95,000 lines of GBK
// text in 80 groups; goal: reads under 50 ms, the write under 100 ms).
//
//   bench_ini [--runs N]
//
// Prints the best and worst of N runs (default 3) of each.
#include "shared/config/IniFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

QByteArray bigFile() {
    QString text;
    for (int i = 0; text.size() < 2155000; ++i) {
        if (i % 1200 == 0)
            text += QStringLiteral("[G%1]\r\n").arg(i / 1200);
        text += QStringLiteral("KEY%1=北京市第%1中学\r\n").arg(i);
    }
    return IniFile::ToAnsi(text + QStringLiteral("[DATA]\r\nPATH=/srv/att\r\n[OTHER]\r\nALP=123"
                                                 "\r\n[UNIT]\r\nUNITNAME=示范实验学校\r\n"));
}

double cpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Wall-clock and processor time, so a busy machine does not hide the figure.
void measure(const char* what, int runs, const std::function<void()>& f) {
    std::vector<double> ms, cpu;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const double c = cpuMs();
        f();
        cpu.push_back(cpuMs() - c);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("%-22s best %8.2f ms (cpu %8.2f), worst %8.2f ms (cpu %8.2f)\n", what,
                *std::min_element(ms.begin(), ms.end()), *std::min_element(cpu.begin(), cpu.end()),
                *std::max_element(ms.begin(), ms.end()), *std::max_element(cpu.begin(), cpu.end()));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int runs = 3;
    const QStringList args = app.arguments();
    if (const int i = args.indexOf(QStringLiteral("--runs")); i > 0 && i + 1 < args.size())
        runs = std::max(1, args[i + 1].toInt());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("attendance.ini"));
    const QByteArray bytes = bigFile();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return 1;
    f.close();
    std::printf("attendance.ini: %lld bytes\n", static_cast<long long>(bytes.size()));
    int n = 0;
    measure("30 reads at start-up", runs, [&] {
        for (const char* group : {"DATA", "OTHER", "UNIT", "MEMO", "LOGO", "ATTENDANCE"})
            for (const char* key : {"PATH", "ALP", "UNITNAME", "DSPSIZE", "DBSERVER"})
                n += IniFile(path).Read(QLatin1String(group), QLatin1String(key)).size();
    });
    measure("one key written", runs, [&] {
        n += IniFile(path).Write(QStringLiteral("UNIT"), QStringLiteral("UNITNAME"),
                                 QString::number(n));
    });
    return n > 0 ? 0 : 1;
}
