#pragma once

#include "report/ReportDefinition.h"

#include <QString>

class DbSession;
class clsEmployeePresenceSet;

// The monthly attendance report: one detail row per employee of the month
// table with the arrival above the departure of every day, the days in 16
// columns of two (odd day above, even day below).
class EmployeeMonthReport : public ReportDefinition {
public:
    EmployeeMonthReport();

    // Inputs, set before each run. The month table is not owned and must
    // outlive the run; none means an empty month.
    void setSchoolName(const QString& name) { m_schoolName = name; }
    void setYear(int year) { m_year = year; }
    void setMonth(int month) { m_month = month; }
    void setMonthTable(const clsEmployeePresenceSet* table) { m_table = table; }

    void ReportStart() override;
    void FetchData(bool& eof) override;

    // Loads the month table for days 1 to the last day of the month.
    static bool LoadMonthTable(DbSession& session, int year, int month,
                               clsEmployeePresenceSet& table);
    // The text of a time cell: "HH:mm", empty for the zero date-time.
    static QString TimeText(const QDateTime& t);

private:
    QString m_schoolName;
    int m_year = 0;
    int m_month = 0;
    const clsEmployeePresenceSet* m_table = nullptr;
    int m_row = 0; // the last employee fetched, 1-based
};
