#include "tools/admin/commands/CorrectionOutcome.h"

#include "shared/db/DbErrors.h"
#include "shared/records/clsMonthClose.h"

namespace CorrectionOutcome {

using Result = clsCorrection::Result;

namespace {

// Why a correction or a month's closing was refused, naming the month.
QString refusal(Result result, const QDate& day) {
    const QString month = QStringLiteral("%1年%2月已月结").arg(day.year()).arg(day.month());
    switch (result) {
    case Result::Done:
    case Result::Failed:
        break;
    case Result::EmptyReason:
        return QStringLiteral("a reason is required (--reason)");
    case Result::NoEmployee:
        return QStringLiteral("no employee with that number");
    case Result::MonthClosed:
        return QStringLiteral("%1: the month %2 is closed")
            .arg(month, clsMonthClose::Key(day.year(), day.month()));
    case Result::FutureTime:
        return QStringLiteral("a time after now cannot be recorded");
    case Result::NoRecord:
        return QStringLiteral("the day has no record");
    case Result::SecondArrival:
        return QStringLiteral("the day has an arrival already (--change changes it)");
    case Result::DepartureExists:
        return QStringLiteral("the day has a departure already (--change changes it)");
    case Result::NoArrival:
        return QStringLiteral("a departure needs an arrival that day");
    case Result::DepartureBeforeArrival:
        return QStringLiteral("the departure must lie after the arrival");
    case Result::NothingGiven:
        return QStringLiteral("give --arrival, --departure or --remove");
    case Result::CurrentMonth:
        return QStringLiteral("only a past month can be closed");
    case Result::AlreadyClosed:
        return month;
    case Result::NotClosed:
        return QStringLiteral("the month %1 is not closed")
            .arg(clsMonthClose::Key(day.year(), day.month()));
    case Result::WrongPassword:
        return QStringLiteral("wrong administrator password");
    }
    return QString();
}

} // namespace

int Tell(Admin::Context& c, Result result, const Error& why, const QDate& day,
         const QString& done) {
    if (result == Result::Done) {
        c.out << done << Qt::endl;
        return Admin::Success;
    }
    return Admin::Fail(c.err, result == Result::Failed ? why.Text() : refusal(result, day));
}

} // namespace CorrectionOutcome
