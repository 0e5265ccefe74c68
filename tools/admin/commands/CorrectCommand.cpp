#include "tools/admin/commands/CorrectCommand.h"

#include "session/MainSession.h"
#include "shared/base/PlainText.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbErrors.h"
#include "shared/records/clsCorrection.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/commands/CorrectionOutcome.h"

namespace {

bool parseTime(Admin::Context& c, const char* option, QTime* out) {
    if (!c.isSet(option))
        return true;
    *out = QTime::fromString(c.value(option), QStringLiteral("H:mm"));
    if (!out->isValid())
        return Admin::Fail(c.err,
                           QStringLiteral("--%1 takes HH:MM: %2")
                               .arg(QLatin1String(option), PlainText::Echo(c.value(option))));
    return true;
}

} // namespace

CorrectCommand::CorrectCommand()
    : AdminCommand(
          {.name = QStringLiteral("correct"),
           .synopsis = QStringLiteral("ENUMBER DATE [--arrival HH:MM] [--departure HH:MM] "
                                      "[--change] [--remove] --reason TEXT"),
           .summary = QStringLiteral(
               "Corrects one day of an employee's records, as the office program's\n"
               "\"考勤修正\" does: adds a missing arrival or departure, changes the\n"
               "times (--change) or removes the day's record (--remove), and writes\n"
               "the correction with its reason to the trail."),
           .minArgs = 2,
           .maxArgs = 2,
           .options = {
               AdminOptions::Dir(),
               {QStringLiteral("arrival"), QStringLiteral("HH:MM"),
                QStringLiteral("the arrival time of the day")},
               {QStringLiteral("departure"), QStringLiteral("HH:MM"),
                QStringLiteral("the departure time of the day")},
               {QStringLiteral("change"), QString(),
                QStringLiteral("changes the day's times instead of adding missing ones")},
               {QStringLiteral("remove"), QString(), QStringLiteral("removes the day's record")},
               {QStringLiteral("reason"), QStringLiteral("TEXT"),
                QStringLiteral("why the record is corrected (required)")}}}) {}

int CorrectCommand::Run(Admin::Context& c) const {
    clsCorrection::Request r;
    r.number = c.args[0];
    if (const int status = Admin::ParseDate(c, c.args[1], &r.date))
        return status;
    if (!parseTime(c, "arrival", &r.arrival) || !parseTime(c, "departure", &r.departure) ||
        !Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    if (c.isSet("remove") && (c.isSet("change") || r.arrival.isValid() || r.departure.isValid()))
        return Admin::Fail(c.err, QStringLiteral("--remove takes no times"));
    r.action = c.isSet("remove")   ? clsCorrection::Action::Remove
               : c.isSet("change") ? clsCorrection::Action::Change
                                   : clsCorrection::Action::Add;
    r.reason = c.value("reason");
    Error why;
    const clsCorrection::Result result =
        clsCorrection::Apply(MainSession::Get(), r, clsCorrection::Operator::Current(), &why);
    return CorrectionOutcome::Tell(
        c, result, why, r.date,
        QStringLiteral("%1 %2: %3")
            .arg(r.number, DbDateTime::DayText(r.date), clsCorrection::ActionKey(r.action)));
}
