#pragma once

#include "shared/attendance/DayVerdict.h"
#include "shared/db/DbErrors.h"

#include <QDate>
#include <QString>

#include <utility>
#include <vector>

class DbSession;

// The counts of a month for an employee, a department or the unit.
struct SummaryCounts {
    int workingDays = 0, present = 0, lateCount = 0, lateMinutes = 0, earlyCount = 0,
        earlyMinutes = 0, missingDepartures = 0, absent = 0, workedMinutes = 0;
    void Add(const SummaryCounts& other);
    // The counts of one day's verdict; a day counts only before today.
    void Add(const DayVerdict& day, bool beforeToday);
};

// A day corrected in the office (texts/DayVerdictText: "补", "改").
enum class DayMark { None, Added, Changed };

struct EmployeeSummary {
    QString number, name, dept;
    QDate entryDate; // invalid when not stored
    SummaryCounts counts;
    std::vector<DayVerdict> days; // [0] = day 1 of the month
    // [0] = day 1; arrival invalid = no record. The times are the stored
    // wall-clock times without a time zone (Qt::UTC): compare their date()
    // and time(), not the instants, with local date-times.
    std::vector<DayRecord> records;
    // [0] = day 1: Added when the day's record was added to in the office,
    // Changed when changed or removed there (the last correction counts).
    std::vector<DayMark> marks;
    int corrections = 0; // the days of the month corrected
};

// A month of every employee's days judged by the working hours and the
// calendar: two reads (the employees with their departments, the month's
// records), the first record of a day by arrival time counting, as in the
// monthly report.
class MonthSummary {
public:
    // Every employee (ordered by department name, then number) with the
    // verdicts of each day; every count (working days, presence, late and
    // early departures, missing departures, absences, worked time, the
    // presence rate) up to the day before `today`. Records of days after
    // `today` are left out.
    static bool Load(DbSession& session, int year, int month, const QDate& today, MonthSummary* out,
                     Error* error = nullptr);
    int year = 0, month = 0;
    std::vector<EmployeeSummary> employees;
    std::vector<std::pair<QString, SummaryCounts>> departments; // by department name, in order
    SummaryCounts unit;
    // [0] = day 1: present / working employees of that day (0..1); 0 when nobody had to
    // work and from today on.
    std::vector<double> presenceRate;
    std::vector<std::pair<QString, int>> lateByDepartment; // late arrivals per department

    // Judges the loaded records again (after the hours or the calendar
    // changed) and counts anew; Load does this once.
    void Judge(const ScheduleBook& schedules, const WorkCalendar& calendar, const QDate& today);
};
