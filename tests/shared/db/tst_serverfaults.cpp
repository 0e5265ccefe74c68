// A server of the test's own (scripts/pg-server.sh) going away at each step
// of a scan: stopped fast, stopped at once, hung (the postmaster and its
// children stopped). Every call returns, failing, within a bound; once the
// server is back the next call succeeds on a new connection.
#include "shared/base/AppClock.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployee.h"
#include "shared/records/clsPresence.h"
#include "tests/common/OwnPgServer.h"
#include "tests/common/TestProgramDir.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QtTest>

namespace {

// Far above the 3 s a scan's statement or connection attempt may wait, far
// below a wait without end: a bound, not a speed goal.
constexpr qint64 BoundMs = 6000;

enum class Fault { Fast, Immediate, Hung };
enum class Step { Connect, Fresh, LookUp, BeforeWrite, Commit };

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Step)

class TestServerFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<OwnPgServer> m_server;

    bool breakServer(Fault fault) {
        switch (fault) {
        case Fault::Fast:
            return m_server->Halt(false);
        case Fault::Immediate:
            return m_server->Halt(true);
        case Fault::Hung:
            return m_server->Hang();
        }
        return false;
    }
    bool mendServer(Fault fault) {
        if (fault != Fault::Hung)
            return m_server->Resume();
        m_server->Unhang();
        // A connection cut for not answering is not opened anew for a while.
        AppClock::advance(StatementWatchdog::HoldOffMs);
        return true;
    }
    static int backend() {
        auto q = DbQuery::Read("SELECT pg_backend_pid()", {});
        return q && q->next() ? q->value(0).toInt() : -1;
    }
    static clsEmployee::Lookup lookUp() {
        DbSession shared = DbSession::Borrow(clsDbConn().GetDbConn());
        clsEmployee e(shared);
        e.setEBARCODE("1001");
        return e.IsExist();
    }
    static qint16 scan() {
        clsPresence p;
        p.setENUMBER("1001");
        // On the shared connection, which the faults break, as a program's
        // main session is.
        DbSession shared = DbSession::Borrow(clsDbConn().GetDbConn());
        return p.Add(shared);
    }
    // A scan's write, the server going away between its begin and commit.
    static bool commit(const std::function<void()>& between) {
        const StatementWatchdog::Quick quick;
        DbTransaction tx(DbTransaction::Mode::Immediate);
        const bool wrote = tx.Exec("UPDATE Employee SET ENAME = ? WHERE ENUMBER = ?",
                                   {QStringLiteral("张三"), QStringLiteral("1001")}) == 1;
        between();
        return tx.Commit() && wrote;
    }

