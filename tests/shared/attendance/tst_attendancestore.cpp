// The working hours, the calendar, the month summary and the lists on a
// real database (run on both engines).
#include "shared/attendance/AttendanceLists.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "tests/common/TestProgramDir.h"
#include "texts/DayVerdictText.h"

#include <QtTest>

class tst_attendancestore : public QObject {
    Q_OBJECT

    TestProgramDir m_dir;
    DbSession m_db; // closed before the directory goes

    static QDateTime at(int month, int day, int h, int m = 0) {
        return QDateTime(QDate(2026, month, day), QTime(h, m));
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError));
        m_db = DbSession::OpenConfigured();
        QVERIFY(m_db.IsOpen());
        QVERIFY(m_dir.addDept(1, QStringLiteral("甲")) && m_dir.addDept(2, QStringLiteral("乙")));
        QVERIFY(m_dir.addEmployee("A01", QStringLiteral("张三"), "1", 1));
        QVERIFY(m_dir.addEmployee("B02", QStringLiteral("李四"), "2", 2));
        QVERIFY(m_dir.exec("UPDATE Employee SET ENTERDATE = ?", {"2026-03-02 00:00:00"}));
        // A record found without regard to case; the earlier of two on the
        // 5th counts although stored later; other months stay out.
        QVERIFY(m_dir.addPresence("a01", at(3, 2, 8, 10), at(3, 2, 17)));
        QVERIFY(m_dir.addPresence("A01", at(3, 5, 9), at(3, 5, 17)));
        QVERIFY(m_dir.addPresence("A01", at(3, 5, 8), at(3, 5, 16)));
        QVERIFY(m_dir.addPresence("A01", at(2, 28, 23)));
        QVERIFY(m_dir.addPresence("A01", at(4, 1, 8), at(4, 1, 17)));
        QVERIFY(m_dir.addPresence("B02", at(3, 7, 9), at(3, 7, 12)));
        QVERIFY(m_dir.addPresence("B02", at(3, 10, 9)));
        // After "today" (the 10th) below: no record yet.
        QVERIFY(m_dir.addPresence("A01", at(3, 20, 8), at(3, 20, 17)));
    }

    void schedulesAndCalendarRoundTrip() {
        ScheduleBook book;
        QVERIFY(AttendanceStore::LoadSchedules(m_db, &book));
        QVERIFY(book.unit == WorkSchedule::Default() && book.departments.empty());
        book.unit.Day(1).lateGrace = 5;
        WorkSchedule own = book.unit;
        own.Day(6) = DaySchedule{true, QTime(9, 0), QTime(12, 0), 0, 0};
        book.departments[QStringLiteral("乙")] = own;
        Error error;
        QVERIFY2(AttendanceStore::ReplaceSchedules(m_db, book, &error), qPrintable(error.Text()));
        ScheduleBook back;
        QVERIFY(AttendanceStore::LoadSchedules(m_db, &back));
        QVERIFY(back.unit == book.unit && back.For(QStringLiteral("乙")) == own);
        QVERIFY(back.For(QStringLiteral("甲")) == book.unit);

        const auto day = [](int y, int m, int d, CalendarKind k) {
            return CalendarDay{QDate(y, m, d), k, "节"};
        };
        QVERIFY(AttendanceStore::ReplaceCalendarYears(m_db, {2025, 2026},
                                                      {day(2025, 1, 1, CalendarKind::Holiday),
                                                       day(2026, 3, 3, CalendarKind::Holiday),
                                                       day(2026, 3, 9, CalendarKind::Rest)}));
        // Replacing 2026 leaves 2025 as it was; a make-up workday keeps the
        // weekday whose hours it works.
        CalendarDay asTuesday = day(2026, 4, 11, CalendarKind::Workday);
        asTuesday.asWeekday = 2;
        QVERIFY(AttendanceStore::ReplaceCalendarYears(m_db, {2026},
                                                      {day(2026, 3, 3, CalendarKind::Holiday),
                                                       day(2026, 4, 12, CalendarKind::Workday),
                                                       asTuesday}));
        WorkCalendar calendar;
        QVERIFY(
            AttendanceStore::LoadCalendar(m_db, QDate(2025, 1, 1), QDate(2026, 12, 31), &calendar));
        QCOMPARE(calendar.Days().size(), size_t(4));
        QVERIFY(calendar.Find(QDate(2026, 3, 3)) && !calendar.Find(QDate(2026, 3, 9)));
        QCOMPARE(calendar.Find(QDate(2026, 4, 11))->asWeekday, 2);
        QCOMPARE(calendar.Find(QDate(2026, 4, 11))->kind, CalendarKind::Workday);
        QCOMPARE(calendar.Find(QDate(2026, 4, 12))->asWeekday, 0);
        // Names with control characters or over 100 characters are refused whole.
        for (const QString& name :
             {QStringLiteral("a\x1b[2J"), QString(QChar(0)), QString(101, QChar(u'节'))}) {
            Error refused;
            QVERIFY(!AttendanceStore::ReplaceCalendarYears(
                m_db, {2026}, {CalendarDay{QDate(2026, 5, 1), CalendarKind::Holiday, name}},
                &refused));
            QVERIFY2(refused.Text().contains(QStringLiteral("2026-05-01")),
                     qPrintable(refused.Text()));
        }
        QVERIFY(AttendanceStore::ReplaceCalendarYears(
            m_db, {2027},
            {CalendarDay{QDate(2027, 5, 1), CalendarKind::Holiday, QString(100, u'节')}}));
        WorkCalendar after;
        QVERIFY(
            AttendanceStore::LoadCalendar(m_db, QDate(2026, 1, 1), QDate(2027, 12, 31), &after));
        QCOMPARE(after.Days().size(), size_t(4));
    }

    void monthSummaryAndLists() {
        MonthSummary m;
        Error error;
        QVERIFY2(MonthSummary::Load(m_db, 2026, 3, QDate(2026, 3, 10), &m, &error),
                 qPrintable(error.Text()));
        QCOMPARE(m.employees.size(), size_t(2)); // 乙 sorts before 甲 by character code
        const EmployeeSummary& a = m.employees[1];
        QCOMPARE(a.number, QStringLiteral("A01"));
        // Working days before the 10th: 2, 4, 5, 6, 9 (the 3rd a holiday).
        const SummaryCounts& c = a.counts;
        QCOMPARE(QList<int>({c.workingDays, c.present, c.lateCount, c.lateMinutes, c.earlyCount,
                             c.earlyMinutes, c.absent, c.workedMinutes}),
                 QList<int>({5, 2, 1, 10, 1, 60, 3, 530 + 480}));
        QCOMPARE(a.records[4].arrival.time(), QTime(8, 0));
        QVERIFY(!a.records[27].arrival.isValid() && !a.records[0].arrival.isValid());
        QVERIFY(!a.records[19].arrival.isValid()); // after today
        QCOMPARE(DayVerdictText(a.days[19]), QString());
        // B02 works Saturdays 09:00-12:00 and is still at work today.
        // Today's arrival is shown but counts from tomorrow on, as today's
        // working day does: present on the 7th only, not late yet.
        const EmployeeSummary& b = m.employees[0];
        QCOMPARE(DayVerdictText(b.days[6]), QStringLiteral("正常"));
        QCOMPARE(DayVerdictText(b.days[9]), QStringLiteral("迟到60分钟"));
        QCOMPARE(
            QList<int>({b.counts.workingDays, b.counts.present, b.counts.lateCount,
                        b.counts.lateMinutes, b.counts.missingDepartures, b.counts.workedMinutes}),
            QList<int>({6, 1, 0, 0, 0, 180}));
        QCOMPARE(m.departments.size(), size_t(2));
        QCOMPARE(m.unit.present, a.counts.present + b.counts.present);
        QCOMPARE(m.lateByDepartment[0], std::make_pair(QStringLiteral("乙"), 0));
        QCOMPARE(m.presenceRate[9], 0.0); // today
        QCOMPARE(m.presenceRate[1], 0.5); // the 2nd: A01 present, B02 absent
        std::vector<ListedEmployee> list;
        QVERIFY(AttendanceLists::NotArrivedToday(m_db, at(3, 10, 10), &list));
        QCOMPARE(list.size(), size_t(1));
        QCOMPARE(list[0].number, QStringLiteral("A01"));
        QVERIFY(
            AttendanceLists::MissingDepartures(m_db, QDate(2026, 2, 1), QDate(2026, 3, 31), &list));
        QCOMPARE(list.size(), size_t(2));
        QCOMPARE(list[0].arrival, at(2, 28, 23));
        QCOMPARE(list[1].dept, QStringLiteral("乙"));
        // Seen on the 9th, the record of the 10th lies after today.
        AppClock::setFixed(at(3, 9, 23, 59));
        const bool listed =
            AttendanceLists::MissingDepartures(m_db, QDate(2026, 2, 1), QDate(2026, 3, 31), &list);
        AppClock::reset();
        QVERIFY(listed);
        QCOMPARE(list.size(), size_t(1));
        QCOMPARE(list[0].arrival, at(2, 28, 23));
    }

    // The writers run inside a caller's transaction as savepoints: what
    // they wrote goes with the caller's rollback and stays with its commit;
    // one refused there leaves the other's rows.
    void writersInCallersTransaction() {
        ScheduleBook before;
        QVERIFY(AttendanceStore::LoadSchedules(m_db, &before));
        ScheduleBook changed = before;
        changed.unit.Day(2).lateGrace = 17;
        const std::vector<CalendarDay> refused{
            CalendarDay{QDate(2030, 5, 1), CalendarKind::Holiday, QString(QChar(1))}};
        const std::vector<CalendarDay> duplicated{
            CalendarDay{QDate(2030, 5, 1), CalendarKind::Holiday, QStringLiteral("节")},
            CalendarDay{QDate(2030, 5, 1), CalendarKind::Holiday, QStringLiteral("节")}};
        for (const bool commit : {false, true}) {
            DbTransaction caller(m_db, DbTransaction::Mode::Immediate);
            QVERIFY(caller.IsActive());
            QVERIFY(AttendanceStore::ReplaceSchedules(m_db, changed));
            QVERIFY(!AttendanceStore::ReplaceCalendarYears(m_db, {2030}, refused));
            // A failing write inside the writer's own transaction: the key
            // of the day is taken by the first row.
            QVERIFY(!AttendanceStore::ReplaceCalendarYears(m_db, {2030}, duplicated));
            QCOMPARE(m_db.Depth(), 1);
            ScheduleBook inside;
            QVERIFY(AttendanceStore::LoadSchedules(m_db, &inside));
            QCOMPARE(inside.unit.Day(2).lateGrace, 17);
            if (commit)
                QVERIFY(caller.Commit());
        }
        ScheduleBook after;
        QVERIFY(AttendanceStore::LoadSchedules(m_db, &after));
        QCOMPARE(after.unit.Day(2).lateGrace, 17);
        WorkCalendar calendar;
        QVERIFY(
            AttendanceStore::LoadCalendar(m_db, QDate(2030, 1, 1), QDate(2030, 12, 31), &calendar));
        QVERIFY(calendar.Days().empty());
        QVERIFY(AttendanceStore::ReplaceSchedules(m_db, before));
    }

    // A database without the rule tables (an older read-only file) reads
    // as the defaults.
    void withoutRuleTables() {
        QVERIFY(m_dir.exec("DROP TABLE WorkSchedule") && m_dir.exec("DROP TABLE WorkCalendar"));
        ScheduleBook book;
        WorkCalendar calendar;
        QVERIFY(AttendanceStore::LoadSchedules(m_db, &book) &&
                book.unit == WorkSchedule::Default());
        QVERIFY(
            AttendanceStore::LoadCalendar(m_db, QDate(2026, 1, 1), QDate(2026, 12, 31), &calendar));
    }
};

QTEST_GUILESS_MAIN(tst_attendancestore)
#include "tst_attendancestore.moc"
