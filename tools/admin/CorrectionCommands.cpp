#include "tools/admin/CorrectionCommands.h"

#include "shared/base/AtomicFile.h"
#include "shared/base/CsvText.h"
#include "shared/base/PlainText.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbError.h"
#include "shared/records/clsCorrection.h"
#include "shared/records/clsMonthClose.h"
#include "tools/admin/ServerOptions.h"

#include <QDate>

namespace CorrectionCommands {

using Admin::Context;
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

int outcome(Context& c, Result result, const DbError& why, const QDate& day, const QString& done) {
    if (result == Result::Done) {
        c.out << done << Qt::endl;
        return Admin::Success;
    }
    return Admin::Fail(c.err, result == Result::Failed ? why.Text() : refusal(result, day));
}

bool parseTime(Context& c, const char* option, QTime* out) {
    if (!c.isSet(option))
        return true;
    *out = QTime::fromString(c.value(option), QStringLiteral("H:mm"));
    if (!out->isValid())
        return Admin::Fail(c.err,
                           QStringLiteral("--%1 takes HH:MM: %2")
                               .arg(QLatin1String(option), PlainText::Echo(c.value(option))));
    return true;
}

QString timeText(const QDateTime& t) {
    return t.isValid() ? DbDateTime::ToText(t) : QString();
}

// One row of the trail as fields: when, who, host, program, action, number,
// old arrival and departure, new arrival and departure, reason.
QStringList fields(const clsCorrection::TrailRow& r) {
    return {timeText(r.when),
            r.login,
            r.host,
            r.program,
            clsCorrection::ActionKey(r.action),
            r.number,
            timeText(r.oldArrival),
            timeText(r.oldDeparture),
            timeText(r.newArrival),
            timeText(r.newDeparture),
            r.reason};
}

} // namespace

int Correct(Context& c) {
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
    DbError why;
    const Result result = clsCorrection::Apply(r, clsCorrection::Operator::Current(), &why);
    return outcome(
        c, result, why, r.date,
        QStringLiteral("%1 %2: %3")
            .arg(r.number, DbDateTime::DayText(r.date), clsCorrection::ActionKey(r.action)));
}

int Trail(Context& c) {
    QDate from, to;
    if (c.isSet("from"))
        if (const int status = Admin::ParseDate(c, c.value("from"), &from))
            return status;
    if (c.isSet("to"))
        if (const int status = Admin::ParseDate(c, c.value("to"), &to))
            return status;
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    std::vector<clsCorrection::TrailRow> rows;
    DbError why;
    if (!clsCorrection::Trail(from, to, c.value("employee"), &rows, &why))
        return Admin::Fail(c.err, why.Text());
    if (!c.isSet("csv")) {
        // One row a line: a reason's line break, tab or terminal escape is
        // printed escaped, never as itself.
        for (const auto& r : rows) {
            QStringList shown = fields(r);
            for (QString& f : shown)
                f = PlainText::Escaped(f);
            c.out << shown.join(QLatin1Char('\t')) << '\n';
        }
        return Admin::Success;
    }
    QString text = CsvText::Line({"时间", "操作人", "主机", "程序", "操作", "工号", "原签到",
                                  "原签退", "新签到", "新签退", "原因"});
    for (const auto& r : rows)
        text += CsvText::Line(fields(r));
    QString error;
    const QString out = Admin::Absolute(c.value("csv"));
    if (!AtomicFile::WriteWhole(out, QByteArray("\xEF\xBB\xBF") + text.toUtf8(), false, &error))
        return Admin::Fail(c.err, error);
    c.out << QStringLiteral("wrote %1 rows to %2").arg(rows.size()).arg(out) << Qt::endl;
    return Admin::Success;
}

int CloseMonth(Context& c) {
    int year = 0, month = 0;
    if (const int status = Admin::ParseMonth(c, 0, &year, &month))
        return status;
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    DbError why;
    const Result result =
        clsMonthClose::Close(year, month, clsCorrection::Operator::Current(), &why);
    return outcome(c, result, why, QDate(year, month, 1),
                   QStringLiteral("closed %1").arg(clsMonthClose::Key(year, month)));
}

int ReopenMonth(Context& c) {
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
    DbError why;
    const Result result =
        clsMonthClose::Reopen(year, month, password, clsCorrection::Operator::Current(), &why);
    return outcome(c, result, why, QDate(year, month, 1),
                   QStringLiteral("reopened %1").arg(clsMonthClose::Key(year, month)));
}

} // namespace CorrectionCommands
