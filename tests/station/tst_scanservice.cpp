// The station's scan service on a server of the test's own, which the tests
// stop (fast and immediately) and hang (SIGSTOP) at each step of a scan:
// the service lives, greets every scan within GreetingLimitMs of its Enter,
// and once the server is back every scan lands exactly once at its key time.
#include "shared/base/AppClock.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/CopyRefresher.h"
#include "shared/offline/OfflineStation.h"
#include "station/PhotoDecoder.h"
#include "station/ScanService.h"
#include "tests/common/OwnPgServer.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"
#include "tests/station/helpers/StationStaff.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

// What a person at the station may wait for a greeting in any outage.
constexpr qint64 GreetingLimitMs = 3500;
// How long a server back from an outage may take to have the journal.
constexpr int CatchUpMs = 40000;
// The size the station shows photos at: they come scaled to it.
constexpr QSize kShown(29, 22);

enum class Fault { Fast, Immediate, Hang };
enum class Step { FreshStation, LookUp, BeforeWrite, Commit };

} // namespace

class tst_ScanService : public QObject {
    Q_OBJECT

    std::unique_ptr<OwnPgServer> m_server;
    std::unique_ptr<TestProgramDir> fx;
    std::unique_ptr<ScanService> m_service;
    std::vector<ScanOutcome> m_greeted;
    std::vector<qint64> m_waitedMs;
    QElapsedTimer m_sinceEnter;

    void startService() {
        m_service = std::make_unique<ScanService>();
        m_service->SetPhotoSize(kShown);
        connect(m_service.get(), &ScanService::Greeted, this, [this](const ScanOutcome& o) {
            m_greeted.push_back(o);
            m_waitedMs.push_back(m_sinceEnter.elapsed());
        });
        QVERIFY(m_service->Journalled());
        if (CopyRefresher* r = m_service->Refresher())
            r->Wait();
        QVERIFY(m_service->WaitIdle(10000));
    }
    // A scan now, its key time `keyMs`; waits for its greeting.
    ScanOutcome scan(const QString& card, qint64 keyMs) {
        const size_t before = m_greeted.size();
        m_sinceEnter.start();
        m_service->Scan(card, keyMs);
        if (!QTest::qWaitFor([&] { return m_greeted.size() > before; }, 10000))
            return {};
        return m_greeted.back();
    }
    // The last greeting came within GreetingLimitMs of its Enter.
    bool greetedInTime() const {
        if (m_waitedMs.back() <= GreetingLimitMs)
            return true;
        qWarning("greeted after %lld ms", m_waitedMs.back());
        return false;
    }
    // Rows of the server (read on a fresh connection: the old one may be gone).
    int serverRows(const QString& from) {
        clsDbConn::CloseShared();
        return fx->rows(from);
    }
    // Gives the journal to the server until it holds every scan.
    bool catchUp() {
        return QTest::qWaitFor(
            [&] {
                if (m_service->JournalPending() == 0 && !m_service->Offline())
                    return true;
                m_service->RetryServer();
                return false;
            },
            CatchUpMs);
    }
    void inflict(Fault f) {
        QVERIFY(f == Fault::Hang ? m_server->Hang() : m_server->Halt(f == Fault::Immediate));
    }
    void mend(Fault f) {
        QVERIFY2(f == Fault::Hang ? m_server->Unhang() : m_server->Resume(),
                 qPrintable(m_server->Error()));
    }
    static qint64 at(int hour, int minute) {
        return QDateTime(QDate::currentDate(), QTime(hour, minute)).toMSecsSinceEpoch();
    }

private slots:
    void initTestCase() {
        if (const QString why = OwnPgServer::Unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        qputenv("ATTENDANCE_TEST_ENGINE", "postgresql");
        m_server = std::make_unique<OwnPgServer>();
        QVERIFY2(m_server->Start(), qPrintable(m_server->Error()));
    }

    void init() {
        m_greeted.clear();
        m_waitedMs.clear();
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(AddStationStaff(*fx));
    }

    void cleanup() {
        m_service.reset();
        clsDbConn::CloseShared();
        fx.reset();
    }

    // With the server answering: the scan is journalled, then recorded at
    // its key time with its id, and greeted with the server's answer and
    // the photo; the journal knows the server has it.
    void onlineScanGoesThroughTheJournal() {
        startService();
        const qint64 key = at(7, 58);
        const ScanOutcome arrival = scan(kCardA, key);
        QCOMPARE(arrival.found, clsEmployee::Lookup::Found);
        QCOMPARE(arrival.state, qint16(clsPresence::Arrival));
        QVERIFY(!arrival.offline);
        QCOMPARE(arrival.photo.size(), kShown);
        QCOMPARE(arrival.name, QStringLiteral("张三"));
        QCOMPARE(arrival.record.enterTime(), QDateTime::fromMSecsSinceEpoch(key));
        QVERIFY(m_service->WaitIdle(5000));
        QCOMPARE(m_service->JournalPending(), 0);
        QCOMPARE(serverRows("Presence WHERE ENTERTIME = '" + stored(key) + "'"), 1);
        QCOMPARE(serverRows("ScanReplay WHERE SCANID = '" + arrival.scanId + "'"), 1);
        // 60 s after the arrival: repeated; 61 s: the departure.
        QCOMPARE(scan(kCardA, key + 60000).state, qint16(clsPresence::Repeated));
        // A photo changed since the copy was made: the server's is shown.
        const QByteArray newPhoto = TestProgramDir::jpeg(2);
        QVERIFY(fx->exec(QStringLiteral("UPDATE Employee SET HEADIMG = ? WHERE ENUMBER = 'E001'"),
                         {newPhoto}));
        const ScanOutcome departure = scan(kCardA, key + 61000);
        QCOMPARE(departure.state, qint16(clsPresence::Departure));
        QCOMPARE(departure.photo, PhotoDecoder::Decode(newPhoto, kShown));
        QVERIFY(departure.photo != arrival.photo);
        QCOMPARE(scan(QStringLiteral("000000000000000"), key + 62000).found,
                 clsEmployee::Lookup::NotFound);
        QVERIFY(m_service->WaitIdle(5000));
        QCOMPARE(serverRows("Presence WHERE EXITTIME = '" + stored(key + 61000) + "'"), 1);
        QCOMPARE(m_service->JournalPending(), 0);
    }

    // The server fails at each step of a scan. Every scan is greeted in
    // time (from the copy when the server does not answer), and once the
    // server is back the journal brings each to it once, at its key time.
    void outageAtEachStep_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<Step>("step");
        const std::pair<const char*, Fault> faults[] = {{"stopped fast", Fault::Fast},
                                                        {"stopped immediately", Fault::Immediate},
                                                        {"hung", Fault::Hang}};
        const std::pair<const char*, Step> steps[] = {{"fresh station", Step::FreshStation},
                                                      {"look-up", Step::LookUp},
                                                      {"before the write", Step::BeforeWrite},
                                                      {"commit", Step::Commit}};
        for (const auto& [fname, f] : faults)
            for (const auto& [sname, s] : steps)
                QTest::addRow("%s, %s", fname, sname) << f << s;
    }

