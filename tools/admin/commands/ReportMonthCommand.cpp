#include "tools/admin/commands/ReportMonthCommand.h"

#include "report/ReportPainter.h"
#include "reports/month/EmployeeMonthReport.h"
#include "reports/month/MonthCsv.h"
#include "session/MainSession.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "tools/admin/AdminOptions.h"

#include <QFileInfo>

namespace {

int writePdf(Admin::Context& c, int year, int month, const clsEmployeePresenceSet& table) {
    EmployeeMonthReport report;
    report.setSchoolName(clsSchoolArea().SNAME());
    report.setYear(year);
    report.setMonth(month);
    report.setMonthTable(&table);
    const ReportDocument doc = ReportDocument::Run(report);
    Error error;
    if (!ReportPainter::WritePdfFile(doc, c.args[2], false, &error))
        return Admin::Fail(c.err, error.Text());
    c.out << "wrote " << c.args[2] << " (" << table.Count() << " employees, " << doc.PageCount()
          << " pages)" << Qt::endl;
    return Admin::Success;
}

int writeCsv(Admin::Context& c, int year, int month, const clsEmployeePresenceSet& table) {
    const QString file = c.args[2];
    Error error;
    if (!MonthCsv::WriteFile(MainSession::Get(), year, month, table, file, &error))
        return Admin::Fail(c.err, error.Text());
    c.out << "wrote " << file << " (" << table.Count() << " employees)" << Qt::endl;
    return Admin::Success;
}

} // namespace

ReportMonthCommand::ReportMonthCommand()
    : AdminCommand(
          {.name = QStringLiteral("report-month"),
           .synopsis = QStringLiteral("YEAR MONTH OUT"),
           .summary = QStringLiteral(
               "Writes the monthly attendance report: as PDF when OUT ends in .pdf, as CSV\n"
               "(UTF-8) when it ends in .csv, one line per employee and day with number,\n"
               "name, department, date, arrival, departure and the time between them.\n"
               "An existing OUT is never overwritten."),
           .minArgs = 3,
           .maxArgs = 3,
           .options = {AdminOptions::Dir()},
           // The report lays out and draws its text.
           .gui = Admin::Gui::Always}) {}

int ReportMonthCommand::Run(Admin::Context& c) const {
    int year = 0;
    int month = 0;
    QString file;
    if (const int status = Admin::ParseMonthReport(
            c, {QStringLiteral("pdf"), QStringLiteral("csv")}, &year, &month, &file))
        return status;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;

    clsEmployeePresenceSet table;
    if (!EmployeeMonthReport::LoadMonthTable(MainSession::Get(), year, month, table))
        return Admin::Fail(c.err, QStringLiteral("cannot read the presence records of %1-%2")
                                      .arg(year)
                                      .arg(month, 2, 10, QLatin1Char('0')));
    return suffix == QLatin1String("pdf") ? writePdf(c, year, month, table)
                                          : writeCsv(c, year, month, table);
}
