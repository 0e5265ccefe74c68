// The station's scans on a database file: recorded by the file's worker on a
// thread of its own, the caller never waiting for the disk; scans queued
// behind others written together in one transaction, each decided in scan
// order at its key time; a write failing inside that transaction leaves
// every scan recorded once or reported failed; a file another program holds
// leaves the scans for the next try (the window's side: tst_frmsign
// lockedDatabaseQueuesScans).
#include "shared/base/AppClock.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "station/FileScanWorker.h"
#include "station/ScanService.h"
#include "tests/common/TestProgramDir.h"
#include "tests/station/helpers/StationStaff.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

const QString kUnknown = QStringLiteral("111111111111111");

qint64 at(int hour, int minute, int second = 0) {
    return QDateTime(QDate(2009, 11, 25), QTime(hour, minute, second)).toMSecsSinceEpoch();
}

} // namespace

class tst_FileScans : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

    // The worker's outcomes of `scans` given at once, on this thread.
    QList<ScanOutcome> record(const QList<FileScanWorker::Scan>& scans) {
        FileScanWorker worker;
        QSignalSpy spy(&worker, &FileScanWorker::Recorded);
        worker.Record(scans, false);
        return spy.size() == 1 ? spy[0][0].value<QList<ScanOutcome>>() : QList<ScanOutcome>();
    }
    static QList<qint16> states(const QList<ScanOutcome>& outcomes) {
        QList<qint16> s;
        for (const ScanOutcome& o : outcomes)
            s << (o.found == clsEmployee::Lookup::Found ? o.state : qint16(-10 - qint16(o.found)));
        return s;
    }

