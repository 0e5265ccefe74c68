// The sign-in rule while the server is away, without a server: the copy's
// rows of the day with the journal's scans applied; and the journal keeping
// what the server made of each scan.
#include "shared/offline/OfflineRule.h"
#include "shared/offline/ScanJournal.h"

#include <QTemporaryDir>
#include <QtTest>

class TestOfflineRule : public QObject {
    Q_OBJECT

    const QDate day{2026, 3, 2};
    QDateTime at(int h, int m) const { return QDateTime(day, QTime(h, m)); }

private slots:
    // One card's day scanned at 08:00, 17:00 and 17:30, decided from the
    // journal alone and from the journal with the copy refreshed after the
    // arrival (the copy holding the journal's arrival changes nothing).
    void dayFromCopyAndJournal_data() {
        QTest::addColumn<bool>("inCopy");
        QTest::addColumn<bool>("inJournal");
        QTest::newRow("journal only") << false << true;
        QTest::newRow("copy and journal") << true << true;
    }

    void dayFromCopyAndJournal() {
        QFETCH(bool, inCopy);
        QFETCH(bool, inJournal);
        PresenceDay copy(day);
        QVector<ScanJournal::Entry> journal;
        const std::pair<QDateTime, qint16> scans[] = {{at(8, 0), clsPresence::Arrival},
                                                      {at(17, 0), clsPresence::Departure},
                                                      {at(17, 30), clsPresence::AlreadyDeparted}};
        for (const auto& [when, expected] : scans) {
            const qint16 state = OfflineRule::Decide(copy, journal, when);
            QCOMPARE(state, expected);
            if (inJournal)
                journal.push_back({0, QStringLiteral("id"), QStringLiteral("C1"),
                                   QStringLiteral("E1"), when, state, false});
            if (inCopy && state == clsPresence::Arrival)
                copy.Add({when, QDateTime(), false, {}, {}, {}});
        }
        // A scan not decided yet (state 0, journalled before its greeting) counts for nothing.
        journal = {{0, QStringLiteral("x"), QStringLiteral("C1"), QStringLiteral("E1"), at(8, 0), 0,
                    false}};
        QCOMPARE(OfflineRule::Decide({}, journal, at(9, 0)), qint16(clsPresence::Arrival));
    }

    // Each replayed scan keeps the state the server gave it, and a card the
    // station did not know gets the number the server found.
    void journalKeepsEachScansState() {
        QTemporaryDir dir;
        ScanJournal journal(dir.filePath("station-journal.db"));
        QVERIFY(journal.IsOpen());
        const QString a = journal.Add("C1", "E1", at(8, 0), 1);
        const QString b = journal.Add("C1", "E1", at(8, 0), 4);
        const QString c = journal.Add("C9", QString(), at(8, 1), 0);
        QVERIFY(!a.isEmpty() && !b.isEmpty() && !c.isEmpty());
        QVERIFY(journal.MarkReplayed({{a, clsPresence::Arrival},
                                      {b, clsPresence::Repeated},
                                      {c, clsPresence::Arrival, QStringLiteral("E9")}}));
        QCOMPARE(journal.PendingCount(), 0);
        const QVector<ScanJournal::Entry> e1 = journal.Day("E1", day);
        QCOMPARE(e1.size(), 2);
        QCOMPARE(e1[0].state, qint16(clsPresence::Arrival));
        QCOMPARE(e1[1].state, qint16(clsPresence::Repeated));
        QCOMPARE(journal.Day("E9", day).size(), 1);
        // A greeting from the copy does not overwrite what the server made of a scan.
        QVERIFY(journal.SetGreeted(a, "E1", clsPresence::Departure));
        QCOMPARE(journal.Day("E1", day)[0].state, qint16(clsPresence::Arrival));
        // The server's scans of earlier days go; the day's stay.
        QVERIFY(journal.Prune(QDateTime(day, QTime(0, 0))));
        QCOMPARE(journal.Day("E1", day).size(), 2);
        QVERIFY(journal.Prune(QDateTime(day.addDays(1), QTime(0, 0))));
        QCOMPARE(journal.Day("E1", day).size(), 0);
    }
};

QTEST_MAIN(TestOfflineRule)
#include "tst_offlinerule.moc"
