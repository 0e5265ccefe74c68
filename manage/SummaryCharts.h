#pragma once

class MonthSummary;
class QChart;

// The charts of the attendance summary window, built from a month's summary.
namespace SummaryCharts {

// Presence rate of every day of the month (0 to 100 %), one bar a day; the
// days of rest days and holidays are labelled "N休" and "N假".
QChart* PresenceChart(const MonthSummary& summary);
// Late arrivals of each department, one bar a department.
QChart* LateChart(const MonthSummary& summary);

} // namespace SummaryCharts