private slots:
    void init() {
        AppClock::setFixed(QDateTime(QDate(2009, 11, 25), QTime(9, 0)));
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(AddStationStaff(*fx));
    }

    void cleanup() {
        clsDbConn::CloseShared();
        fx.reset();
        AppClock::reset();
    }

    // The worker's connection keeps the short wait for other programs' locks
    // between scans, also once the connection was opened anew.
    void shortLockWaitKept() {
        const auto busyTimeout = [] {
            QSqlQuery q(clsDbConn().GetDbConn());
            return q.exec(QStringLiteral("PRAGMA busy_timeout")) && q.next() ? q.value(0).toInt()
                                                                             : -1;
        };
        for (int round = 0; round < 2; ++round) {
            const QList<ScanOutcome> out = record({{kCardA, at(8, round)}});
            QCOMPARE(out.size(), 1);
            QCOMPARE(busyTimeout(), FileScanWorker::LockWaitMs);
            QVERIFY(clsDbConn::SetBusyTimeout(clsDbConn::BusyTimeoutMs));
            QCOMPARE(busyTimeout(), clsDbConn::BusyTimeoutMs);
            QVERIFY(clsDbConn::SetBusyTimeout(FileScanWorker::LockWaitMs));
            QCOMPARE(busyTimeout(), FileScanWorker::LockWaitMs);
            clsDbConn::CloseShared();
            QCOMPARE(busyTimeout(), clsDbConn::BusyTimeoutMs); // as opened
        }
    }

    // Another program holding the file: a writer's lock fails the write, a
    // committing one the look-up; either way, alone or together, the scans
    // are left untouched for the next try. On the last try the first runs
    // and fails; once the file is free each is recorded once.
    void lockedFileLeavesScans_data() {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<int>("scans");
        for (const char* lock : {"IMMEDIATE", "EXCLUSIVE"})
            for (const int scans : {1, 2})
                QTest::addRow("%s, %d", lock, scans) << QString::fromLatin1(lock) << scans;
    }

    void lockedFileLeavesScans() {
        QFETCH(QString, lock);
        QFETCH(int, scans);
        const QList<FileScanWorker::Scan> given =
            QList<FileScanWorker::Scan>({{kCardA, at(8, 0)}, {kCardB, at(8, 0, 1)}}).first(scans);
        {
            const ScopedConnection holder(QStringLiteral("other"));
            QSqlDatabase other = clsDbConn::OpenFile(fx->dbPath, holder.name());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN ") + lock));
            QCOMPARE(record(given).size(), 0);
            FileScanWorker worker;
            QSignalSpy spy(&worker, &FileScanWorker::Recorded);
            worker.Record(given, true);
            QCOMPARE(spy.size(), 1);
            const QList<ScanOutcome> last = spy[0][0].value<QList<ScanOutcome>>();
            QCOMPARE(last.size(), 1);
            QVERIFY(!last[0].Recorded());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
        }
        QCOMPARE(fx->rows("Presence"), 0);
        const QList<ScanOutcome> out = record(given);
        QCOMPARE(out.size(), scans);
        for (const ScanOutcome& o : out)
            QCOMPARE(o.state, qint16(clsPresence::Arrival));
        QCOMPARE(fx->rows("Presence"), scans);
    }

    // Scans given together are decided in order, each at its own key time:
    // arrivals, the same card again within 60 s repeated, at 61 s departed;
    // an unknown card among them writes nothing; photos come decoded.
    void togetherInScanOrder() {
        const QList<ScanOutcome> out = record({{kCardA, at(8, 0, 0)},
                                               {kCardB, at(8, 0, 1)},
                                               {kUnknown, at(8, 0, 2)},
                                               {kCardA, at(8, 1, 0)},
                                               {kCardA, at(8, 1, 1)},
                                               {kCardC, at(8, 1, 2)},
                                               {kCardA, at(8, 2, 0)}});
        using S = clsPresence::State;
        QCOMPARE(states(out), QList<qint16>({S::Arrival, S::Arrival, -10, S::Repeated, S::Departure,
                                             S::Arrival, S::AlreadyDeparted}));
        QCOMPARE(fx->rows("Presence"), 3);
        QCOMPARE(fx->rows(QStringLiteral("Presence WHERE ENUMBER = 'E001' AND ENTERTIME = '%1' AND "
                                         "EXITTIME = '%2'")
                              .arg(stored(at(8, 0, 0)), stored(at(8, 1, 1)))),
                 1);
        QCOMPARE(out[0].record.enterTime(), QDateTime::fromMSecsSinceEpoch(at(8, 0, 0)));
        QCOMPARE(out[4].record.exitTime(), QDateTime::fromMSecsSinceEpoch(at(8, 1, 1)));
        QCOMPARE(out[1].name, QStringLiteral("李四"));
        QCOMPARE(out[1].department, QStringLiteral("教务处"));
        QVERIFY(!out[0].photo.isNull() && !out[1].photo.isNull());
        QVERIFY(out[5].photo.isNull()); // no photo stored
    }

    // A write failing inside the transaction (a trigger refusing E002's row,
    // aborting the statement, failing it, or rolling the whole transaction
    // back): every other scan is recorded exactly once, E002's reported
    // failed, as each on its own would be.
    void failureInsideTheTransaction_data() {
        QTest::addColumn<QString>("raise");
        QTest::newRow("abort") << "ABORT";
        QTest::newRow("fail") << "FAIL";
        QTest::newRow("rollback") << "ROLLBACK";
    }

    void failureInsideTheTransaction() {
        QFETCH(QString, raise);
        QVERIFY(
            fx->exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Presence "
                                    "WHEN NEW.ENUMBER = 'E002' BEGIN SELECT RAISE(%1, 'refused'); "
                                    "END")
                         .arg(raise)));
        const QList<ScanOutcome> out = record({{kCardA, at(8, 0)},
                                               {kCardB, at(8, 0, 1)},
                                               {kCardC, at(8, 0, 2)},
                                               {kCardB, at(8, 0, 3)},
                                               {kCardA, at(8, 3)}});
        using S = clsPresence::State;
        QCOMPARE(states(out), QList<qint16>({S::Arrival, S::WriteFailed, S::Arrival, S::WriteFailed,
                                             S::Departure}));
        QCOMPARE(fx->rows("Presence"), 2);
        QCOMPARE(fx->rows("Presence WHERE ENUMBER = 'E001' AND EXITTIME IS NOT NULL"), 1);
        QCOMPARE(fx->rows("Presence WHERE ENUMBER = 'E003'"), 1);
        // The trigger gone, E002 is recorded once.
        QVERIFY(fx->exec("DROP TRIGGER refuse"));
        QCOMPARE(states(record({{kCardB, at(8, 5)}, {kCardB, at(8, 5, 30)}})),
                 QList<qint16>({S::Arrival, S::Repeated}));
        QCOMPARE(fx->rows("Presence"), 3);
    }

    // Through the service: Scan returns before anything is written (the
    // worker's thread writes); scans typed meanwhile wait and go together;
    // every outcome is greeted once, in scan order, and the next greeting
    // waits for the one being shown; photos come at the size they are shown.
    void serviceGreetsInScanOrder() {
        ScanService service;
        QVERIFY(!service.Journalled());
        service.SetPhotoSize(QSize(29, 22));
        QStringList greeted;
        QList<QSize> photoSizes;
        bool nested = false;
        int inside = 0;
        connect(&service, &ScanService::Greeted, this, [&](const ScanOutcome& o) {
            nested = nested || inside > 0;
            ++inside;
            greeted << o.name + QString::number(o.state);
            photoSizes << o.photo.size();
            // A greeting that runs events (a warning box) holds the next one back.
            QTest::qWait(20);
            --inside;
        });
        service.Scan(kCardA, at(8, 0));
        service.Scan(kCardB, at(8, 0, 1));
        service.Scan(kCardA, at(8, 0, 2));
        service.Scan(kUnknown, at(8, 0, 3));
        service.Scan(kCardC, at(8, 0, 4));
        QVERIFY(greeted.isEmpty());
        QCOMPARE(service.PendingScans(), 5);
        QVERIFY(service.WaitIdle(10000));
        QCOMPARE(greeted, QStringList({"张三1", "李四1", "张三4", "0", "王五1"}));
        QCOMPARE(photoSizes,
                 QList<QSize>({{29, 22}, {29, 22}, {29, 22}, {0, 0}, {0, 0}})); // 王五: none
        QVERIFY(!nested);
        QCOMPARE(service.PendingScans(), 0);
        QCOMPARE(fx->rows("Presence"), 3);
    }
};

QTEST_MAIN(tst_FileScans)
#include "tst_filescans.moc"
