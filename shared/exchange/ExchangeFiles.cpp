#include "shared/exchange/ExchangeFiles.h"

#include "shared/base/AppClock.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCatalog.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbSettings.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployee.h"
#include "shared/rowset/RowSetXml.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>

#include <cerrno>
#include <unistd.h>

namespace ExchangeFiles {

namespace {

// Why a file could not be written, naming the file; a folder that cannot be
// written to is named as such.
QString writeFailure(const QString& path, const QString& message) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir() && ::access(QFile::encodeName(folder).constData(), W_OK) != 0) {
        const int code = errno;
        const QString cause =
            code == EACCES || code == EPERM || code == EROFS
                ? QStringLiteral("the folder %1 is read-only (or not writable "
                                 "for this user)")
                      .arg(folder)
                : QStringLiteral("the folder %1: %2").arg(folder, Error::ErrnoCause(code));
        return QStringLiteral("cannot write %1: %2").arg(path, cause);
    }
    if (message.contains(path))
        return message;
    return QStringLiteral("cannot write %1: %2").arg(path, message);
}

// Value of a database field in the type the file declares for its column.
QVariant toFileValue(const QVariant& v, RowSetColumn::Type type) {
    if (v.isNull())
        return {};
    switch (type) {
    case RowSetColumn::Type::Int:
    case RowSetColumn::Type::I2:
        return v.toInt();
    case RowSetColumn::Type::DateTime: {
        const QDateTime t = DbDateTime::FromText(v.toString());
        return t.isValid() ? QVariant(t) : QVariant();
    }
    case RowSetColumn::Type::Binary: {
        const QByteArray b = v.toByteArray();
        return b.isEmpty() ? QVariant() : QVariant(b);
    }
    case RowSetColumn::Type::Boolean:
        return v.toBool();
    case RowSetColumn::Type::Double:
        return v.toDouble();
    case RowSetColumn::Type::String:
        break;
    }
    return v.toString();
}

// Value of a file field as it is stored in the database; false when the
// file's value cannot be one of the column's values.
bool toDbValue(const QVariant& v, RowSetColumn::Type type, QVariant* out) {
    if (!v.isValid() || v.isNull()) {
        *out = DbQuery::TextOrNull(QString());
        return true;
    }
    bool ok = true;
    switch (type) {
    case RowSetColumn::Type::Int:
    case RowSetColumn::Type::I2:
        *out = v.toString().trimmed().toLongLong(&ok);
        if (ok && type == RowSetColumn::Type::I2)
            ok = out->toLongLong() >= -32768 && out->toLongLong() <= 32767;
        return ok;
    case RowSetColumn::Type::DateTime: {
        const QDateTime t = v.metaType() == QMetaType::fromType<QDateTime>()
                                ? v.toDateTime()
                                : DbDateTime::FromText(v.toString());
        *out = DbDateTime::ToText(t);
        return t.isValid();
    }
    case RowSetColumn::Type::Binary:
        *out = v.toByteArray();
        return true;
    default:
        *out = v.toString();
        return true;
    }
}

bool writeFile(const RowSet& rs, const QString& path, Existing existing, Error* error) {
    Error message;
    const bool ok = existing == Existing::Refuse ? RowSetXml::Save(rs, path, &message)
                                                 : RowSetXml::SaveReplacing(rs, path, &message);
    return ok || Error::Fail(error, writeFailure(path, message.Text()));
}

bool exportQuery(DbSession& session, const QString& sql, const QVariantList& params,
                 const QString& table, const QString& path, Existing existing, Error* error) {
    RowSet rs;
    if (!QueryRowSet(session, sql, params, table, &rs, error))
        return false;
    return writeFile(rs, path, existing, error);
}

// Whether a file column declared as `type` can hold the values of a table
// column of that kind. Widths do not matter (i2 and int both hold a key,
// strings of any maxLength hold text), the kind does: a photo declared as
// text or a number declared as binary would store something else.
bool declaredTypeHolds(RowSetColumn::Type type, DbCatalog::ColumnType kind, QString* wanted) {
    using T = RowSetColumn::Type;
    switch (kind) {
    case DbCatalog::ColumnType::Key:
    case DbCatalog::ColumnType::SmallInt:
        *wanted = QStringLiteral("an integer (int or i2)");
        return type == T::Int || type == T::I2;
    case DbCatalog::ColumnType::Text:
        *wanted = QStringLiteral("text (string)");
        return type == T::String;
    case DbCatalog::ColumnType::Blob:
        *wanted = QStringLiteral("binary data (bin.hex)");
        return type == T::Binary;
    case DbCatalog::ColumnType::DateTime:
        *wanted = QStringLiteral("a date and time (dateTime)");
        return type == T::DateTime;
    }
    return false;
}

