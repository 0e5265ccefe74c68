#pragma once

#include <QString>
#include <QTime>

#include <array>
#include <map>

// The working hours of one weekday: working or rest, the start and end of
// work and how many minutes after the start (before the end) still count as
// on time.
struct DaySchedule {
    static constexpr int kMaxGrace = 240; // minutes
    bool working = false;
    QTime start, end;
    int lateGrace = 0, earlyGrace = 0;

    // What keeps the hours from being stored: a grace outside 0-240 minutes
    // (on any row), a working day without both times or ending at or
    // before its start. A rest day's times are never used and not checked.
    enum class Fault { None, LateGrace, EarlyGrace, NoHours, EndNotAfterStart };
    Fault Check() const;

    // A start or an end as the rule table and the hours' file hold it:
    // "HH:mm", empty for no time.
    static QString TimeText(const QTime& t);
};

// A week of working hours.
struct WorkSchedule {
    std::array<DaySchedule, 7> days; // [0] = Monday ... [6] = Sunday
    // Monday to Friday 08:00-17:00 without grace; Saturday and Sunday rest.
    static WorkSchedule Default();
    const DaySchedule& Day(int isoWeekday) const; // 1 = Monday ... 7 = Sunday
    DaySchedule& Day(int isoWeekday);
    // The hours of a make-up workday: those of `asWeekday` (1-7) when the
    // week works that day, else those of the first working weekday, else
    // Monday's of the default week.
    DaySchedule WorkingHours(int asWeekday) const;
    bool operator==(const WorkSchedule& other) const;
};

bool operator==(const DaySchedule& a, const DaySchedule& b);

// The unit's working hours and those of the departments that have their own.
struct ScheduleBook {
    WorkSchedule unit = WorkSchedule::Default();
    std::map<QString, WorkSchedule> departments; // by department name (Dept.DNAME)
    // The department's own, else the unit's.
    const WorkSchedule& For(const QString& deptName) const;
};
