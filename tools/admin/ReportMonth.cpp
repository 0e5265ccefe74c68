#include "tools/admin/ReportMonth.h"

#include "report/ReportPainter.h"
#include "reports/month/EmployeeMonthReport.h"
#include "reports/month/MonthCsv.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/records/clsEmployeePresenceSet.h"

#include <QFileInfo>

namespace ReportMonth {

namespace {

enum Status { Success = 0, Failure = 1 };

int failure(QTextStream& err, const QString& message) {
    err << "attendance-admin: " << message << Qt::endl;
    return Failure;
}

} // namespace

QString Synopsis() {
    return QStringLiteral("YEAR MONTH OUT");
}

QString Summary() {
    return QStringLiteral(
        "Writes the monthly attendance report: as PDF when OUT ends in .pdf, as CSV\n"
        "(UTF-8) when it ends in .csv, one line per employee and day with number,\n"
        "name, department, date, arrival, departure and the time between them.\n"
        "An existing OUT is never overwritten.");
}

int Run(const QStringList& args, const std::function<bool()>& openDirectory, QTextStream& out,
        QTextStream& err) {
    bool yearOk = false;
    bool monthOk = false;
    const int year = args[0].toInt(&yearOk);
    const int month = args[1].toInt(&monthOk);
    if (!yearOk || year < 1900 || year > 9999)
        return failure(err, QStringLiteral("not a year: %1").arg(args[0]));
    if (!monthOk || month < 1 || month > 12)
        return failure(err, QStringLiteral("not a month (1 to 12): %1").arg(args[1]));
    const QString file = args[2];
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("csv"))
        return failure(err, QStringLiteral("OUT must end in .pdf or .csv: %1").arg(file));
    if (QFileInfo::exists(file))
        return failure(err, QStringLiteral("%1 exists already; nothing was written").arg(file));
    if (!openDirectory())
        return Failure;

    clsEmployeePresenceSet table;
    if (!EmployeeMonthReport::LoadMonthTable(year, month, table))
        return failure(err, QStringLiteral("cannot read the presence records of %1-%2")
                                .arg(year)
                                .arg(month, 2, 10, QLatin1Char('0')));

    QString error;
    if (suffix == QLatin1String("pdf")) {
        EmployeeMonthReport report;
        report.setSchoolName(clsSchoolArea().SNAME());
        report.setYear(year);
        report.setMonth(month);
        report.setMonthTable(&table);
        const ReportDocument doc = ReportDocument::Run(report);
        if (!ReportPainter::WritePdfFile(doc, file, false, &error))
            return failure(err, error);
        out << "wrote " << file << " (" << table.Count() << " employees, " << doc.PageCount()
            << " pages)" << Qt::endl;
        return Success;
    }

    if (!MonthCsv::WriteFile(year, month, table, file, &error))
        return failure(err, error);
    out << "wrote " << file << " (" << table.Count() << " employees)" << Qt::endl;
    return Success;
}

} // namespace ReportMonth
