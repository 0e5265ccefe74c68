#include "tools/admin/ExchangeCommands.h"

#include "shared/db/DbDialect.h"
#include "shared/db/clsDbConn.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsEmployeeSet.h"
#include "shared/rowset/RowSetXml.h"
#include "tools/admin/RowSetDump.h"

#include <QDate>

namespace ExchangeCommands {

using Admin::Context;

namespace {

int report(Context& c, bool ok, const QString& error, const QString& done) {
    if (!ok)
        return Admin::Fail(c.err, error.isEmpty() ? QStringLiteral("operation failed") : error);
    c.out << done << Qt::endl;
    return Admin::Success;
}

int wrote(Context& c, bool ok, const QString& error, const QString& file) {
    return report(c, ok, error, QStringLiteral("wrote %1").arg(file));
}

} // namespace

int ExportEmployees(Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    const QStringList numbers = c.args.mid(1);
    // Every number asked for must exist: a file quietly missing people is worse than none.
    for (const QString& number : numbers) {
        RowSet found;
        QString error;
        if (!ExchangeFiles::QueryRowSet(QStringLiteral("SELECT ENUMBER FROM Employee WHERE ") +
                                            DbDialect::NoCaseEquals(clsDbConn::SharedEngine(),
                                                                    QStringLiteral("ENUMBER"),
                                                                    QStringLiteral("?")),
                                        {number}, QStringLiteral("Employee"), &found, &error))
            return Admin::Fail(c.err, error);
        if (found.rows.isEmpty())
            return Admin::Fail(
                c.err, QStringLiteral("no employee with number %1; no file written").arg(number));
    }
    QString error;
    const bool ok =
        ExchangeFiles::ExportEmployees(c.args[0], numbers, ExchangeFiles::Existing::Refuse, &error);
    return wrote(c, ok, error, c.args[0]);
}

int ExportDepartments(Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    QString error;
    const bool ok =
        ExchangeFiles::ExportDepartments(c.args[0], ExchangeFiles::Existing::Refuse, &error);
    return wrote(c, ok, error, c.args[0]);
}

int ImportEmployees(Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    QString error;
    int count = 0;
    const bool ok = ExchangeFiles::ImportEmployees(c.args[0], &error, &count);
    const int status = report(
        c, ok, error, QStringLiteral("imported %1 employees from %2").arg(count).arg(c.args[0]));
    if (status == Admin::Success) {
        // Such employees vanish from every list and cannot sign in.
        if (const auto unknown = clsEmployeeSet::WithUnknownDepartment(); !unknown.isEmpty())
            c.err << "attendance-admin: warning: " << unknown.size()
                  << " employees have a department key that this database does not know; "
                     "import the department file of the exporting database as well"
                  << Qt::endl;
    }
    return status;
}

int ImportDepartments(Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    QString error;
    int count = 0;
    const bool ok = ExchangeFiles::ImportDepartments(c.args[0], &error, &count);
    return report(c, ok, error,
                  QStringLiteral("imported %1 departments from %2").arg(count).arg(c.args[0]));
}

int BackupMonth(Context& c) {
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    QString error;
    const bool ok = ExchangeFiles::BackupMonth(c.args[0], &error);
    return wrote(c, ok, error, c.args[0]);
}

int ExportMonth(Context& c) {
    int year = 0;
    int month = 0;
    if (const int status = Admin::ParseMonth(c, 0, &year, &month))
        return status;
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    const QDate first(year, month, 1);
    const QDate last = first.addMonths(1).addDays(-1);
    QString error;
    const bool ok = ExchangeFiles::ExportPresence(c.args[2], first, last,
                                                  ExchangeFiles::Existing::Refuse, &error);
    return wrote(c, ok, error, c.args[2]);
}

int Dump(Context& c) {
    RowSet rs;
    QString error;
    if (!RowSetXml::Load(c.args[0], &rs, &error))
        return Admin::Fail(c.err, QStringLiteral("cannot read %1: %2").arg(c.args[0], error));
    c.out << c.args[0] << Qt::endl;
    RowSetDump::Write(rs, c.out);
    c.out.flush();
    return Admin::Success;
}

} // namespace ExchangeCommands
