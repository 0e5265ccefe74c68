#include "shared/attendance/MonthSummary.h"

#include "shared/attendance/AttendanceStore.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/records/PresenceDay.h"
#include "shared/records/clsCorrection.h"

#include <QHash>
#include <QSqlError>

#include <algorithm>

void SummaryCounts::Add(const SummaryCounts& o) {
    workingDays += o.workingDays;
    present += o.present;
    lateCount += o.lateCount;
    lateMinutes += o.lateMinutes;
    earlyCount += o.earlyCount;
    earlyMinutes += o.earlyMinutes;
    missingDepartures += o.missingDepartures;
    absent += o.absent;
    workedMinutes += o.workedMinutes;
}

void SummaryCounts::Add(const DayVerdict& d, bool beforeToday) {
    // Today's arrival is no count yet, as today is no working day yet.
    if (!beforeToday)
        return;
    workingDays += d.kind == DayKind::Working ? 1 : 0;
    present += d.present ? 1 : 0;
    lateCount += d.late ? 1 : 0;
    lateMinutes += d.lateMinutes;
    earlyCount += d.early ? 1 : 0;
    earlyMinutes += d.earlyMinutes;
    missingDepartures += d.missingDeparture ? 1 : 0;
    absent += d.absent ? 1 : 0;
    workedMinutes += d.workedMinutes;
}

namespace {

// The number with A-Z folded, as the database compares numbers.
QString folded(const QString& number) {
    QString s = number;
    for (QChar& c : s)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return s;
}

// A stored date-time's fields, read without building a QDateTime: the
// month has tens of thousands of values.
struct Stamp {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool valid = false;

    // The stored form by hand; the other forms other tools wrote through
    // DbDateTime. The zero date-time ("no time") is not valid.
    explicit Stamp(const QString& text) {
        if (text.size() == 19 && text[4] == u'-' && text[7] == u'-' && text[13] == u':' &&
            text[16] == u':') {
            year = num(text, 0, 4), month = num(text, 5, 2), day = num(text, 8, 2);
            hour = num(text, 11, 2), minute = num(text, 14, 2), second = num(text, 17, 2);
            valid = QDate::isValid(year, month, day) && QTime::isValid(hour, minute, second);
        } else if (const QDateTime t = DbDateTime::FromText(text); t.isValid()) {
            const QDate d = t.date();
            year = d.year(), month = d.month(), day = d.day();
            hour = t.time().hour(), minute = t.time().minute(), second = t.time().second();
            valid = true;
        }
        valid = valid && year > 1900;
    }
    // The wall-clock time without a time zone: a local date-time costs a
    // zone look-up per value.
    QDateTime WallClock() const {
        return valid ? QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
                     : QDateTime();
    }

private:
    static int num(const QString& s, int from, int n) { return DbDateTime::Digits(s, from, n); }
};

bool loadEmployees(DbSession& session, std::vector<EmployeeSummary>* out, Error* error) {
    auto q = DbQuery::Read(
        session,
        QStringLiteral("SELECT Employee.ENUMBER, Employee.ENAME, Employee.ENTERDATE, Dept.DNAME "
                       "FROM Employee LEFT JOIN Dept ON Dept.ID = Employee.DID"),
        {}, error);
    if (!q)
        return false;
    while (q->next()) {
        EmployeeSummary e;
        e.number = q->value(0).toString();
        e.name = q->value(1).toString();
        const Stamp entered(q->value(2).toString());
        if (entered.valid)
            e.entryDate = QDate(entered.year, entered.month, entered.day);
        e.dept = q->value(3).toString();
        out->push_back(std::move(e));
    }
    if (q->lastError().isValid())
        return DbErrors::From(q->lastError()).Report(error);
    // By character codes on both engines, an employee without department first.
    std::sort(out->begin(), out->end(), [](const EmployeeSummary& a, const EmployeeSummary& b) {
        return a.dept != b.dept ? a.dept < b.dept : a.number < b.number;
    });
    return true;
}

// Each record of the month goes to the employee numbered alike, else to the
// first by number whose number differs only in the case of A-Z; the day
// keeps its first record (PresenceDay::Precedes). Records of days after
// today are left out.
bool loadRecords(DbSession& session, int year, int month, const QDate& today,
                 std::vector<EmployeeSummary>* employees, Error* error) {
    const QDate first(year, month, 1);
    const int days = first.daysInMonth();
    QHash<QString, int> exact, loose;
    exact.reserve(int(employees->size()));
    loose.reserve(int(employees->size()));
    for (int i = 0; i < int(employees->size()); ++i) {
        EmployeeSummary& e = (*employees)[i];
        e.records.assign(days, DayRecord());
        exact.insert(e.number, i);
        const QString key = folded(e.number);
        const auto it = loose.constFind(key);
        if (it == loose.cend() || e.number < (*employees)[*it].number)
            loose.insert(key, i);
    }
    auto q = DbQuery::Read(
        session,
        QStringLiteral("SELECT ENUMBER, ENTERTIME, EXITTIME FROM Presence "
                       "WHERE ENTERTIME >= ? AND ENTERTIME < ?"),
        {DbDateTime::DayStart(first), DbDateTime::DayEnd(first.addDays(days - 1))}, error);
    if (!q)
        return false;
    while (q->next()) {
        const QString number = q->value(0).toString();
        int who = exact.value(number, -1);
        if (who < 0)
            who = loose.value(folded(number), -1);
        const Stamp arrival(q->value(1).toString());
        if (who < 0 || !arrival.valid || arrival.year != year || arrival.month != month ||
            QDate(year, month, arrival.day) > today)
            continue;
        DayRecord& slot = (*employees)[who].records[arrival.day - 1];
        const QDateTime enter = arrival.WallClock();
        if (!PresenceDay::Precedes(enter, slot.arrival))
            continue;
        slot = DayRecord{enter,
                         q->isNull(2) ? QDateTime() : Stamp(q->value(2).toString()).WallClock()};
    }
    return !q->lastError().isValid() || DbErrors::From(q->lastError()).Report(error);
}

// The marks of the corrected days from the trail, matched to the employees
// as the records are.
bool loadMarks(DbSession& session, int year, int month, std::vector<EmployeeSummary>* employees,
               Error* error) {
    clsCorrection::Marks marks;
    if (!clsCorrection::MonthMarks(session, year, month, &marks, error))
        return false;
    QHash<QString, int> exact, loose;
    for (int i = 0; i < int(employees->size()); ++i) {
        EmployeeSummary& e = (*employees)[i];
        e.marks.assign(e.records.size(), DayMark::None);
        exact.insert(e.number, i);
        const auto it = loose.constFind(folded(e.number));
        if (it == loose.cend() || e.number < (*employees)[*it].number)
            loose.insert(folded(e.number), i);
    }
    for (const auto& [number, days] : marks) {
        const int who = exact.value(number, loose.value(folded(number), -1));
        if (who < 0)
            continue;
        EmployeeSummary& e = (*employees)[who];
        for (const auto& [day, action] : days) {
            if (day < 1 || day > int(e.marks.size()))
                continue;
            e.corrections += e.marks[day - 1] == DayMark::None ? 1 : 0;
            e.marks[day - 1] =
                action == clsCorrection::Action::Add ? DayMark::Added : DayMark::Changed;
        }
    }
    return true;
}

} // namespace

