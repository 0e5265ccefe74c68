#pragma once

#include <QString>
#include <QTime>

#include <array>
#include <map>

// The working hours of one weekday: working or rest, the start and end of
// work and how many minutes after the start (before the end) still count as
// on time.
struct DaySchedule {
    bool working = false;
    QTime start, end;
    int lateGrace = 0, earlyGrace = 0;
};

// A week of working hours.
struct WorkSchedule {
    std::array<DaySchedule, 7> days; // [0] = Monday ... [6] = Sunday
    // Monday to Friday 08:00-17:00 without grace; Saturday and Sunday rest.
    static WorkSchedule Default();
    const DaySchedule& Day(int isoWeekday) const; // 1 = Monday ... 7 = Sunday
    DaySchedule& Day(int isoWeekday);
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
