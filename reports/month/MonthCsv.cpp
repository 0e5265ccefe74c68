#include "reports/month/MonthCsv.h"

#include "shared/base/CsvText.h"

#include "reports/month/EmployeeMonthReport.h"
#include "shared/base/AtomicFile.h"
#include "shared/records/MonthChoice.h"
#include "shared/records/clsEmployeePresenceSet.h"
#include "shared/records/clsEmployeeSet.h"

#include <stdexcept>

namespace {

// The time as the report shows it: seconds dropped.
QDateTime toMinute(const QDateTime& t) {
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute()));
}

} // namespace

QString MonthCsv::Duration(const QDateTime& enter, const QDateTime& exit) {
    if (EmployeeMonthReport::TimeText(enter).isEmpty() ||
        EmployeeMonthReport::TimeText(exit).isEmpty() || exit < enter)
        return QString();
    const qint64 minutes = toMinute(enter).secsTo(toMinute(exit)) / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QByteArray MonthCsv::Text(int year, int month, const clsEmployeePresenceSet& table,
                          const QHash<QString, QString>& departments) {
    QString text =
        CsvText::Line({QStringLiteral("编号"), QStringLiteral("姓名"), QStringLiteral("部门"),
                       QStringLiteral("日期"), QStringLiteral("到达"), QStringLiteral("离开"),
                       QStringLiteral("时长")});
    const int last = MonthChoice::LastDay(year, month);
    for (const clsSingleEmployeeMonPresence& e : table) {
        const QString department = departments.value(e.ENUMBER());
        for (int d = 1; d <= last; ++d) {
            const QDate date(year, month, d);
            const QDateTime day(date, QTime(0, 0));
            const QDateTime enter = e.GetEnterTime(day);
            const QDateTime exit = e.GetExitTime(day);
            text += CsvText::Line({e.ENUMBER(), e.ENAME(), department, date.toString(Qt::ISODate),
                                   EmployeeMonthReport::TimeText(enter),
                                   EmployeeMonthReport::TimeText(exit), Duration(enter, exit)});
        }
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8(); // the BOM tells spreadsheets it is UTF-8
}

bool MonthCsv::WriteFile(DbSession& session, int year, int month,
                         const clsEmployeePresenceSet& table, const QString& fileName,
                         Error* error) {
    QHash<QString, QString> departments;
    clsEmployeeSet employees(session);
    Error why;
    if (!employees.LoadSet(&why))
        return why.Within(QStringLiteral("cannot read the departments")).Report(error);
    for (const clsEmployee& e : employees)
        departments.insert(e.ENUMBER(), e.DNAME());
    return AtomicFile::WriteWhole(fileName, Text(year, month, table, departments), false, error);
}
