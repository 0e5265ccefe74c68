#include "shared/attendance/DayVerdict.h"

#include <algorithm>

namespace {

// Minutes of the time as shown (seconds dropped) since the start of `day`.
qint64 shownMinutes(const QDateTime& t, const QDate& day) {
    return qint64(day.daysTo(t.date())) * 1440 + t.time().hour() * 60 + t.time().minute();
}

int minuteOfDay(const QTime& t) {
    return t.hour() * 60 + t.minute();
}

// The hours of a working day: a make-up workday on a weekday the schedule
// rests works those of a working weekday (the hours written on the rest
// row are never used).
DaySchedule workingHours(const QDate& day, const WorkSchedule& schedule,
                         const WorkCalendar& calendar) {
    const CalendarDay* c = calendar.Find(day);
    if (c && c->asWeekday != 0)
        return schedule.WorkingHours(c->asWeekday);
    return schedule.WorkingHours(day.dayOfWeek());
}

DayKind kindOf(const QDate& day, const WorkSchedule& schedule, const WorkCalendar& calendar) {
    if (const CalendarDay* c = calendar.Find(day))
        return c->kind == CalendarKind::Holiday   ? DayKind::Holiday
               : c->kind == CalendarKind::Workday ? DayKind::Working
                                                  : DayKind::Rest;
    return schedule.Day(day.dayOfWeek()).working ? DayKind::Working : DayKind::Rest;
}

} // namespace

DayVerdict JudgeDay(const QDate& day, const WorkSchedule& schedule, const WorkCalendar& calendar,
                    const QDate& entryDate, const QDate& today, const DayRecord* record) {
    DayVerdict v;
    if (!day.isValid() || (entryDate.isValid() && day < entryDate))
        return v;
    v.kind = kindOf(day, schedule, calendar);
    const bool past = day < today;
    // A record dated after today (a clock set wrong) is no record.
    if (day > today)
        record = nullptr;
    if (!record || !record->arrival.isValid()) {
        v.absent = v.kind == DayKind::Working && past;
        return v;
    }
    v.present = true;
    const qint64 arrival = shownMinutes(record->arrival, day);
    const bool departed = record->departure.isValid();
    const qint64 departure = departed ? shownMinutes(record->departure, day) : 0;
    if (departed && departure >= arrival)
        v.workedMinutes = int(departure - arrival);
    v.missingDeparture = !departed && past;
    if (v.kind != DayKind::Working)
        return v;
    const DaySchedule hours = workingHours(day, schedule, calendar);
    const int late = int(std::max<qint64>(0, arrival - minuteOfDay(hours.start)));
    if (late > hours.lateGrace) {
        v.late = true;
        v.lateMinutes = late;
    }
    if (departed && departure < 1440) {
        const int early = int(std::max<qint64>(0, minuteOfDay(hours.end) - departure));
        if (early > hours.earlyGrace) {
            v.early = true;
            v.earlyMinutes = early;
        }
    }
    return v;
}
