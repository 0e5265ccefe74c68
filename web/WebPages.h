#pragma once

#include "shared/attendance/AttendanceLists.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/db/DbErrors.h"
#include "texts/Translation.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

class DbSession;

// The pages' HTML (in the language given, every value escaped), made from
// what the records and rules libraries give; the pages themselves compute
// nothing of the rules.
namespace WebPages {

// 今日: today's records by department with each day's verdict by the rules,
// and the counts present / not yet arrived / resting; reloads itself every
// 30 seconds. Today() reads the month's summary first.
QString Today(DbSession& session, const QDateTime& now, const QString& unitName,
              const Translation& language, Error* why);
QString Today(const MonthSummary& month, const QDateTime& now, const QString& unitName,
              const Translation& language);

QString NotArrived(const std::vector<ListedEmployee>& list, const QDateTime& now,
                   const QString& unitName, const Translation& language);
QString MissingDepartures(const std::vector<ListedEmployee>& list, const QDate& from,
                          const QDate& to, const QString& unitName, const Translation& language);

// The month's columns (SummaryReport::Headings) by which the table sorts.
constexpr int kSortColumns = 13;
// 月度统计: one row per employee with the cells of the summary's CSV and the
// corrected days, sorted by `sortColumn` (-1: as loaded, by department and
// number), each department's total, the unit's, and the two charts.
QString Month(const MonthSummary& month, int sortColumn, bool descending, const QString& unitName,
              const Translation& language);
// The cells of an employee's row as the summary's CSV has them, then the corrected days.
QStringList MonthCells(const EmployeeSummary& e);
// The days of one employee's month.
QString Employee(const MonthSummary& month, const EmployeeSummary& e, const QString& unitName,
                 const Translation& language);

// The sign-in form, with `message` (plain text) above it when not empty.
QString SignIn(const QString& message, const Translation& language);

} // namespace WebPages
