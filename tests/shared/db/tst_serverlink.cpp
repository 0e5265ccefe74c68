// Servers of the test's own (scripts/pg-server.sh): a standby promoted (a
// server that stops answering: tst_serverfaults).
#include "shared/db/DbSession.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsPresence.h"
#include "tests/common/TestProgramDir.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestServerLink : public QObject {
    Q_OBJECT

    QTemporaryDir m_root{"/tmp/att-link.XXXXXX"};
    QStringList m_started;

    // Runs the script for the server `name`: its output ("KEY=value" lines
    // of a started one, loaded into the environment), empty on failure.
    QString script(const QString& command, const QString& name, const QString& other = {}) {
        QProcess p;
        p.start(QStringLiteral(ATTENDANCE_SOURCE_DIR "/scripts/pg-server.sh"),
                QStringList{command, m_root.filePath(name)} +
                    (other.isEmpty() ? QStringList() : QStringList{m_root.filePath(other)}));
        p.waitForFinished(120000);
        const QString out = p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : "";
        if (command.startsWith(QLatin1String("start")))
            m_started << name;
        for (const QString& line : out.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("ATTENDANCE_TEST_PG_")))
                qputenv(line.section('=', 0, 0).toLatin1(), line.section('=', 1).toUtf8());
        return out;
    }
    static int serverPort() {
        QSqlQuery q(clsDbConn().GetDbConn());
        return q.exec("SELECT inet_server_port()") && q.next() ? q.value(0).toInt() : -1;
    }
    static bool prepare(TestProgramDir& dir) {
        return dir.init() && dir.addDept(1, "办公室") && dir.addEmployee("1001", "张三", "1001", 1);
    }

private slots:
    void initTestCase() {
        if (!QFileInfo::exists("/usr/lib/postgresql"))
            QSKIP("no PostgreSQL server installed (scripts/install-deps.sh)");
        // The clusters belong to the server's own user when run as root.
        QVERIFY(QFile::setPermissions(m_root.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ExeOwner | QFile::ExeOther));
        qputenv("ATTENDANCE_TEST_ENGINE", "postgresql");
    }

    void cleanupTestCase() {
        // A copy: script() adds the servers it starts to the list.
        const QStringList started = m_started;
        for (const QString& name : started)
            if (QFileInfo::exists(m_root.filePath(name)))
                script("stop", name);
    }

    // Standby named first: the connection lands on the primary; with the
    // primary gone and the standby promoted, the next scan lands on it.
    void standbyPromoted() {
        const QString primary = script("start", "primary");
        QVERIFY(!primary.isEmpty());
        TestProgramDir dir;
        QVERIFY2(prepare(dir), qPrintable(dir.lastError));
        const QString standby = script("start-standby", "standby", "primary");
        const auto portOf = [](const QString& env) {
            return env.section('\n', 0, 0).section(':', -1).toInt();
        };
        QVERIFY(!standby.isEmpty());
        QVERIFY(dir.setIni("ATTENDANCE", "DBSERVER",
                           QStringLiteral("127.0.0.1:%1, 127.0.0.1:%2")
                               .arg(portOf(standby))
                               .arg(portOf(primary))));
        clsDbConn::CloseShared();
        QCOMPARE(serverPort(), portOf(primary));

        script("stop", "primary");
        QVERIFY(!script("promote", "standby").isEmpty());
        clsPresence scan;
        scan.setENUMBER("1001");
        DbSession shared = DbSession::Borrow(clsDbConn().GetDbConn());
        QCOMPARE(scan.Add(shared), qint16(clsPresence::Arrival));
        QCOMPARE(serverPort(), portOf(standby));
    }
};

QTEST_GUILESS_MAIN(TestServerLink)
#include "tst_serverlink.moc"
