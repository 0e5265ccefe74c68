#include "shared/attendance/WorkCalendar.h"

QString CalendarKindKey(CalendarKind kind) {
    switch (kind) {
    case CalendarKind::Holiday:
        return QStringLiteral("holiday");
    case CalendarKind::Workday:
        return QStringLiteral("workday");
    case CalendarKind::Rest:
        break;
    }
    return QStringLiteral("rest");
}

bool ParseCalendarKind(const QString& key, CalendarKind* out) {
    for (CalendarKind k : {CalendarKind::Holiday, CalendarKind::Workday, CalendarKind::Rest})
        if (key.trimmed().compare(CalendarKindKey(k), Qt::CaseInsensitive) == 0) {
            *out = k;
            return true;
        }
    return false;
}

void WorkCalendar::Set(const CalendarDay& day) {
    days_[day.date] = day;
}

void WorkCalendar::Remove(const QDate& date) {
    days_.erase(date);
}

const CalendarDay* WorkCalendar::Find(const QDate& date) const {
    const auto it = days_.find(date);
    return it == days_.end() ? nullptr : &it->second;
}

std::vector<CalendarDay> WorkCalendar::Days() const {
    std::vector<CalendarDay> out;
    out.reserve(days_.size());
    for (const auto& [date, day] : days_)
        out.push_back(day);
    return out;
}

bool WorkCalendar::IsWorkingDay(const QDate& date, const WorkSchedule& schedule) const {
    if (const CalendarDay* d = Find(date))
        return d->kind == CalendarKind::Workday;
    return schedule.Day(date.dayOfWeek()).working;
}
