#include "shared/attendance/WorkSchedule.h"

#include <algorithm>

WorkSchedule WorkSchedule::Default() {
    WorkSchedule s;
    for (int d = 0; d < 7; ++d)
        s.days[d] = DaySchedule{d < 5, QTime(8, 0), QTime(17, 0), 0, 0};
    return s;
}

const DaySchedule& WorkSchedule::Day(int isoWeekday) const {
    return days[std::clamp(isoWeekday, 1, 7) - 1];
}

DaySchedule& WorkSchedule::Day(int isoWeekday) {
    return days[std::clamp(isoWeekday, 1, 7) - 1];
}

DaySchedule::Fault DaySchedule::Check() const {
    if (lateGrace < 0 || lateGrace > kMaxGrace)
        return Fault::LateGrace;
    if (earlyGrace < 0 || earlyGrace > kMaxGrace)
        return Fault::EarlyGrace;
    if (!working)
        return Fault::None;
    if (!start.isValid() || !end.isValid())
        return Fault::NoHours;
    return end > start ? Fault::None : Fault::EndNotAfterStart;
}

QString DaySchedule::TimeText(const QTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("HH:mm")) : QString();
}

DaySchedule WorkSchedule::WorkingHours(int asWeekday) const {
    if (asWeekday >= 1 && asWeekday <= 7 && Day(asWeekday).working)
        return Day(asWeekday);
    for (const DaySchedule& d : days)
        if (d.working)
            return d;
    return Default().Day(1);
}

bool operator==(const DaySchedule& a, const DaySchedule& b) {
    return a.working == b.working && a.start == b.start && a.end == b.end &&
           a.lateGrace == b.lateGrace && a.earlyGrace == b.earlyGrace;
}

bool WorkSchedule::operator==(const WorkSchedule& other) const {
    return days == other.days;
}

const WorkSchedule& ScheduleBook::For(const QString& deptName) const {
    const auto it = departments.find(deptName);
    return it == departments.end() ? unit : it->second;
}
