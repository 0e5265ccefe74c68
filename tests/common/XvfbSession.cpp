#include "tests/common/XvfbSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>

namespace {

const char kNoXvfb[] = "ATTENDANCE_TEST_NO_XVFB";

// A helper process must not outlive the test program, even when the test
// program is killed by a time-out.
void endWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

void stop(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill(), process.waitForFinished(5000);
}

int runAsChild(QProcess& xvfb) {
    // -displayfd: the server picks a free display number and writes it once
    // it accepts connections.
    endWithParent(xvfb);
    xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    xvfb.setStandardErrorFile(QProcess::nullDevice());
    xvfb.start(QStringLiteral("Xvfb"),
               QStringLiteral("-displayfd 1 -nolisten tcp -screen 0 1024x768x24").split(' '));
    QByteArray number;
    QElapsedTimer waited;
    waited.start();
    while (!number.contains('\n') && waited.elapsed() < 20000 && xvfb.waitForReadyRead(20000))
        number += xvfb.readAllStandardOutput();
    number = number.trimmed();
    if (number.isEmpty()) {
        qWarning("Xvfb did not start");
        return 1;
    }

    QProcess child;
    endWithParent(child);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(number));
    env.remove(QStringLiteral("XAUTHORITY"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    if (!child.waitForStarted(20000)) {
        qWarning("the test program could not be started again");
        return 1;
    }
    child.waitForFinished(-1);
    if (child.exitStatus() != QProcess::NormalExit) {
        qWarning("the test program under Xvfb crashed");
        return 1;
    }
    return child.exitCode();
}

// Runs xdotool while this program's event loop goes on, so the keys are
// read as they arrive and the loop is not held up by the test itself.
bool xdotool(const QStringList& args) {
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start(QStringLiteral("xdotool"), args);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
           process.error() == QProcess::UnknownError;
}

} // namespace

int RunUnderXvfb(int argc, char** argv, const std::function<int(int, char**)>& runTests) {
    if (qgetenv("QT_QPA_PLATFORM") == "xcb")
        return runTests(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        qputenv(kNoXvfb, "1");
        return runTests(argc, argv);
    }
    int status = 1;
    {
        QCoreApplication app(argc, argv);
        QProcess xvfb;
        status = runAsChild(xvfb);
        stop(xvfb);
    }
    return status;
}

QString XcbUnavailableReason() {
    if (qEnvironmentVariableIsSet(kNoXvfb))
        return QStringLiteral("Xvfb is not installed (scripts/install-deps.sh installs it)");
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        return QStringLiteral("needs the xcb platform");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed (scripts/install-deps.sh installs it)");
    return QString();
}

bool XScan(const QString& text, const QString& endKey) {
    return xdotool({"type", "--delay", "2", text}) && XPressKey(endKey);
}

bool XPressKey(const QString& keyName) {
    return xdotool({QStringLiteral("key"), keyName});
}