// Loads an exchange file of `table` and checks that it has the columns read
// from it, declared with types that hold the table's values.
bool loadFile(const QString& path, const QString& table, const QStringList& required, RowSet* rs,
              Error* error) {
    const QString file = path.trimmed();
    Error message;
    if (!RowSetXml::Load(file, rs, &message))
        return message.Concerning(file).Report(error);
    const DbCatalog::Table* schema = DbCatalog::Find(table);
    for (const QString& name : required) {
        const int index = rs->columnIndex(name);
        if (index < 0)
            return Error::Fail(error, QStringLiteral("%1: the file has no column %2; nothing was "
                                                     "imported")
                                          .arg(file, name));
        for (const DbCatalog::Column& column : schema->columns) {
            QString wanted;
            if (column.name.compare(name, Qt::CaseInsensitive) == 0 &&
                !declaredTypeHolds(rs->columns[index].type, column.type, &wanted))
                return Error::Fail(
                    error,
                    QStringLiteral("%1: the file declares column %2 as "
                                   "%3, but it must hold %4; nothing "
                                   "was imported")
                        .arg(file, name, RowSetColumn::TypeName(rs->columns[index].type), wanted));
        }
    }
    return true;
}

// Runs `body` inside a transaction of `session`. Database failures are said
// with their cause and the database file.
template <typename Body>
bool inTransaction(DbSession& session, DbTransaction::Mode mode, Error* error, Body body) {
    if (!session.IsOpen())
        return Error::Fail(error, QStringLiteral("the database cannot be opened"));
    DbTransaction tx(session, mode);
    if (!tx.IsActive())
        return DbErrors::OnDatabase(tx.Error(), DbSettings::FromConfiguration().Location())
            .Report(error);
    Error message;
    if (!body(tx.Connection(), &message))
        return message.Report(error);
    return tx.Commit() ||
           DbErrors::OnDatabase(tx.Error(), DbSettings::FromConfiguration().Location())
               .Report(error);
}

// "row N could not be written: <cause>: <database file>".
Error rowNotWritten(int row, const Error& cause) {
    return DbErrors::OnDatabase(cause, DbSettings::FromConfiguration().Location())
        .Within(QStringLiteral("row %1 could not be written").arg(row));
}

} // namespace

QVector<RowSetColumn> TableColumns(const QString& table) {
    return DbCatalog::FileColumns(table);
}

bool QueryRowSet(DbSession& session, const QString& sql, const QVariantList& params,
                 const QString& table, RowSet* out, Error* error) {
    Error dbError;
    auto q = DbQuery::Read(session, sql, params, &dbError);
    if (!q)
        return dbError.Report(error);
    const QVector<RowSetColumn> known = TableColumns(table);
    const QSqlRecord rec = q->record();
    RowSet rs;
    for (int i = 0; i < rec.count(); ++i) {
        RowSetColumn c;
        c.name = rec.fieldName(i);
        for (const RowSetColumn& k : known)
            if (k.name.compare(c.name, Qt::CaseInsensitive) == 0)
                c = k;
        rs.columns.append(c);
    }
    while (q->next()) {
        RowSetRow row;
        row.values.reserve(rs.columns.size());
        for (int i = 0; i < rs.columns.size(); ++i) {
            row.values.append(toFileValue(q->value(i), rs.columns[i].type));
            // A stored date-time that cannot be read fails the whole file
            // rather than being written as "no value".
            if (rs.columns[i].type == RowSetColumn::Type::DateTime && row.values.last().isNull() &&
                !q->isNull(i)) {
                const int number = rec.indexOf(QStringLiteral("ENUMBER"));
                return Error::Fail(
                    error,
                    QStringLiteral("row %1%2: %3 holds \"%4\", which is not a date-time")
                        .arg(rs.rows.size() + 1)
                        .arg(number >= 0
                                 ? QStringLiteral(" (ENUMBER %1)").arg(q->value(number).toString())
                                 : QString())
                        .arg(rs.columns[i].name, q->value(i).toString()));
            }
        }
        rs.rows.append(std::move(row));
    }
    if (q->lastError().isValid())
        return DbErrors::From(q->lastError()).Report(error);
    *out = std::move(rs);
    return true;
}