private slots:
    void initTestCase() {
        if (const QString why = OwnPgServer::Unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        qputenv("ATTENDANCE_TEST_ENGINE", "postgresql");
        m_server = std::make_unique<OwnPgServer>();
        QVERIFY2(m_server->Start(), qPrintable(m_server->Error()));
    }

    void cleanupTestCase() { m_server.reset(); }

    void serverGone_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<Step>("step");
        const std::pair<const char*, Fault> faults[] = {{"stopped fast", Fault::Fast},
                                                        {"stopped immediately", Fault::Immediate},
                                                        {"hung", Fault::Hung}};
        const std::pair<const char*, Step> steps[] = {
            {"connecting", Step::Connect},
            {"fresh connection", Step::Fresh},
            {"look-up", Step::LookUp},
            {"between look-up and write", Step::BeforeWrite},
            {"commit", Step::Commit}};
        for (const auto& [faultName, fault] : faults)
            for (const auto& [stepName, step] : steps)
                QTest::addRow("%s, %s", faultName, stepName) << fault << step;
    }

    void serverGone() {
        QFETCH(Fault, fault);
        QFETCH(Step, step);
        TestProgramDir dir;
        QVERIFY2(dir.init() && dir.addDept(1, "办公室") &&
                     dir.addEmployee("1001", "张三", "1001", 1),
                 qPrintable(dir.lastError));
        AppClock::setFixed(QDateTime::currentDateTime());
        clsDbConn::CloseShared();
        const int before = step == Step::Connect ? -1 : backend();
        QVERIFY(step == Step::Connect || before > 0);

        // Each step goes as far as a scan goes before the server leaves;
        // `between` runs where the server may go away. 1 for success, -1
        // for the call's error result, 0 for anything else (a card not found).
        if (step == Step::LookUp || step == Step::BeforeWrite)
            QCOMPARE(lookUp(), clsEmployee::Lookup::Found);
        const auto attempt = [step](const std::function<void()>& between) {
            if (step == Step::Commit)
                return commit(between) ? 1 : -1;
            between();
            if (step == Step::BeforeWrite) {
                const qint16 state = scan();
                return state > 0 ? 1 : state < 0 ? -1 : 0;
            }
            const clsEmployee::Lookup found = lookUp();
            return found == clsEmployee::Lookup::Found    ? 1
                   : found == clsEmployee::Lookup::Failed ? -1
                                                          : 0;
        };
        QElapsedTimer timer;
        const int first = attempt([&] {
            QVERIFY(breakServer(fault));
            timer.start();
        });
        const qint64 firstMs = timer.restart();
        const int second = attempt([] {});
        const qint64 againMs = timer.elapsed();
        QVERIFY(mendServer(fault));
        qInfo("first call failed after %lld ms, the next after %lld ms", firstMs, againMs);
        QCOMPARE(first, -1);
        QCOMPARE(second, -1);
        QVERIFY2(firstMs < BoundMs, qPrintable(QString::number(firstMs)));
        // A connection cut from a hung server is not tried again at once:
        // the next call fails at once.
        const bool cut = fault == Fault::Hung && step != Step::Connect;
        QVERIFY2(againMs < (cut ? 1000 : BoundMs), qPrintable(QString::number(againMs)));

        // Back: the next call succeeds, on a connection of its own.
        QCOMPARE(attempt([] {}), 1);
        const int after = backend();
        QVERIFY(after > 0 && after != before);
    }

    // Inside a quick scope, the statements of a connection opened anew in it
    // wait the quick limit too, and closing the connection under a scope or
    // a statement's guard leaves them nothing to touch.
    void quickScopeOutlivesItsConnection() {
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        {
            const StatementWatchdog::Quick quick;
            const StatementWatchdog::Guard watched(clsDbConn().GetDbConn());
            clsDbConn::CloseShared();
            QVERIFY(backend() > 0); // opened anew inside the scope
            m_server->Hang();
            QElapsedTimer timer;
            timer.start();
            const int hung = backend();
            const qint64 ms = timer.elapsed();
            m_server->Unhang();
            QCOMPARE(hung, -1);
            QVERIFY2(ms >= StatementWatchdog::QuickLimitMs - 100 && ms < BoundMs,
                     qPrintable(QString::number(ms)));
            clsDbConn::CloseShared();
        }
        QVERIFY(backend() > 0);
    }

    // The server's time zone is its setting for new sessions, whatever a
    // session set since; compared with the station's by the station window.
    void serverTimeZone() {
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        const auto zoneOf = [](const char* zone) {
            if (!QSqlQuery(clsDbConn().GetDbConn())
                     .exec(QStringLiteral("ALTER ROLE CURRENT_USER SET TimeZone = '%1'")
                               .arg(QLatin1String(zone))))
                return std::optional<int>();
            clsDbConn::CloseShared();
            QSqlDatabase db = clsDbConn().GetDbConn();
            QSqlQuery(db).exec("SET TIME ZONE 'Asia/Tokyo'");
            return clsDbConn::ServerUtcOffset(db);
        };
        QCOMPARE(zoneOf("Asia/Shanghai"), std::optional<int>(8 * 3600));
        QCOMPARE(zoneOf("Etc/GMT+5"), std::optional<int>(-5 * 3600));
        QCOMPARE(zoneOf("UTC"), std::optional<int>(0));
        QSqlQuery(clsDbConn().GetDbConn()).exec("ALTER ROLE CURRENT_USER RESET TimeZone");

        const std::optional<qint64> ahead = clsDbConn::ServerClockOffset(clsDbConn().GetDbConn());
        QVERIFY(ahead && qAbs(*ahead) <= 1);
    }
};

QTEST_GUILESS_MAIN(TestServerFaults)
#include "tst_serverfaults.moc"
