#pragma once

#include "tools/admin/AdminCommand.h"

// attendance-admin report-summary: the month's attendance summary as PDF,
// CSV or spreadsheet.
namespace ReportSummary {
QString Synopsis();
QString Summary();
int Run(Admin::Context& c);
} // namespace ReportSummary
