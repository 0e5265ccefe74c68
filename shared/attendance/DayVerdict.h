#pragma once

#include "shared/attendance/WorkCalendar.h"
#include "shared/attendance/WorkSchedule.h"

#include <QDateTime>
#include <QString>

// One day's record of an employee: the first of the day by arrival time.
struct DayRecord {
    QDateTime arrival;
    QDateTime departure; // invalid = none
};

enum class DayKind { NotCounted, Rest, Holiday, Working }; // NotCounted: before the entry date

// What a day was for one employee.
struct DayVerdict {
    DayKind kind = DayKind::NotCounted;
    bool present = false, late = false, early = false, missingDeparture = false, absent = false;
    int lateMinutes = 0, earlyMinutes = 0, workedMinutes = 0;
    // Its text for a window, report or page: texts/DayVerdictText.
};

// The verdict of `day` for an employee who entered on `entryDate` (invalid:
// every day counts), given the working hours, the calendar, the date of
// today and the day's record (null = none). No database, no clock.
//
// The calendar decides over the weekday. A record on a rest day or holiday
// makes the day present with its worked time, never late, early or absent.
// A working day without record is absent only before today; an arrival
// without departure is a missing departure only before today (today the
// employee may still be at work). Minutes are those of the times as shown
// (HH:MM): late minutes run from the scheduled start, early minutes up to
// the scheduled end, and the grace decides only whether they count. A
// departure on a later day than its arrival (after midnight) is never early.
// A make-up workday works the hours of the weekday its calendar entry names
// when the schedule works that day, else its own weekday's when that is a
// working day, else those of the schedule's first working weekday
// (08:00-17:00 when none); the hours on a rest row are never used. A record
// of a day after today is ignored.
DayVerdict JudgeDay(const QDate& day, const WorkSchedule& schedule, const WorkCalendar& calendar,
                    const QDate& entryDate, const QDate& today, const DayRecord* record);
