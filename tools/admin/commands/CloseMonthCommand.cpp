#include "tools/admin/commands/CloseMonthCommand.h"

#include "session/MainSession.h"
#include "shared/db/DbErrors.h"
#include "shared/records/clsMonthClose.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CorrectionOutcome.h"

CloseMonthCommand::CloseMonthCommand()
    : AdminCommand({.name = QStringLiteral("close-month"),
                    .synopsis = QStringLiteral("YEAR MONTH"),
                    .summary = QStringLiteral(
                        "Closes a past month: no correction, import or removal touches its\n"
                        "records afterwards."),
                    .minArgs = 2,
                    .maxArgs = 2,
                    .options = {AdminOptions::Dir()}}) {}

int CloseMonthCommand::Run(Admin::Context& c) const {
    int year = 0, month = 0;
    if (const int status = Admin::ParseMonth(c, 0, &year, &month))
        return status;
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    Error why;
    const clsCorrection::Result result = clsMonthClose::Close(
        MainSession::Get(), year, month, clsCorrection::Operator::Current(), &why);
    return CorrectionOutcome::Tell(
        c, result, why, QDate(year, month, 1),
        QStringLiteral("closed %1").arg(clsMonthClose::Key(year, month)));
}