    void outageAtEachStep() {
        QFETCH(Fault, fault);
        QFETCH(Step, step);
        startService(); // fills the copy
        const qint64 first = at(8, 0);
        if (step == Step::FreshStation) {
            // A station started anew: not one statement prepared yet; it
            // greets from the copy of its earlier run.
            m_service.reset();
            inflict(fault);
            startService();
            QVERIFY(m_service->HasCopy());
        } else {
            QCOMPARE(scan(kCardB, first).state, qint16(clsPresence::Arrival));
            QVERIFY(!m_greeted.back().offline);
        }
        // Holds the scan at its step from another connection while the
        // server fails under it.
        const QString holder = QStringLiteral("holder");
        {
            QSqlDatabase db = fx->server() ? fx->server()->connect(holder) : QSqlDatabase();
            QSqlQuery q(db);
            if (step == Step::BeforeWrite) {
                // The look-up passes; the sign-in waits for the table.
                QVERIFY(q.exec(QStringLiteral("BEGIN")));
                QVERIFY(q.exec(QStringLiteral("LOCK TABLE Presence IN ACCESS EXCLUSIVE MODE")));
            } else if (step == Step::Commit) {
                // The commit itself takes a while: a deferred trigger sleeps in it.
                QVERIFY(q.exec(QStringLiteral(
                    "CREATE FUNCTION slow_commit() RETURNS trigger LANGUAGE plpgsql AS "
                    "$$ BEGIN PERFORM pg_sleep(1.5); RETURN NULL; END $$")));
                QVERIFY(q.exec(QStringLiteral(
                    "CREATE CONSTRAINT TRIGGER slow AFTER INSERT ON Presence DEFERRABLE "
                    "INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION slow_commit()")));
            }
            if (step == Step::LookUp)
                inflict(fault);
            const qint64 key = at(8, 5);
            m_sinceEnter.start();
            m_service->Scan(kCardA, key);
            if (step == Step::BeforeWrite || step == Step::Commit) {
                QTest::qWait(500);
                inflict(fault);
            }
            QVERIFY(QTest::qWaitFor(
                [&] { return m_greeted.size() >= 1 + (step != Step::FreshStation); }, 10000));
            const ScanOutcome& o = m_greeted.back();
            QVERIFY2(greetedInTime(), "greeted late");
            QCOMPARE(o.state, qint16(clsPresence::Arrival));
            QCOMPARE(o.name, QStringLiteral("张三"));
            // A second card while the server is away is greeted at once.
            const ScanOutcome next = scan(kCardB, key + 1000);
            QVERIFY(next.offline);
            QCOMPARE(next.photo.size(), kShown);
            QVERIFY2(greetedInTime(), "greeted late");
            QCOMPARE(next.state, qint16(step == Step::FreshStation ? clsPresence::Arrival
                                                                   : clsPresence::Departure));
            mend(fault);
        }
        QSqlDatabase::removeDatabase(holder);
        QVERIFY2(catchUp(), "the journal did not reach the server");
        const QString second = step == Step::FreshStation ? "ENTERTIME" : "EXITTIME";
        QCOMPARE(serverRows("Presence WHERE ENUMBER = 'E001' AND ENTERTIME = '" + stored(at(8, 5)) +
                            "'"),
                 1);
        QCOMPARE(serverRows("Presence WHERE ENUMBER = 'E001'"), 1);
        QCOMPARE(serverRows("Presence WHERE ENUMBER = 'E002' AND " + second + " = '" +
                            stored(at(8, 5) + 1000) + "'"),
                 1);
        QCOMPARE(serverRows("ScanReplay"), int(m_greeted.size()));
        // Online again, the next scan is applied as it comes, and the scans
        // the journal brought are not applied again: that would mark them
        // with the state of a scan the server already had.
        const ScanOutcome departure = scan(kCardA, at(8, 7));
        QVERIFY(!departure.offline);
        QCOMPARE(departure.state, qint16(clsPresence::Departure));
        QVERIFY(m_service->WaitIdle(5000));
        QList<qint16> states;
        const ScanJournal journal(OfflineStation::JournalFile(ScanService::StationFolder()));
        for (const ScanJournal::Entry& e :
             journal.Day(QStringLiteral("E001"), QDate::currentDate()))
            states << e.state;
        QCOMPARE(states, (QList<qint16>{clsPresence::Arrival, clsPresence::Departure}));
    }

