#include "tools/admin/commands/PrintCardsCommand.h"

#include "report/ReportPainter.h"
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "session/MainSession.h"
#include "shared/records/clsEmployeeSet.h"
#include "tools/admin/AdminOptions.h"

#include <QFileInfo>

PrintCardsCommand::PrintCardsCommand()
    : AdminCommand(
          {.name = QStringLiteral("print-cards"),
           .synopsis = QStringLiteral("OUT.pdf [ENUMBER...]"),
           .summary = QStringLiteral(
               "Writes the sign-in cards of the employees with the given numbers, in that\n"
               "order (all employees when none given), to a PDF file: two cards side by side,\n"
               "with the card design of attendance.ini. An unknown number prints nothing.\n"
               "An existing OUT is never overwritten."),
           .minArgs = 1,
           .maxArgs = -1,
           .options = {AdminOptions::Dir()},
           // The cards are laid out and drawn.
           .gui = Admin::Gui::Always}) {}

int PrintCardsCommand::Run(Admin::Context& c) const {
    const QStringList& args = c.args;
    const QString file = args[0];
    if (QFileInfo(file).suffix().toLower() != QLatin1String("pdf"))
        return Admin::Fail(c.err, QStringLiteral("OUT must end in .pdf: %1").arg(file));
    if (QFileInfo::exists(file))
        return Admin::Fail(c.err,
                           QStringLiteral("%1 exists already; nothing was written").arg(file));
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;

    clsEmployeeSet employees(MainSession::Get());
    QStringList missing;
    Error error;
    if (!SingleEmployeeInfoReport::LoadEmployees(args.mid(1), &employees, &missing, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot read the employees: %1").arg(error.Text()));
    if (!missing.isEmpty())
        return Admin::Fail(c.err,
                           QStringLiteral("no employee with the number %1; nothing was written")
                               .arg(missing.join(QStringLiteral(", "))));

    SingleEmployeeInfoReport report;
    report.setEmployeeSet(&employees);
    const ReportDocument doc = ReportDocument::Run(report);
    if (!ReportPainter::WritePdfFile(doc, file, false, &error))
        return Admin::Fail(c.err, error.Text());
    c.out << "wrote " << file << " (" << doc.DetailCount() << " cards, " << doc.PageCount()
          << " pages)" << Qt::endl;
    return Admin::Success;
}
