// Server connections against servers of their own (scripts/pg-server.sh):
// a server that stops answering, a clock that differs, a standby promoted.
#include "shared/db/clsDbConn.h"
#include "shared/records/clsPresence.h"
#include "tests/common/TestProgramDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QString Script = QStringLiteral(ATTENDANCE_SOURCE_DIR "/scripts/pg-server.sh");

bool serverInstalled() {
    return !QDir(QStringLiteral("/usr/lib/postgresql"))
                .entryList({QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot)
                .isEmpty();
}

// Runs the script; its standard output, or a null string on failure.
QString script(const QStringList& args) {
    QProcess p;
    p.start(Script, args);
    p.waitForFinished(120000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning().noquote() << p.readAllStandardError();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The postmaster of a cluster folder and its children.
QList<pid_t> serverProcesses(const QString& dir) {
    QFile pidFile(dir + QStringLiteral("/data/postmaster.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return {};
    const pid_t master = pid_t(pidFile.readLine().trimmed().toInt());
    QList<pid_t> all{master};
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        // "pid (name) state ppid ...": the parent follows the closing bracket.
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray line = stat.readAll();
            const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (rest.size() > 1 && rest[1].toInt() == master)
                all << pid_t(entry.toInt());
        }
    }
    return all;
}

void signalAll(const QList<pid_t>& pids, int sig) {
    for (pid_t pid : pids)
        ::kill(pid, sig);
}

} // namespace

class TestServerLink : public QObject {
    Q_OBJECT

    QTemporaryDir m_root{QStringLiteral("/tmp/att-link.XXXXXX")};
    QStringList m_started;

    // Starts a server in `name` under the root; "host:port", or empty.
    QString start(const QString& name) {
        const QString dir = m_root.filePath(name);
        const QString out = script({QStringLiteral("start"), dir});
        m_started << dir;
        for (const QString& line : out.split(QLatin1Char('\n'))) {
            const QString key = line.section(QLatin1Char('='), 0, 0);
            if (key.startsWith(QLatin1String("ATTENDANCE_TEST_PG_")))
                qputenv(key.toLatin1(), line.section(QLatin1Char('='), 1).toUtf8());
        }
        return out.isEmpty() ? QString() : qEnvironmentVariable("ATTENDANCE_TEST_PG_SERVER");
    }

private slots:
    void initTestCase() {
        if (!serverInstalled())
            QSKIP("no PostgreSQL server installed (scripts/install-deps.sh)");
        QVERIFY(m_root.isValid());
        // The clusters belong to the server's own user when run as root.
        QFile::setPermissions(m_root.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ExeGroup |
                                                 QFile::ExeOther);
        qputenv("ATTENDANCE_TEST_ENGINE", "postgresql");
    }

    void cleanupTestCase() {
        for (const QString& dir : m_started)
            script({QStringLiteral("stop"), dir});
    }

    // A scan on a server that stopped answering fails within a few seconds
    // instead of waiting for the server; the next one fails at once.
    void stoppedServer() {
        QVERIFY(!start(QStringLiteral("stopped")).isEmpty());
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        QVERIFY(dir.addDept(1, QStringLiteral("办公室")));
        QVERIFY(dir.addEmployee(QStringLiteral("1001"), QStringLiteral("张三"),
                                QStringLiteral("1001"), 1));
        clsPresence scan;
        scan.setENUMBER(QStringLiteral("1001"));
        QCOMPARE(scan.Add(), qint16(clsPresence::Arrival));

        const QList<pid_t> server = serverProcesses(m_started.last());
        QVERIFY(server.size() > 1);
        signalAll(server, SIGSTOP);
        QElapsedTimer timer;
        timer.start();
        const qint16 stopped = scan.Add();
        const qint64 firstMs = timer.restart();
        const qint16 again = scan.Add();
        const qint64 againMs = timer.elapsed();
        signalAll(server, SIGCONT);
        qInfo("stopped server: first scan failed after %lld ms, the next after %lld ms", firstMs,
              againMs);
        QVERIFY(stopped < 0 && again < 0);
        QVERIFY(firstMs < 6000 && againMs < 1000);

        // Opened anew, the answering server takes the scan again.
        clsDbConn::CloseShared();
        QVERIFY(scan.Add() > 0);
    }
};

QTEST_GUILESS_MAIN(TestServerLink)
#include "tst_serverlink.moc"