bool ExportEmployees(DbSession& session, const QString& path, const QStringList& numbers,
                     Existing existing, Error* error) {
    // Ordered by key, so both engines write the same file.
    const QString all = QStringLiteral("SELECT * FROM Employee");
    const QString order = QStringLiteral(" ORDER BY ID");
    if (numbers.isEmpty())
        return exportQuery(session, all + order, {}, QStringLiteral("Employee"), path, existing,
                           error);
    if (numbers.size() <= 500) {
        QVariantList params;
        for (const QString& n : numbers)
            params << n;
        return exportQuery(
            session,
            all + QStringLiteral(" WHERE ") +
                DbDialect::NoCaseIn(session.Engine(), QStringLiteral("ENUMBER"), params.size()) +
                order,
            params, QStringLiteral("Employee"), path, existing, error);
    }
    // Long lists: filter here instead of one statement with thousands of values.
    RowSet rs;
    if (!QueryRowSet(session, all + order, {}, QStringLiteral("Employee"), &rs, error))
        return false;
    // Compared as NOCASE does: ASCII letters without regard to case.
    const auto key = [](QString s) {
        for (QChar& c : s)
            if (c >= u'a' && c <= u'z')
                c = QChar(c.unicode() - u'a' + u'A');
        return s;
    };
    QSet<QString> wanted;
    for (const QString& n : numbers)
        wanted.insert(key(n));
    const int col = rs.columnIndex(QStringLiteral("ENUMBER"));
    QVector<RowSetRow> kept;
    for (RowSetRow& row : rs.rows)
        if (wanted.contains(key(row.values[col].toString())))
            kept.append(std::move(row));
    rs.rows = std::move(kept);
    return writeFile(rs, path, existing, error);
}

bool ExportDepartments(DbSession& session, const QString& path, Existing existing, Error* error) {
    return exportQuery(session, QStringLiteral("SELECT * FROM Dept ORDER BY ID"), {},
                       QStringLiteral("Dept"), path, existing, error);
}

bool ExportPresence(DbSession& session, const QString& path, const QDate& first, const QDate& last,
                    Existing existing, Error* error) {
    return exportQuery(
        session,
        QStringLiteral("SELECT * FROM Presence WHERE ENTERTIME >= ? AND ENTERTIME < ? ORDER BY "
                       "ENTERTIME, ENUMBER, COALESCE(EXITTIME, '')"),
        {DbDateTime::DayStart(first), DbDateTime::DayEnd(last)}, QStringLiteral("Presence"), path,
        existing, error);
}

bool BackupMonth(DbSession& session, const QString& path, Error* error) {
    const QDate today = AppClock::now().date();
    return ExportPresence(session, path, QDate(today.year(), today.month(), 1), today,
                          Existing::Refuse, error);
}

bool ImportEmployees(DbSession& session, const QString& path, Error* error, int* count) {
    // The columns read from the file, in the order they are checked.
    using Row = clsEmployee::Row;
    static const std::pair<const char*, QVariant Row::*> columns[] = {
        {"ENUMBER", &Row::ENUMBER}, {"EBARCODE", &Row::EBARCODE}, {"ENAME", &Row::ENAME},
        {"DID", &Row::DID},         {"HEADIMG", &Row::HEADIMG},   {"ENTERDATE", &Row::ENTERDATE}};
    const QString table = DbCatalog::Employee().name;
    QStringList required;
    for (const auto& c : columns)
        required << QLatin1String(c.first);
    RowSet rs;
    if (!loadFile(path, table, required, &rs, error))
        return false;
    const QString file = path.trimmed();

    // Immediate: each row's look-up by number decides between update and insert.
    const bool ok = inTransaction(
        session, DbTransaction::Mode::Immediate, error, [&](QSqlDatabase, Error* message) {
            for (int r = 0; r < rs.rows.size(); ++r) {
                Row row;
                for (const auto& [column, member] : columns) {
                    const QString name = QLatin1String(column);
                    if (!toDbValue(rs.value(r, name), DbCatalog::FileType(table, name),
                                   &(row.*member))) {
                        *message = Error(QStringLiteral("%1: row %2: bad value in column %3")
                                             .arg(file)
                                             .arg(r + 1)
                                             .arg(name));
                        return false;
                    }
                }
                if (row.ENUMBER.toString().isEmpty()) {
                    *message = Error(
                        QStringLiteral("%1: row %2 has no employee number").arg(file).arg(r + 1));
                    return false;
                }
                Error dbError;
                if (!clsEmployee::StoreRow(session, row, &dbError)) {
                    *message = rowNotWritten(r + 1, dbError);
                    return false;
                }
            }
            return true;
        });
    if (ok && count)
        *count = rs.rows.size();
    return ok;
}

