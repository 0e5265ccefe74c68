#include "tools/admin/commands/ReportSummaryCommand.h"

#include "report/ReportPainter.h"
#include "reports/summary/SummaryCsv.h"
#include "reports/summary/SummaryReport.h"
#include "reports/summary/SummaryXlsx.h"
#include "session/MainSession.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/config/clsSchoolArea.h"
#include "tools/admin/AdminOptions.h"

#include <QFileInfo>

namespace {

int written(Admin::Context& c, const MonthSummary& m, const QString& more = QString()) {
    c.out << "wrote " << c.args[2] << " (" << m.employees.size() << " employees" << more << ")"
          << Qt::endl;
    return Admin::Success;
}

int writeOut(Admin::Context& c, const QString& suffix, const MonthSummary& m) {
    const QString file = c.args[2];
    Error error;
    if (suffix == QLatin1String("csv")) {
        if (!SummaryCsv::Write(m, file, &error))
            return Admin::Fail(c.err, error.Text());
        return written(c, m);
    }
    if (suffix == QLatin1String("xlsx")) {
        if (!SummaryXlsx::Write(m, clsSchoolArea().SNAME(), file, &error))
            return Admin::Fail(c.err, error.Text());
        return written(c, m);
    }
    SummaryReport report;
    report.setUnitName(clsSchoolArea().SNAME());
    report.setSummary(&m);
    const ReportDocument doc = ReportDocument::Run(report);
    if (!ReportPainter::WritePdfFile(doc, file, false, &error))
        return Admin::Fail(c.err, error.Text());
    return written(c, m, QStringLiteral(", %1 pages").arg(doc.PageCount()));
}

} // namespace

ReportSummaryCommand::ReportSummaryCommand()
    : AdminCommand(
          {.name = QStringLiteral("report-summary"),
           .synopsis = QStringLiteral("YEAR MONTH OUT"),
           .summary = QStringLiteral(
               "Writes the month's attendance summary by the working hours and the calendar:\n"
               "as PDF when OUT ends in .pdf; as CSV (UTF-8 with BOM) when it ends in .csv,\n"
               "one line per employee with number, name, department, working days, days\n"
               "present, late count and minutes, early-departure count and minutes, missing\n"
               "departures, absent days and worked time (H:mm); as a spreadsheet when it ends\n"
               "in .xlsx (the summary with totals, and every employee's days). Every count\n"
               "runs up to yesterday; records dated after today are ignored. YEAR is\n"
               "1900-2100. An existing OUT is never overwritten."),
           .minArgs = 3,
           .maxArgs = 3,
           .options = {AdminOptions::Dir()},
           // The report lays out and draws its text.
           .gui = Admin::Gui::Always}) {}

int ReportSummaryCommand::Run(Admin::Context& c) const {
    int year = 0;
    int month = 0;
    QString file;
    if (const int status = Admin::ParseMonthReport(
            c, {QStringLiteral("pdf"), QStringLiteral("csv"), QStringLiteral("xlsx")}, &year,
            &month, &file))
        return status;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    MonthSummary summary;
    Error error;
    if (!MonthSummary::Load(MainSession::Get(), year, month, AppClock::now().date(), &summary,
                            &error))
        return Admin::Fail(c.err, QStringLiteral("cannot read the month %1-%2: %3")
                                      .arg(year)
                                      .arg(month, 2, 10, QLatin1Char('0'))
                                      .arg(error.Text()));
    return writeOut(c, suffix, summary);
}
