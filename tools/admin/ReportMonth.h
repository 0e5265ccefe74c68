#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

// attendance-admin report-month YEAR MONTH OUT: the monthly attendance
// report without a window, as PDF (OUT ending in .pdf) or as CSV (.csv).
namespace ReportMonth {

QString Synopsis();
QString Summary();

// `args` are YEAR MONTH OUT; `openDirectory` points the records at the
// program directory (false: it has reported why). Returns the exit status.
int Run(const QStringList& args, const std::function<bool()>& openDirectory, QTextStream& out,
        QTextStream& err);

} // namespace ReportMonth
