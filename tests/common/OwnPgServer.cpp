#include "tests/common/OwnPgServer.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>

OwnPgServer::OwnPgServer() : m_dir(m_root.filePath(QStringLiteral("server"))) {
    // The cluster belongs to the server's own user when run as root.
    QFile::setPermissions(m_root.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
}

OwnPgServer::~OwnPgServer() {
    if (!m_started)
        return;
    Unhang();
    run({QStringLiteral("stop"), m_dir});
}

QString OwnPgServer::Unavailable() {
    return QFileInfo::exists(QStringLiteral("/usr/lib/postgresql"))
               ? QString()
               : QStringLiteral("no PostgreSQL server installed (scripts/install-deps.sh)");
}

bool OwnPgServer::run(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ATTENDANCE_SOURCE_DIR "/scripts/pg-server.sh"), args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_error = QString::fromUtf8(p.readAllStandardError()).trimmed();
        return false;
    }
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QLatin1String("ATTENDANCE_TEST_PG_")))
            qputenv(line.section('=', 0, 0).toLatin1(), line.section('=', 1).toUtf8());
    return true;
}

bool OwnPgServer::Start() {
    // Durable: an immediate stop must not lose what was committed before it.
    m_started = run({QStringLiteral("start"), m_dir, QStringLiteral("--durable")});
    return m_started;
}

bool OwnPgServer::Halt(bool immediate) {
    return run({QStringLiteral("halt"), m_dir,
                immediate ? QStringLiteral("immediate") : QStringLiteral("fast")});
}

bool OwnPgServer::Resume() {
    return run({QStringLiteral("restart"), m_dir});
}

bool OwnPgServer::signal(int sig) {
    // The postmaster and its children; resuming also wakes a parent that
    // stopped itself meanwhile.
    const QString script =
        QStringLiteral("f=%1/data/postmaster.pid; [ -f $f ] || exit 0; "
                       "m=$(head -1 $f); kill -%2 $m $(pgrep -P $m)"
                       "; p=$(ps -o ppid= -p $m | tr -d ' ')"
                       "; [ \"$p\" -gt 1 ] && [ \"$(ps -o stat= -p $p | cut -c1)\" = T ]"
                       " && kill -CONT $p; true")
            .arg(m_dir)
            .arg(sig);
    return QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), script}) == 0;
}

bool OwnPgServer::Hang() {
    return signal(SIGSTOP);
}

bool OwnPgServer::Unhang() {
    return signal(SIGCONT);
}
