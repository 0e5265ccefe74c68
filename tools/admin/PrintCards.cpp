#include "tools/admin/PrintCards.h"

#include "report/ReportPainter.h"
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "shared/records/clsEmployeeSet.h"

#include <QFileInfo>

namespace PrintCards {

namespace {

enum Status { Success = 0, Failure = 1 };

int failure(QTextStream& err, const QString& message) {
    err << "attendance-admin: " << message << Qt::endl;
    return Failure;
}

} // namespace

QString Synopsis() {
    return QStringLiteral("OUT.pdf [ENUMBER...]");
}

QString Summary() {
    return QStringLiteral(
        "Writes the sign-in cards of the employees with the given numbers, in that\n"
        "order (all employees when none given), to a PDF file: two cards side by side,\n"
        "with the card design of attendance.ini. An unknown number prints nothing.\n"
        "An existing OUT is never overwritten.");
}

int Run(const QStringList& args, const std::function<bool()>& openDirectory, QTextStream& out,
        QTextStream& err) {
    const QString file = args[0];
    if (QFileInfo(file).suffix().toLower() != QLatin1String("pdf"))
        return failure(err, QStringLiteral("OUT must end in .pdf: %1").arg(file));
    if (QFileInfo::exists(file))
        return failure(err, QStringLiteral("%1 exists already; nothing was written").arg(file));
    if (!openDirectory())
        return Failure;

    clsEmployeeSet employees;
    QStringList missing;
    QString error;
    if (!SingleEmployeeInfoReport::LoadEmployees(args.mid(1), &employees, &missing, &error))
        return failure(err, QStringLiteral("cannot read the employees: %1").arg(error));
    if (!missing.isEmpty())
        return failure(err, QStringLiteral("no employee with the number %1; nothing was written")
                                .arg(missing.join(QStringLiteral(", "))));

    SingleEmployeeInfoReport report;
    report.setEmployeeSet(&employees);
    const ReportDocument doc = ReportDocument::Run(report);
    if (!ReportPainter::WritePdfFile(doc, file, false, &error))
        return failure(err, error);
    out << "wrote " << file << " (" << doc.DetailCount() << " cards, " << doc.PageCount()
        << " pages)" << Qt::endl;
    return Success;
}

} // namespace PrintCards