    // A write the server refuses for a while (another program holds the
    // records longer than the lock wait) is greeted with its failure, kept,
    // and recorded once the server takes it, at its key time.
    void refusedWriteIsTriedAgain() {
        startService();
        const QString holder = QStringLiteral("holder");
        const qint64 key = at(8, 30);
        {
            QSqlDatabase db = fx->server()->connect(holder);
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("BEGIN")));
            QVERIFY(q.exec(QStringLiteral("LOCK TABLE Presence IN ACCESS EXCLUSIVE MODE")));
            const ScanOutcome refused = scan(kCardA, key);
            QVERIFY(refused.found == clsEmployee::Lookup::Found &&
                    refused.state < 0); // "系统错误！"
            QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(holder);
        QCOMPARE(m_service->JournalPending(), 1);
        QVERIFY(catchUp());
        QCOMPARE(
            serverRows("Presence WHERE ENUMBER = 'E001' AND ENTERTIME = '" + stored(key) + "'"), 1);
    }

    // While the server hangs, scans keep coming: each is greeted in time,
    // in scan order, and reaches the server once it answers again.
    void scansWhileTheServerHangs() {
        startService();
        QVERIFY(m_server->Hang());
        const qint64 key = at(9, 0);
        for (int i = 0; i < 4; ++i) {
            const ScanOutcome o = scan(i % 2 ? kCardB : kCardA, key + i * 1000);
            QVERIFY2(greetedInTime(), "greeted late");
            QCOMPARE(o.state, qint16(i < 2 ? clsPresence::Arrival : clsPresence::Repeated));
            QVERIFY(m_service->Offline());
        }
        QVERIFY(m_server->Unhang());
        QVERIFY(catchUp());
        QCOMPARE(serverRows("Presence"), 2);
        QCOMPARE(serverRows("ScanReplay"), 4);
    }
};

QTEST_MAIN(tst_ScanService)
#include "tst_scanservice.moc"
