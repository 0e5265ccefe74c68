#pragma once

#include "tools/admin/AdminCommand.h"

// attendance-admin report-month YEAR MONTH OUT: the monthly attendance
// report without a window, as PDF (OUT ending in .pdf) or as CSV (.csv).
namespace ReportMonth {

QString Synopsis();
QString Summary();

// The arguments are YEAR MONTH OUT. Returns the exit status.
int Run(Admin::Context& c);

} // namespace ReportMonth