bool ImportDepartments(DbSession& session, const QString& path, Error* error, int* count) {
    RowSet rs;
    const QString table = DbCatalog::Dept().name;
    if (!loadFile(path, table, {QStringLiteral("ID"), QStringLiteral("DNAME")}, &rs, error))
        return false;
    const QString file = path.trimmed();
    const bool ok = inTransaction(
        session, DbTransaction::Mode::Deferred, error, [&](QSqlDatabase db, Error* message) {
            Error dbError;
            if (!DbTransaction::LockTable(db, table)) {
                *message = Error(QStringLiteral("the departments could not be locked"));
                return false;
            }
            if (DbQuery::Exec(db, QStringLiteral("DELETE FROM Dept"), {}, &dbError) < 0) {
                *message =
                    DbErrors::OnDatabase(dbError, DbSettings::FromConfiguration().Location());
                return false;
            }
            for (int r = 0; r < rs.rows.size(); ++r) {
                QVariant id;
                if (!toDbValue(rs.value(r, QStringLiteral("ID")), RowSetColumn::Type::I2, &id) ||
                    id.isNull() || id.toLongLong() < 1) {
                    *message = Error(
                        QStringLiteral("%1: row %2: bad department key").arg(file).arg(r + 1));
                    return false;
                }
                const QVariant name = rs.value(r, QStringLiteral("DNAME"));
                if (DbQuery::Exec(db, QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
                                  {id, name.isNull() ? DbQuery::TextOrNull(QString())
                                                     : QVariant(name.toString())},
                                  &dbError) < 1) {
                    *message =
                        dbError.Code() == DbErrors::ConstraintCode
                            ? Error(QStringLiteral("%1: row %2: the department key %3 appears "
                                                   "more than once")
                                        .arg(file)
                                        .arg(r + 1)
                                        .arg(id.toLongLong()))
                            : rowNotWritten(r + 1, dbError);
                    return false;
                }
            }
            if (!clsDbConn::KeysWritten(db, DbCatalog::Dept())) {
                *message = Error(QStringLiteral("the next department key could not be set"));
                return false;
            }
            return true;
        });
    if (ok && count)
        *count = rs.rows.size();
    return ok;
}

bool ReadNewEmployee(const QString& path, NewEmployee* out, Error* error) {
    RowSet rs;
    if (!loadFile(path, DbCatalog::Employee().name,
                  {QStringLiteral("ENAME"), QStringLiteral("DID"), QStringLiteral("ENTERDATE"),
                   QStringLiteral("HEADIMG")},
                  &rs, error))
        return false;
    if (rs.rows.isEmpty())
        return Error::Fail(error,
                           QStringLiteral("%1: the file holds no employee").arg(path.trimmed()));
    NewEmployee e;
    e.ENAME = rs.value(0, QStringLiteral("ENAME")).toString();
    QVariant did;
    if (!toDbValue(rs.value(0, QStringLiteral("DID")), RowSetColumn::Type::I2, &did))
        return Error::Fail(error, QStringLiteral("%1: bad department key").arg(path.trimmed()));
    e.DID = static_cast<qint16>(did.toInt());
    const QVariant date = rs.value(0, QStringLiteral("ENTERDATE"));
    e.ENTERDATE = date.metaType() == QMetaType::fromType<QDateTime>()
                      ? date.toDateTime()
                      : DbDateTime::FromText(date.toString());
    e.HEADIMG = rs.value(0, QStringLiteral("HEADIMG")).toByteArray();
    *out = std::move(e);
    return true;
}

} // namespace ExchangeFiles
