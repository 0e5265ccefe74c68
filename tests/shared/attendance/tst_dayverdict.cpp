// The verdict of one day, case by case: the calendar over the weekday,
// grace, minutes of the times as shown, the entry date and today.
#include "shared/attendance/DayVerdict.h"
#include "texts/DayVerdictText.h"

#include <QtTest>

Q_DECLARE_METATYPE(DayKind)

class tst_dayverdict : public QObject {
    Q_OBJECT

    static QDateTime at(int day, const char* time) {
        return QDateTime(QDate(2026, 3, day), QTime::fromString(QLatin1String(time), "HH:mm:ss"));
    }

private slots:
    void judge_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<QDateTime>("arrival");
        QTest::addColumn<QDateTime>("departure");
        QTest::addColumn<int>("today");
        QTest::addColumn<DayKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("worked");
        const QDateTime none;
        using K = DayKind;
        // March 2026: the 2nd is a Monday (grace 5 on Mondays; Tuesdays no
        // late grace and an early grace of 10), the 3rd a holiday, the 4th a
        // rest day, the 8th (Sunday) a make-up workday; Saturdays rest with
        // the hours 07:30-12:00 on their row, the 21st and the 28th are
        // make-up workdays, the 28th working Tuesday's hours; entry on the
        // 2nd; today the 1st of April unless given.
        QTest::newRow("saturday") << 7 << none << none << 32 << K::Rest << "休息" << 0;
        QTest::newRow("holiday") << 3 << none << none << 32 << K::Holiday << "节假日" << 0;
        QTest::newRow("rest day") << 4 << none << none << 32 << K::Rest << "休息" << 0;
        QTest::newRow("make-up workday absent")
            << 8 << none << none << 32 << K::Working << "缺勤" << 0;
        QTest::newRow("within grace, seconds dropped")
            << 2 << at(2, "08:05:59") << at(2, "17:00:00") << 32 << K::Working << "正常" << 535;
        QTest::newRow("late past grace counts from start")
            << 9 << at(9, "08:06:00") << at(9, "17:10:00") << 32 << K::Working << "迟到6分钟"
            << 544;
        QTest::newRow("late and early") << 5 << at(5, "08:01:30") << at(5, "16:59:59") << 32
                                        << K::Working << "迟到1分钟、早退1分钟" << 538;
        QTest::newRow("missing departure")
            << 6 << at(6, "09:00:00") << none << 32 << K::Working << "迟到60分钟、未签退" << 0;
        QTest::newRow("today still at work")
            << 6 << at(6, "09:00:00") << none << 6 << K::Working << "迟到60分钟" << 0;
        QTest::newRow("today not yet arrived") << 6 << none << none << 6 << K::Working << "" << 0;
        QTest::newRow("future day") << 20 << none << none << 6 << K::Working << "" << 0;
        QTest::newRow("before entry date")
            << 1 << at(1, "08:00:00") << at(1, "17:00:00") << 32 << K::NotCounted << "" << 0;
        QTest::newRow("departure after midnight") << 10 << at(10, "22:00:00") << at(11, "01:30:00")
                                                  << 32 << K::Working << "迟到840分钟" << 210;
        QTest::newRow("future day with a record")
            << 20 << at(20, "08:00:00") << at(20, "17:00:00") << 6 << K::Working << "" << 0;
        QTest::newRow("work on a saturday")
            << 14 << at(14, "10:00:00") << at(14, "12:00:00") << 32 << K::Rest << "休息" << 120;
        QTest::newRow("early grace 10, 5 minutes early")
            << 10 << at(10, "08:00:00") << at(10, "16:55:00") << 32 << K::Working << "正常" << 535;
        QTest::newRow("early grace 10, 10 minutes early")
            << 10 << at(10, "08:00:00") << at(10, "16:50:00") << 32 << K::Working << "正常" << 530;
        QTest::newRow("early grace 10, 11 minutes early")
            << 10 << at(10, "07:59:00") << at(10, "16:49:00") << 32 << K::Working << "早退11分钟"
            << 530;
        QTest::newRow("late grace 0, one minute late")
            << 10 << at(10, "08:01:00") << at(10, "17:00:00") << 32 << K::Working << "迟到1分钟"
            << 539;
        QTest::newRow("make-up saturday keeps monday's hours, not the rest row's")
            << 21 << at(21, "08:05:00") << at(21, "17:00:00") << 32 << K::Working << "正常" << 535;
        QTest::newRow("make-up saturday as tuesday")
            << 28 << at(28, "08:05:00") << at(28, "16:55:00") << 32 << K::Working << "迟到5分钟"
            << 530;
        QTest::newRow("work on a holiday, no departure")
            << 3 << at(3, "10:00:00") << none << 32 << K::Holiday << "节假日、未签退" << 0;
    }

    void judge() {
        QFETCH(int, day);
        QFETCH(QDateTime, arrival);
        QFETCH(QDateTime, departure);
        QFETCH(int, today);
        WorkSchedule hours = WorkSchedule::Default();
        hours.Day(1).lateGrace = hours.Day(1).earlyGrace = 5;
        hours.Day(2).earlyGrace = 10;
        hours.Day(6) = DaySchedule{false, QTime(7, 30), QTime(12, 0), 0, 0};
        WorkCalendar calendar;
        calendar.Set({QDate(2026, 3, 3), CalendarKind::Holiday, QStringLiteral("节")});
        calendar.Set({QDate(2026, 3, 4), CalendarKind::Rest, QStringLiteral("寒假")});
        calendar.Set({QDate(2026, 3, 8), CalendarKind::Workday, QStringLiteral("节")});
        calendar.Set({QDate(2026, 3, 21), CalendarKind::Workday, QStringLiteral("节")});
        calendar.Set({QDate(2026, 3, 28), CalendarKind::Workday, QStringLiteral("节"), 2});
        const DayRecord record{arrival, departure};
        const DayVerdict v =
            JudgeDay(QDate(2026, 3, day), hours, calendar, QDate(2026, 3, 2),
                     QDate(2026, 3, 1).addDays(today - 1), arrival.isValid() ? &record : nullptr);
        QFETCH(DayKind, kind);
        QCOMPARE(v.kind, kind);
        QTEST(DayVerdictText(v), "text");
        QTEST(v.workedMinutes, "worked");
        QCOMPARE(v.present, arrival.isValid() && v.kind != DayKind::NotCounted && day <= today);
        QCOMPARE(v.lateMinutes > 0, v.late);
        QCOMPARE(v.earlyMinutes > 0, v.early);
        QVERIFY(!(v.absent && v.present));
        // Rest days and holidays: no minutes late or early, whatever the times.
        if (v.kind != DayKind::Working)
            QVERIFY(!v.late && !v.early && v.lateMinutes == 0 && v.earlyMinutes == 0);
    }

    // A date set again replaces its entry: a holiday, then a make-up workday.
    void calendarDateSetAgain() {
        WorkCalendar calendar;
        const QDate d(2026, 2, 15);
        calendar.Set({d, CalendarKind::Holiday, QStringLiteral("春节")});
        calendar.Set({d, CalendarKind::Workday, QStringLiteral("调休"), 5});
        QCOMPARE(calendar.Days().size(), size_t(1));
        QCOMPARE(calendar.Find(d)->kind, CalendarKind::Workday);
        QCOMPARE(calendar.Find(d)->name, QStringLiteral("调休"));
        QVERIFY(calendar.IsWorkingDay(d, WorkSchedule::Default()));
    }

    // The one check of the schedule editor and schedule-import, at its
    // boundaries; a rest day's times are not checked.
    void dayScheduleCheck() {
        using F = DaySchedule::Fault;
        const auto check = [](bool working, const char* start, const char* end, int late,
                              int early) {
            return DaySchedule{working, QTime::fromString(QLatin1String(start), "HH:mm"),
                               QTime::fromString(QLatin1String(end), "HH:mm"), late, early}
                .Check();
        };
        QCOMPARE(check(true, "08:00", "08:01", 240, 240), F::None);
        QCOMPARE(check(true, "08:00", "08:00", 0, 0), F::EndNotAfterStart);
        QCOMPARE(check(true, "08:00", "07:00", 0, 0), F::EndNotAfterStart);
        QCOMPARE(check(true, "08:00", "", 0, 0), F::NoHours);
        QCOMPARE(check(true, "08:00", "17:00", 0, 241), F::EarlyGrace);
        QCOMPARE(check(true, "08:00", "17:00", -1, 0), F::LateGrace);
        QCOMPARE(check(false, "08:00", "07:00", 0, 0), F::None);
        QCOMPARE(check(false, "", "", 0, 0), F::None);
        QCOMPARE(check(false, "", "", 241, 0), F::LateGrace);
    }
};

QTEST_GUILESS_MAIN(tst_dayverdict)
#include "tst_dayverdict.moc"
