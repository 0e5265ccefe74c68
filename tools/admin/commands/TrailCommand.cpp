#include "tools/admin/commands/TrailCommand.h"

#include "session/MainSession.h"
#include "shared/base/AtomicFile.h"
#include "shared/base/CsvText.h"
#include "shared/base/PlainText.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbErrors.h"
#include "shared/records/clsCorrection.h"
#include "tools/admin/AdminOptions.h"

namespace {

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

TrailCommand::TrailCommand()
    : AdminCommand(
          {.name = QStringLiteral("trail"),
           .synopsis = QStringLiteral("[--from DATE] [--to DATE] [--employee N] [--csv OUT]"),
           .summary = QStringLiteral(
               "Prints every row of the corrections' trail (corrections, closing and\n"
               "reopening of months), one per line, control characters escaped (\\n,\n"
               "\\t, \\x1b), or writes them as CSV. DATE is YYYY-MM-DD of 1900-2100."),
           .options = {
               AdminOptions::Dir(),
               {QStringLiteral("from"), QStringLiteral("DATE"),
                QStringLiteral("the first day (YYYY-MM-DD) on which corrections were "
                               "made")},
               {QStringLiteral("to"), QStringLiteral("DATE"),
                QStringLiteral("the last day (YYYY-MM-DD) on which corrections were "
                               "made")},
               {QStringLiteral("employee"), QStringLiteral("N"),
                QStringLiteral("only the corrections of that employee number")},
               {QStringLiteral("csv"), QStringLiteral("OUT"),
                QStringLiteral("writes the rows as CSV (UTF-8) to OUT, never over a file")}}}) {}

int TrailCommand::Run(Admin::Context& c) const {
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
    Error why;
    if (!clsCorrection::Trail(MainSession::Get(), from, to, c.value("employee"), &rows, &why))
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
    Error error;
    const QString out = Admin::Absolute(c.value("csv"));
    if (!AtomicFile::WriteWhole(out, QByteArray("\xEF\xBB\xBF") + text.toUtf8(), false, &error))
        return Admin::Fail(c.err, error.Text());
    c.out << QStringLiteral("wrote %1 rows to %2").arg(rows.size()).arg(out) << Qt::endl;
    return Admin::Success;
}
