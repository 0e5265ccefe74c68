// Scans kept while the server is away and given to it afterwards, exactly
// once: two stations, a server that cannot be reached, a replay cut short.
// Runs on the PostgreSQL test server only.
#include "shared/db/DbDateTime.h"
#include "shared/db/DbSession.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/OfflineStation.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestOffline : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    const QDateTime t0{QDate(2026, 3, 2), QTime(8, 0)};

    QString card(int i) const { return QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0')); }
    QDateTime arrival(int i) const { return t0.addSecs(i); }
    QDateTime departure(int i) const { return t0.addSecs(9 * 3600 + i); }

    // The server cannot be reached (a port nobody listens on), or again can.
    void serverAway(bool away) {
        clsDbConn::CloseShared();
        QVERIFY(fx->setIni("ATTENDANCE", "DBSERVER",
                           away ? QStringLiteral("127.0.0.1:1") : fx->server()->server()));
    }

    // Every card's day on the server: one row, the first scan's time as the
    // arrival and the second's as the departure; each scan's id once.
    void checkServer(int cards, int scans) {
        QCOMPARE(fx->rows("Presence"), cards);
        QCOMPARE(fx->rows("ScanReplay"), scans);
        for (int i = 0; i < cards; ++i)
            QCOMPARE(fx->rows(QStringLiteral("Presence WHERE ENUMBER = '%1' AND ENTERTIME = '%2' "
                                             "AND EXITTIME = '%3'")
                                  .arg(card(i), DbDateTime::ToText(arrival(i)),
                                       DbDateTime::ToText(departure(i)))),
                     1);
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        if (!TestProgramDir::OnServer())
            QSKIP("the database file has no server to lose");
        QVERIFY(fx->addDept(1, "教务处"));
        for (int i = 0; i < 50; ++i)
            QVERIFY(fx->addEmployee(card(i), QStringLiteral("员工%1").arg(i), card(i), 1,
                                    i == 0 ? TestProgramDir::jpeg(1) : QByteArray()));
    }
    void cleanup() { fx.reset(); }

    // 100 scans of 50 cards on two stations while the server is away.
    void twoStationsOffline() {
        QTemporaryDir dirA, dirB;
        OfflineStation a(dirA.path()), b(dirB.path());
        QVERIFY(a.IsOpen() && b.IsOpen());
        for (OfflineStation* s : {&a, &b}) {
            DbSession server = DbSession::OpenConfigured();
            QVERIFY(s->Cache().Refresh(server, t0.date(), t0));
        }
        serverAway(true);
        // Cards 0-24 at station A, 25-49 at station B; a repeat between.
        for (int i = 0; i < 50; ++i) {
            OfflineStation& s = i < 25 ? a : b;
            const OfflineStation::Greeting in = s.Scan(card(i).toLower(), arrival(i));
            QCOMPARE(in.found, clsEmployee::Lookup::Found);
            QCOMPARE(in.state, qint16(clsPresence::Arrival));
            QCOMPARE(in.employee.department, QStringLiteral("教务处"));
            QCOMPARE(in.employee.photo.isEmpty(), i != 0);
        }
        QCOMPARE(a.Scan(card(3), arrival(3).addSecs(30)).state, qint16(clsPresence::Repeated));
        for (int i = 0; i < 50; ++i)
            QCOMPARE((i < 25 ? a : b).Scan(card(i), departure(i)).state,
                     qint16(clsPresence::Departure));
        QCOMPARE(a.Scan("NOBODY", departure(0)).found, clsEmployee::Lookup::NotFound);
        {
            DbSession away = DbSession::OpenConfigured();
            QCOMPARE(a.Replay(away).recorded, 0); // still away: nothing given, nothing lost
        }
        QCOMPARE(a.Pending(), 52);
        serverAway(false);
        DbSession server = DbSession::OpenConfigured();
        for (OfflineStation* s : {&b, &a}) {
            QVERIFY(s->Replay(server).complete());
            QCOMPARE(s->Pending(), 0);
        }
        checkServer(50, 101); // the unknown card has no id row
    }

    // The server took the first scans but the journal was not marked (a
    // crash between the two commits): a replay marks them, nothing twice.
    void replayCutShort() {
        QTemporaryDir dir;
        OfflineStation s(dir.path());
        DbSession server = DbSession::OpenConfigured();
        QVERIFY(s.Cache().Refresh(server, t0.date(), t0));
        for (int i = 0; i < 10; ++i)
            s.Scan(card(i), arrival(i));
        for (int i = 0; i < 10; ++i)
            s.Scan(card(i), departure(i));
        const QVector<ScanJournal::Entry> pending = s.Journal().Pending();
        for (int k = 0; k < 13; ++k) {
            clsPresence p;
            p.setENUMBER(pending[k].number);
            QVERIFY(p.Add(fx->session(), pending[k].at, pending[k].scanId) > 0);
        }
        QCOMPARE(s.Replay(server).recorded, 20);
        QCOMPARE(s.Replay(server).recorded, 0);
        checkServer(10, 20);
    }
};

QTEST_MAIN(TestOffline)
#include "tst_offline.moc"
