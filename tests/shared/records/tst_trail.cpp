// The day's first record as the one a scan or a correction changes, scans
// replayed into a closed month with their trail rows, and what guards the
// trail and the closed months on the database itself.
#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsCorrection.h"
#include "shared/records/clsMonthClose.h"
#include "shared/records/clsPresence.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

QDateTime at(const char* when) {
    return QDateTime::fromString(QLatin1String(when), Qt::ISODate);
}

using Result = clsCorrection::Result;
using Action = clsCorrection::Action;

} // namespace

class TestTrail : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    const clsCorrection::Operator who{QStringLiteral("clerk"), QStringLiteral("pc1"),
                                      QStringLiteral("tst_trail")};

    // The day's records of `number` as "arrival-departure" texts in arrival
    // text order, "-" for no departure.
    QStringList day(const QString& number, const char* date) {
        QStringList out;
        QSqlQuery q(clsDbConn().GetDbConn());
        q.prepare(QStringLiteral("SELECT ENTERTIME, EXITTIME FROM Presence WHERE ENUMBER = ? AND "
                                 "ENTERTIME LIKE ? ORDER BY ENTERTIME"));
        q.addBindValue(number);
        q.addBindValue(QLatin1String(date) + QLatin1Char('%'));
        if (!q.exec())
            return {q.lastError().text()};
        while (q.next())
            out << q.value(0).toString().mid(11) + QLatin1Char('-') +
                       (q.isNull(1) ? QStringLiteral("-") : q.value(1).toString().mid(11));
        return out;
    }
    qint16 replay(const QString& number, const char* when, const QString& scanId) {
        clsPresence p;
        p.setENUMBER(number);
        return p.Add(at(when), scanId);
    }
    qint16 scan(const QString& number, const char* when) {
        AppClock::setFixed(at(when));
        clsPresence p;
        p.setENUMBER(number);
        return p.Add();
    }
    Result correct(Action action, const char* date, QTime in, QTime out,
                   const QString& number = QStringLiteral("7")) {
        clsCorrection::Request r;
        r.action = action;
        r.number = number;
        r.date = QDate::fromString(QLatin1String(date), Qt::ISODate);
        r.arrival = in;
        r.departure = out;
        r.reason = QStringLiteral("r");
        return clsCorrection::Apply(r, who);
    }
    std::vector<clsCorrection::TrailRow> trail() {
        std::vector<clsCorrection::TrailRow> rows;
        clsCorrection::Trail({}, {}, {}, &rows);
        return rows;
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, QStringLiteral("D")));
        for (const char* n : {"7", "8"})
            QVERIFY(fx->addEmployee(QLatin1String(n), QStringLiteral("n"), QLatin1String(n), 1));
        AppClock::setFixed(at("2026-11-20T18:00:00"));
    }
    void cleanup() { fx.reset(); }

    // A station's departure closes the day's first record by time, also when
    // rows of other tools come first in text or table order; the day's other
    // records stay as they are. Through the server's function and through
    // the statements (a replay, and the _pg_statements run).
    void departureClosesTheFirstRecordOnly() {
        QVERIFY(fx->addPresence(QStringLiteral("7"), at("2026-03-10T19:00:00"),
                                at("2026-03-10T22:00:00")));
        QVERIFY(fx->addPresence(QStringLiteral("7"), at("2026-03-10T08:00:00")));
        QCOMPARE(scan(QStringLiteral("7"), "2026-03-10T12:00:00"), qint16(clsPresence::Departure));
        QCOMPARE(day(QStringLiteral("7"), "2026-03-10"),
                 QStringList({"08:00:00-12:00:00", "19:00:00-22:00:00"}));
        QCOMPARE(scan(QStringLiteral("7"), "2026-03-10T23:00:00"),
                 qint16(clsPresence::AlreadyDeparted));
        // "7:30" sorts after "07:45:00" as text but is the earlier time.
        QVERIFY(fx->exec(QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES "
                                        "('8', '2026-03-11 07:45:00'), ('8', '2026-03-11 7:30')")));
        QCOMPARE(replay(QStringLiteral("8"), "2026-03-11T16:00:00", QStringLiteral("s1")),
                 qint16(clsPresence::Departure));
        QCOMPARE(day(QStringLiteral("8"), "2026-03-11"),
                 QStringList({"07:45:00--", "7:30-16:00:00"}));
    }

    // A correction adds to, changes or removes the day's first record alone
    // and its trail row names that record; the day's other records stay.
    void correctionsTouchTheFirstRecordOnly() {
        QVERIFY(fx->addPresence(QStringLiteral("7"), at("2026-11-09T19:00:00"),
                                at("2026-11-09T22:00:00")));
        QVERIFY(fx->addPresence(QStringLiteral("7"), at("2026-11-09T08:00:00")));
        QCOMPARE(correct(Action::Add, "2026-11-09", {}, QTime(17, 0)), Result::Done);
        QCOMPARE(day(QStringLiteral("7"), "2026-11-09"),
                 QStringList({"08:00:00-17:00:00", "19:00:00-22:00:00"}));

        QVERIFY(fx->addPresence(QStringLiteral("7"), at("2026-11-10T07:58:00"),
                                at("2026-11-10T17:05:00")));
        QVERIFY(fx->addPresence(QStringLiteral("7"), at("2026-11-10T08:20:00"),
                                at("2026-11-10T08:25:00")));
        QCOMPARE(correct(Action::Change, "2026-11-10", {}, QTime(16, 0)), Result::Done);
        QCOMPARE(day(QStringLiteral("7"), "2026-11-10"),
                 QStringList({"07:58:00-16:00:00", "08:20:00-08:25:00"}));
        // The second record is no second arrival: adding one is refused.
        QCOMPARE(correct(Action::Add, "2026-11-10", QTime(7, 0), {}), Result::SecondArrival);
        QCOMPARE(correct(Action::Remove, "2026-11-10", {}, {}), Result::Done);
        QCOMPARE(day(QStringLiteral("7"), "2026-11-10"), QStringList({"08:20:00-08:25:00"}));

        const std::vector<clsCorrection::TrailRow> rows = trail();
        QCOMPARE(rows.size(), size_t(3));
        const auto text = [](const QDateTime& t) {
            return t.isValid() ? t.toString(QStringLiteral("dd HH:mm")) : QStringLiteral("-");
        };
        QStringList named;
        for (const auto& r : rows)
            named << clsCorrection::ActionKey(r.action) + QLatin1Char(' ') + text(r.oldArrival) +
                         QLatin1Char(' ') + text(r.oldDeparture) + QLatin1Char(' ') +
                         text(r.newArrival) + QLatin1Char(' ') + text(r.newDeparture);
        QCOMPARE(named, QStringList({"add 09 08:00 - 09 08:00 09 17:00",
                                     "change 10 07:58 10 17:05 10 07:58 10 16:00",
                                     "remove 10 07:58 10 16:00 - -"}));
    }

    // A scan a station kept while the server was away is recorded in a
    // month closed meanwhile, and leaves a trail row of kind replay naming
    // the record; the same scan again, a repeated scan and a scan of an open
    // month leave none.
    void replayIntoAClosedMonth() {
        QCOMPARE(clsMonthClose::Close(2026, 3, who), Result::Done);
        QCOMPARE(replay(QStringLiteral("7"), "2026-03-10T08:00:00", QStringLiteral("a1")),
                 qint16(clsPresence::Arrival));
        QCOMPARE(replay(QStringLiteral("7"), "2026-03-10T08:00:30", QStringLiteral("a2")),
                 qint16(clsPresence::Repeated));
        QCOMPARE(replay(QStringLiteral("7"), "2026-03-10T17:00:00", QStringLiteral("a3")),
                 qint16(clsPresence::Departure));
        QCOMPARE(replay(QStringLiteral("7"), "2026-03-10T17:00:00", QStringLiteral("a3")),
                 qint16(clsPresence::AlreadyReplayed));
        QCOMPARE(replay(QStringLiteral("7"), "2026-04-01T08:00:00", QStringLiteral("a4")),
                 qint16(clsPresence::Arrival));
        QCOMPARE(day(QStringLiteral("7"), "2026-03-10"), QStringList({"08:00:00-17:00:00"}));
        const std::vector<clsCorrection::TrailRow> rows = trail();
        QCOMPARE(rows.size(), size_t(3)); // the closing, the arrival, the departure
        QCOMPARE(rows[1].action, Action::Replay);
        QCOMPARE(clsCorrection::ActionKey(rows[1].action), QStringLiteral("replay"));
        QCOMPARE(rows[1].number, QStringLiteral("7"));
        QVERIFY(!rows[1].oldArrival.isValid() && !rows[1].newDeparture.isValid());
        QCOMPARE(rows[1].newArrival, at("2026-03-10T08:00:00"));
        QCOMPARE(rows[1].reason, QStringLiteral("a1"));
        QCOMPARE(rows[2].oldArrival, at("2026-03-10T08:00:00"));
        QCOMPARE(rows[2].newArrival, at("2026-03-10T08:00:00"));
        QVERIFY(!rows[2].oldDeparture.isValid());
        QCOMPARE(rows[2].newDeparture, at("2026-03-10T17:00:00"));
        QCOMPARE(rows[2].reason, QStringLiteral("a3"));
        // Corrections of the closed month stay refused.
        QCOMPARE(correct(Action::Remove, "2026-03-10", {}, {}), Result::MonthClosed);
    }
};

QTEST_GUILESS_MAIN(TestTrail)
#include "tst_trail.moc"
