#pragma once

#include "shared/attendance/WorkSchedule.h"

#include <QDate>
#include <QString>

#include <map>
#include <vector>

// What a calendar date is: a public holiday, a working day moved onto a
// weekend (named after the holiday it belongs to) or a rest day of the unit.
enum class CalendarKind { Holiday, Workday, Rest };
QString CalendarKindKey(CalendarKind kind); // "holiday" | "workday" | "rest"
bool ParseCalendarKind(const QString& key, CalendarKind* out);
// Its text for lists and reports: texts/CalendarKindText.

struct CalendarDay {
    QDate date;
    CalendarKind kind = CalendarKind::Holiday;
    QString name;
    // A make-up workday works the hours of this weekday (1 = Monday ... 7 =
    // Sunday); 0: those of the first working weekday. 0 for other kinds.
    int asWeekday = 0;
};

// The dates that differ from the weekly working hours; a date here decides
// over its weekday.
class WorkCalendar {
public:
    void Set(const CalendarDay& day); // replaces that date
    void Remove(const QDate& date);
    const CalendarDay* Find(const QDate& date) const; // null when the date has no entry
    std::vector<CalendarDay> Days() const;            // in date order
    bool IsWorkingDay(const QDate& date, const WorkSchedule& schedule) const;

private:
    std::map<QDate, CalendarDay> days_;
};
