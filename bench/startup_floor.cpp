// The floor under the station's start-up: a Qt Widgets program that paints
// one window with a Chinese label and runs until it is ended. Each step is
// announced on the standard output with the monotonic clock, as
// bench_signdesk's own start-up child does.
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

void step(const char* name) {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    std::printf("STEP %s %lld\n", name, static_cast<long long>(t.tv_sec) * 1000000000 + t.tv_nsec);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    step("main");
    QApplication app(argc, argv);
    step("application");
    QLabel label(QStringLiteral("欢迎光临，上班喽"));
    label.setObjectName(QStringLiteral("floorWindow"));
    label.resize(468, 262);
    step("windows");
    label.show();
    QTimer::singleShot(0, &label, [] { step("painted"); });
    return QApplication::exec();
}
