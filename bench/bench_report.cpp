// Speed of the monthly attendance report: 1,000 employees with a record on
// every day of a 31-day month (31,000 presence rows).
//
//   bench_report [--runs N]
//
// Measures, each over N runs (default 3), best and worst:
//   - the month table load, the page layout and the PDF file, together
//     (goal: under 3 s) and each on its own,
//   - the preview window from its creation to its first page painted
//     (goal: under 1 s),
// and the peak memory of the process (goal: under 300 MB). The PDF file is
// also measured in processor time (goal: under 500 ms). With BENCH_KEEP_PDF
// set to a file name, the last run's PDF is copied there (to compare the
// output of two builds).
#include "report/ReportDocument.h"
#include "report/ReportPainter.h"
#include "report/ReportPreview.h"
#include "reports/month/EmployeeMonthReport.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbSession.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "tests/common/TestProgramDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <time.h>

namespace {

constexpr int kEmployees = 1'000;
constexpr int kYear = 2009;
constexpr int kMonth = 12; // 31 days

void say(const char* format, auto... args) {
    std::printf(format, args...);
    std::fflush(stdout);
}

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

bool fill(TestProgramDir& dir) {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.transaction() || !dir.addDept(1, QStringLiteral("教务处")))
        return false;
    QSqlQuery employee(db);
    employee.prepare(QStringLiteral(
        "INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, ENTERDATE) VALUES(1, ?, ?, ?, ?)"));
    QSqlQuery presence(db);
    presence.prepare(
        QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) VALUES(?, ?, ?)"));
    for (int i = 0; i < kEmployees; ++i) {
        const QString number = QString::number(10'000 + i);
        employee.addBindValue(number);
        employee.addBindValue(QString::number(500'000'000'000'000LL + i));
        employee.addBindValue(QStringLiteral("员工%1").arg(i, 4, 10, QLatin1Char('0')));
        employee.addBindValue(QStringLiteral("2009-01-01 00:00:00"));
        if (!employee.exec())
            return false;
        for (int d = 1; d <= 31; ++d) {
            const QDate day(kYear, kMonth, d);
            presence.addBindValue(number);
            presence.addBindValue(DbDateTime::ToText(QDateTime(day, QTime(7, 30 + (i + d) % 30))));
            presence.addBindValue(DbDateTime::ToText(QDateTime(day, QTime(17, (i * d) % 60))));
            if (!presence.exec())
                return false;
        }
    }
    return db.commit();
}

// Processor time of this process: steadier than the wall clock on a shared
// machine.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Span {
    double best = 1e18, worst = 0;
    void add(double ms) {
        best = std::min(best, ms);
        worst = std::max(worst, ms);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 3;
    const QStringList args = app.arguments();
    if (const int i = args.indexOf(QStringLiteral("--runs")); i > 0 && i + 1 < args.size())
        runs = std::max(1, args[i + 1].toInt());

    TestProgramDir dir;
    if (!dir.init() || !fill(dir)) {
        say("cannot set up the database: %s\n", qPrintable(dir.lastError));
        return 1;
    }
    say("database: %d employees, %d presence rows; setup peak %ld MB\n", kEmployees,
        dir.count(QStringLiteral("SELECT COUNT(*) FROM Presence")), peakMegabytes());

    Span total, load, layout, pdf, pdfCpu, preview;
    int pages = 0;
    qint64 bytes = 0;
    DbSession session = DbSession::OpenConfigured();
    for (int run = 0; run < runs; ++run) {
        const QString file = dir.file(QStringLiteral("report%1.pdf").arg(run));
        QElapsedTimer clock;
        clock.start();
        clsEmployeePresenceSet table;
        if (!EmployeeMonthReport::LoadMonthTable(session, kYear, kMonth, table)) {
            say("month table not loaded\n");
            return 1;
        }
        const double tLoad = clock.nsecsElapsed() / 1e6;
        EmployeeMonthReport report;
        report.setSchoolName(QStringLiteral("第一实验中学"));
        report.setYear(kYear);
        report.setMonth(kMonth);
        report.setMonthTable(&table);
        const ReportDocument doc = ReportDocument::Run(report);
        const double tLayout = clock.nsecsElapsed() / 1e6;
        Error error;
        const double cpuBefore = cpuMs();
        if (!ReportPainter::WritePdfFile(doc, file, false, &error)) {
            say("PDF not written: %s\n", qPrintable(error.Text()));
            return 1;
        }
        const double tPdf = clock.nsecsElapsed() / 1e6;
        pdfCpu.add(cpuMs() - cpuBefore);
        load.add(tLoad);
        layout.add(tLayout - tLoad);
        pdf.add(tPdf - tLayout);
        total.add(tPdf);
        pages = doc.PageCount();
        bytes = QFileInfo(file).size();
        if (const QString keep = qEnvironmentVariable("BENCH_KEEP_PDF"); !keep.isEmpty()) {
            QFile::remove(keep);
            QFile::copy(file, keep);
        }

        // The preview: from its creation to the first page painted on screen.
        clock.restart();
        ReportPreview window(doc);
        QWidget* canvas = window.findChild<QWidget*>(QStringLiteral("pageCanvas"));
        bool painted = false;
        struct PaintWatch : QObject {
            bool* flag;
            explicit PaintWatch(bool* f) : flag(f) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint)
                    *flag = true;
                return false;
            }
        } watch(&painted);
        if (!canvas) {
            say("no page canvas in the preview\n");
            return 1;
        }
        canvas->installEventFilter(&watch);
        window.show();
        while (!painted && clock.elapsed() < 30'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::processEvents();
        preview.add(clock.nsecsElapsed() / 1e6);
        canvas->removeEventFilter(&watch);
    }

    say("report: %d pages, PDF %lld KB\n", pages, bytes / 1024);
    say("load + layout + PDF:  best %7.0f ms  worst %7.0f ms  (goal < 3000 ms)\n", total.best,
        total.worst);
    say("  month table load:   best %7.0f ms  worst %7.0f ms\n", load.best, load.worst);
    say("  page layout:        best %7.0f ms  worst %7.0f ms\n", layout.best, layout.worst);
    say("  PDF file:           best %7.0f ms  worst %7.0f ms\n", pdf.best, pdf.worst);
    say("  PDF file, processor: best %7.0f ms  worst %7.0f ms\n", pdfCpu.best, pdfCpu.worst);
    say("preview first page:   best %7.0f ms  worst %7.0f ms  (goal < 1000 ms)\n", preview.best,
        preview.worst);
    say("peak memory: %ld MB (goal < 300 MB)\n", peakMegabytes());
    const bool ok = total.worst < 3000 && preview.worst < 1000 && peakMegabytes() < 300;
    say("%s\n", ok ? "all goals met" : "GOAL MISSED");
    return ok ? 0 : 1;
}
