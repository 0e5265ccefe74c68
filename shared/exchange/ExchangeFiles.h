#pragma once

#include "shared/db/DbErrors.h"

#include "shared/rowset/RowSet.h"

#include <QDate>
#include <QString>
#include <QStringList>

class DbSession;

// The exchange files: employee, department, new-employee, month backup and
// month presence files, each a row set of the database in the XML format,
// read and written on the session given. Every function returns false with
// a message in *error on failure; a file that cannot be read leaves the
// database as it was.
namespace ExchangeFiles {

enum class Existing {
    Refuse, // an existing file at the path makes the export fail, untouched
    Replace // the new file replaces it once it is complete
};

// The columns of a table as the files describe them (types, keys).
QVector<RowSetColumn> TableColumns(const QString& table);

// Row sets of a statement (all columns, engine order).
bool QueryRowSet(DbSession& session, const QString& sql, const QVariantList& params,
                 const QString& table, RowSet* out, Error* error);

// Employees with the given numbers; all employees when `numbers` is empty.
bool ExportEmployees(DbSession& session, const QString& path, const QStringList& numbers,
                     Existing existing, Error* error = nullptr);
bool ExportDepartments(DbSession& session, const QString& path, Existing existing,
                       Error* error = nullptr);
// Presence rows whose arrival lies from `first` to `last` inclusive.
bool ExportPresence(DbSession& session, const QString& path, const QDate& first, const QDate& last,
                    Existing existing, Error* error = nullptr);
// The current month up to and including today (from the clock).
bool BackupMonth(DbSession& session, const QString& path, Error* error = nullptr);

// Inserts or overwrites employees by number; one transaction.
bool ImportEmployees(DbSession& session, const QString& path, Error* error = nullptr,
                     int* count = nullptr);
// Replaces every department with the file's keys and names; one transaction.
bool ImportDepartments(DbSession& session, const QString& path, Error* error = nullptr,
                       int* count = nullptr);

// The one row of a new-employee file.
struct NewEmployee {
    QString ENAME;
    qint16 DID = 0;
    QDateTime ENTERDATE;
    QByteArray HEADIMG;
};
bool ReadNewEmployee(const QString& path, NewEmployee* out, Error* error = nullptr);

} // namespace ExchangeFiles
