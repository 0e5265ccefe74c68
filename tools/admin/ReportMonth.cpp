#include "tools/admin/ReportMonth.h"

#include "report/ReportPainter.h"
#include "reports/month/EmployeeMonthReport.h"
#include "shared/base/AtomicFile.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/MonthChoice.h"
#include "shared/records/clsEmployeePresenceSet.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

namespace ReportMonth {

namespace {

enum Status { Success = 0, Failure = 1 };

int failure(QTextStream& err, const QString& message) {
    err << "attendance-admin: " << message << Qt::endl;
    return Failure;
}

// One CSV field: quoted when it holds a separator, a quote or a line break.
QString csvField(const QString& value) {
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString duration(const QDateTime& enter, const QDateTime& exit) {
    if (EmployeeMonthReport::TimeText(enter).isEmpty() ||
        EmployeeMonthReport::TimeText(exit).isEmpty() || exit < enter)
        return QString();
    const qint64 minutes = enter.secsTo(exit) / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// Department name of every employee number.
bool departments(QHash<QString, QString>* names, QString* error) {
    QSqlQuery q(clsDbConn().GetDbConn());
    if (!q.exec(QStringLiteral("SELECT Employee.ENUMBER, Dept.DNAME FROM Employee "
                               "LEFT JOIN Dept ON Employee.DID = Dept.ID"))) {
        *error = q.lastError().text();
        return false;
    }
    while (q.next())
        names->insert(q.value(0).toString(), q.value(1).toString());
    return true;
}

QByteArray csv(int year, int month, const clsEmployeePresenceSet& table,
               const QHash<QString, QString>& depts) {
    QString text = QStringLiteral("编号,姓名,部门,日期,到达,离开,时长\r\n");
    const int last = MonthChoice::LastDay(year, month);
    for (const clsSingleEmployeeMonPresence& e : table) {
        const QString person = csvField(e.ENUMBER()) + QLatin1Char(',') + csvField(e.ENAME()) +
                               QLatin1Char(',') + csvField(depts.value(e.ENUMBER()));
        for (int d = 1; d <= last; ++d) {
            const QDate date(year, month, d);
            const QDateTime day(date, QTime(0, 0));
            const QDateTime enter = e.GetEnterTime(day);
            const QDateTime exit = e.GetExitTime(day);
            text += person + QLatin1Char(',') + date.toString(Qt::ISODate) + QLatin1Char(',') +
                    EmployeeMonthReport::TimeText(enter) + QLatin1Char(',') +
                    EmployeeMonthReport::TimeText(exit) + QLatin1Char(',') + duration(enter, exit) +
                    QStringLiteral("\r\n");
        }
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8(); // the BOM tells spreadsheets it is UTF-8
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

    QHash<QString, QString> depts;
    if (!departments(&depts, &error))
        return failure(err, QStringLiteral("cannot read the departments: %1").arg(error));
    // Linked under its name only when whole; the cause of a failure (a full
    // disk, no permission) is named.
    AtomicFile csvFile(file);
    if (!csvFile.write(csv(year, month, table, depts), AtomicFile::Existing::Refuse))
        return failure(err, QStringLiteral("cannot write %1: %2").arg(file, csvFile.errorString()));
    out << "wrote " << file << " (" << table.Count() << " employees)" << Qt::endl;
    return Success;
}

} // namespace ReportMonth
