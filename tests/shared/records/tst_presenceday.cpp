// The day's rule on one table of days (helpers/DayCases.h): PresenceDay
// alone, and every reader of the records (the sign-in's, the corrections',
// the month table's, the summary's) on the same days in a database.
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbSession.h"
#include "shared/records/PresenceDay.h"
#include "shared/records/clsCorrection.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "shared/records/clsPresence.h"
#include "tests/common/TestProgramDir.h"
#include "tests/shared/records/helpers/DayCases.h"

#include <QTest>

#include <algorithm>

Q_DECLARE_METATYPE(DayCase)

namespace {

QDateTime timeOf(const char* text) {
    return text ? DbDateTime::FromText(QLatin1String(text)) : QDateTime();
}

// The case's day as a reader builds it, its records taken in `order`.
PresenceDay dayOf(const DayCase& c, const std::vector<int>& order) {
    PresenceDay day(timeOf(c.now).date());
    for (const int i : order) {
        const DayCase::Stored& r = c.records[i];
        day.Add({timeOf(r.in), timeOf(r.out), r.out != nullptr, i, QLatin1String(r.in),
                 QLatin1String(r.out)});
    }
    return day;
}

QString firstText(const PresenceDay& day) {
    return day.First() ? day.First()->storedIn : QStringLiteral("<none>");
}

QString expectedFirst(const DayCase& c) {
    return c.first < 0 ? QStringLiteral("<none>") : QLatin1String(c.records[c.first].in);
}

} // namespace

class TestPresenceDay : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

    static void addCases() {
        QTest::addColumn<DayCase>("c");
        for (const DayCase& c : kDayCases)
            QTest::newRow(c.name) << c;
    }

private slots:
    // What a scan means and which record is first, whatever the order the
    // records come in; a reader keeping each day's first as the rows go by
    // (PresenceDay::Precedes) keeps the same record.
    void dayRule_data() { addCases(); }
    void dayRule() {
        QFETCH(DayCase, c);
        std::vector<int> order(c.records.size());
        for (int i = 0; i < int(order.size()); ++i)
            order[i] = i;
        const QDateTime now = timeOf(c.now);
        for (int pass = 0; pass < 2; ++pass) {
            const PresenceDay day = dayOf(c, order);
            QCOMPARE(day.Decide(now), c.state);
            QCOMPARE(firstText(day), expectedFirst(c));
            QDateTime kept;
            int keptIndex = -1;
            for (const int i : order) {
                const QDateTime in = timeOf(c.records[i].in);
                if (in.isValid() && in.date() == now.date() && PresenceDay::Precedes(in, kept)) {
                    kept = in;
                    keptIndex = i;
                }
            }
            QCOMPARE(keptIndex, c.first);
            std::reverse(order.begin(), order.end());
        }
    }

    // A journalled departure closes the day; a record of another day is no
    // record of this one.
    void dayTakesItsOwnRecords() {
        PresenceDay day(QDate(2026, 3, 10));
        QVERIFY(!day.Add({timeOf("2026-03-11 00:00:00"), {}, false, {}, {}, {}}));
        QVERIFY(day.Add({timeOf("2026-03-10 08:00:00"), {}, false, {}, {}, {}}));
        QCOMPARE(day.Decide(timeOf("2026-03-10 17:00:00")), qint16(clsPresence::Departure));
        day.MarkDeparted();
        QCOMPARE(day.Decide(timeOf("2026-03-10 17:00:00")), qint16(clsPresence::AlreadyDeparted));
        QVERIFY(PresenceDay().Add({timeOf("2026-03-11 00:00:00"), {}, false, {}, {}, {}}));
    }

    // Every reader of the records agrees with PresenceDay on the table's
    // days, each case an employee of its own, on both engines.
    void readersAgree() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "D"));
        AppClock::setFixed(timeOf("2026-04-02 12:00:00"));
        for (int i = 0; i < int(kDayCases.size()); ++i) {
            const QString number = QStringLiteral("C%1").arg(i);
            QVERIFY(fx->addEmployee(number, number, number, 1));
            for (const DayCase::Stored& r : kDayCases[i].records)
                QVERIFY2(fx->exec("INSERT INTO Presence(ENUMBER, ENTERTIME, "
                                  "EXITTIME) VALUES(?, ?, ?)",
                                  {number, QLatin1String(r.in),
                                   r.out ? QVariant(QLatin1String(r.out))
                                         : QVariant(QMetaType::fromType<QString>())}),
                         qPrintable(fx->lastError));
        }
        const QDate day(2026, 3, 10);
        clsEmployeePresenceSet table;
        QVERIFY(table.LoadByDate(fx->session(), QDateTime(QDate(2026, 3, 1), QTime(0, 0)),
                                 QDateTime(QDate(2026, 3, 31), QTime(0, 0))));
        MonthSummary summary;
        QVERIFY(MonthSummary::Load(fx->session(), 2026, 3, QDate(2026, 3, 31), &summary));
        for (int i = 0; i < int(kDayCases.size()); ++i) {
            const DayCase& c = kDayCases[i];
            const QString number = QStringLiteral("C%1").arg(i);
            const QDateTime first = c.first < 0 ? QDateTime() : timeOf(c.records[c.first].in);
            const QByteArray name = QByteArray(c.name) + " (" + number.toLatin1() + ")";

            AppClock::setFixed(timeOf(c.now));
            clsPresence scan;
            scan.setENUMBER(number);
            QVERIFY2(scan.CheckState(fx->session()) == c.state, name);

            std::vector<clsCorrection::Day> days;
            QVERIFY(clsCorrection::EmployeeDays(fx->session(), number, day, day, &days));
            QVERIFY2(days.size() == 1 && days[0].arrival == first, name);

            const clsSingleEmployeeMonPresence* month = table.Find(number);
            const QDateTime shown =
                month ? month->GetEnterTime(QDateTime(day, QTime(12, 0))) : DbDateTime::Zero();
            QVERIFY2(shown == (first.isValid() ? first : DbDateTime::Zero()), name);

            const auto e =
                std::find_if(summary.employees.begin(), summary.employees.end(),
                             [&](const EmployeeSummary& s) { return s.number == number; });
            QVERIFY(e != summary.employees.end());
            const QDateTime judged = e->records[day.day() - 1].arrival;
            QVERIFY2(judged.isValid() == first.isValid() &&
                         (!first.isValid() ||
                          (judged.date() == first.date() && judged.time() == first.time())),
                     name);
        }
        fx.reset();
    }
};

QTEST_GUILESS_MAIN(TestPresenceDay)
#include "tst_presenceday.moc"
