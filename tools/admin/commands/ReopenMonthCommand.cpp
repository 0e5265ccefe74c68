#include "tools/admin/commands/ReopenMonthCommand.h"

#include "session/MainSession.h"
#include "shared/db/DbErrors.h"
#include "shared/records/clsMonthClose.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/ServerOptions.h"
#include "tools/admin/commands/CorrectionOutcome.h"

ReopenMonthCommand::ReopenMonthCommand()
    : AdminCommand(
          {.name = QStringLiteral("reopen-month"),
           .synopsis = QStringLiteral("YEAR MONTH --admin-password PW"),
           .summary = QStringLiteral("Reopens a closed month; takes the administrator password."),
           .minArgs = 2,
           .maxArgs = 2,
           .options = {AdminOptions::Dir(), AdminOptions::AdminPassword()}}) {}

int ReopenMonthCommand::Run(Admin::Context& c) const {
    int year = 0, month = 0;
    QString password;
    bool given = false;
    if (const int status = Admin::ParseMonth(c, 0, &year, &month))
        return status;
    if (!ServerOptions::Secret(c, "admin-password", nullptr, &password, &given))
        return Admin::Failure;
    if (!given)
        return Admin::Fail(c.err, QStringLiteral("reopening takes --admin-password"));
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    Error why;
    const clsCorrection::Result result = clsMonthClose::Reopen(
        MainSession::Get(), year, month, password, clsCorrection::Operator::Current(), &why);
    return CorrectionOutcome::Tell(
        c, result, why, QDate(year, month, 1),
        QStringLiteral("reopened %1").arg(clsMonthClose::Key(year, month)));
}