void MonthSummary::Judge(const ScheduleBook& schedules, const WorkCalendar& calendar,
                         const QDate& today) {
    const QDate first(year, month, 1);
    const int days = first.daysInMonth();
    std::vector<int> working(days, 0), present(days, 0);
    departments.clear();
    lateByDepartment.clear();
    unit = SummaryCounts();
    for (EmployeeSummary& e : employees) {
        const WorkSchedule& hours = schedules.For(e.dept);
        e.counts = SummaryCounts();
        e.days.assign(days, DayVerdict());
        for (int d = 0; d < days; ++d) {
            const DayRecord* record = e.records[d].arrival.isValid() ? &e.records[d] : nullptr;
            const QDate date = first.addDays(d);
            const DayVerdict v = JudgeDay(date, hours, calendar, e.entryDate, today, record);
            e.days[d] = v;
            e.counts.Add(v, date < today);
            if (v.kind == DayKind::Working && date < today) {
                ++working[d];
                present[d] += v.present ? 1 : 0;
            }
        }
        if (departments.empty() || departments.back().first != e.dept)
            departments.emplace_back(e.dept, SummaryCounts());
        departments.back().second.Add(e.counts);
        unit.Add(e.counts);
    }
    presenceRate.assign(days, 0.0);
    for (int d = 0; d < days; ++d)
        presenceRate[d] = working[d] ? double(present[d]) / working[d] : 0.0;
    for (const auto& [dept, counts] : departments)
        lateByDepartment.emplace_back(dept, counts.lateCount);
}

bool MonthSummary::Load(DbSession& session, int year, int month, const QDate& today,
                        MonthSummary* out, Error* error) {
    MonthSummary s;
    s.year = year;
    s.month = month;
    const QDate first(year, month, 1);
    if (!first.isValid())
        return Error::Fail(error, QStringLiteral("no month %1-%2").arg(year).arg(month));
    ScheduleBook schedules;
    WorkCalendar calendar;
    if (!AttendanceStore::LoadSchedules(session, &schedules, error) ||
        !AttendanceStore::LoadCalendar(session, first, first.addDays(first.daysInMonth() - 1),
                                       &calendar, error) ||
        !loadEmployees(session, &s.employees, error) ||
        !loadRecords(session, year, month, today, &s.employees, error) ||
        !loadMarks(session, year, month, &s.employees, error))
        return false;
    s.Judge(schedules, calendar, today);
    *out = std::move(s);
    return true;
}
