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

namespace {

int writePdf(Admin::Context& c, int year, int month, const clsEmployeePresenceSet& table) {
    EmployeeMonthReport report;
    report.setSchoolName(clsSchoolArea().SNAME());
    report.setYear(year);
    report.setMonth(month);
    report.setMonthTable(&table);
    const ReportDocument doc = ReportDocument::Run(report);
    QString error;
    if (!ReportPainter::WritePdfFile(doc, c.args[2], false, &error))
        return Admin::Fail(c.err, error);
    c.out << "wrote " << c.args[2] << " (" << table.Count() << " employees, " << doc.PageCount()
          << " pages)" << Qt::endl;
    return Admin::Success;
}

int writeCsv(Admin::Context& c, int year, int month, const clsEmployeePresenceSet& table) {
    const QString file = c.args[2];
    QString error;
    QHash<QString, QString> depts;
    if (!departments(&depts, &error))
        return Admin::Fail(c.err, QStringLiteral("cannot read the departments: %1").arg(error));
    // Linked into place only when complete: a killed run leaves no part of it.
    AtomicFile f(file);
    if (!f.write(csv(year, month, table, depts), AtomicFile::Existing::Refuse))
        return Admin::Fail(c.err, QStringLiteral("cannot write %1: %2").arg(file, f.errorString()));
    c.out << "wrote " << file << " (" << table.Count() << " employees)" << Qt::endl;
    return Admin::Success;
}

} // namespace

int Run(Admin::Context& c) {
    int year = 0;
    int month = 0;
    if (!Admin::ParseMonth(c, 0, &year, &month))
        return Admin::Failure;
    const QString file = c.args[2];
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("csv"))
        return Admin::Fail(c.err, QStringLiteral("OUT must end in .pdf or .csv: %1").arg(file));
    if (QFileInfo::exists(file))
        return Admin::Fail(c.err,
                           QStringLiteral("%1 exists already; nothing was written").arg(file));
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;

    clsEmployeePresenceSet table;
    if (!EmployeeMonthReport::LoadMonthTable(year, month, table))
        return Admin::Fail(c.err, QStringLiteral("cannot read the presence records of %1-%2")
                                      .arg(year)
                                      .arg(month, 2, 10, QLatin1Char('0')));
    return suffix == QLatin1String("pdf") ? writePdf(c, year, month, table)
                                          : writeCsv(c, year, month, table);
}

} // namespace ReportMonth
