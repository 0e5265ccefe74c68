#include "ExchangeFiles.h"

#include "AppClock.h"
#include "DbDateTime.h"
#include "DbError.h"
#include "DbQuery.h"
#include "DbSchema.h"
#include "DbTransaction.h"
#include "RowSetXml.h"
#include "clsDbConn.h"
#include "clsEmployee.h"

#include <QSet>
#include <QSqlError>
#include <QSqlRecord>

namespace ExchangeFiles {

namespace {

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

bool writeFile(const RowSet& rs, const QString& path, Existing existing, QString* error) {
    QString message;
    const bool ok = existing == Existing::Refuse ? RowSetXml::Save(rs, path, &message)
                                                 : RowSetXml::SaveReplacing(rs, path, &message);
    return ok || DbError::Fail(error, message);
}

bool exportQuery(const QString& sql, const QVariantList& params, const QString& table,
                 const QString& path, Existing existing, QString* error) {
    RowSet rs;
    if (!QueryRowSet(sql, params, table, &rs, error))
        return false;
    return writeFile(rs, path, existing, error);
}

bool loadFile(const QString& path, const QStringList& required, RowSet* rs, QString* error) {
    QString message;
    if (!RowSetXml::Load(path.trimmed(), rs, &message))
        return DbError::Fail(error, message);
    for (const QString& name : required)
        if (rs->columnIndex(name) < 0)
            return DbError::Fail(error, QStringLiteral("the file has no column %1").arg(name));
    return true;
}

// Runs `body` inside a transaction of the shared connection.
template <typename Body> bool inTransaction(DbTransaction::Mode mode, QString* error, Body body) {
    DbTransaction tx(clsDbConn().GetDbConn(), mode);
    if (!tx.IsActive())
        return tx.Error().Report(error);
    QString message;
    if (!body(tx.Connection(), &message))
        return DbError::Fail(error, message);
    return tx.Commit() || tx.Error().Report(error);
}

} // namespace

QVector<RowSetColumn> TableColumns(const QString& table) {
    return DbSchema::FileColumns(table);
}

bool QueryRowSet(const QString& sql, const QVariantList& params, const QString& table, RowSet* out,
                 QString* error) {
    DbError dbError;
    auto q = DbQuery::Select(sql, params, &dbError);
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
                return DbError::Fail(
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
        return DbError::From(q->lastError()).Report(error);
    *out = std::move(rs);
    return true;
}

bool ExportEmployees(const QString& path, const QStringList& numbers, Existing existing,
                     QString* error) {
    const QString all = QStringLiteral("SELECT * FROM Employee");
    if (numbers.isEmpty())
        return exportQuery(all, {}, QStringLiteral("Employee"), path, existing, error);
    if (numbers.size() <= 500) {
        QStringList marks;
        QVariantList params;
        for (const QString& n : numbers) {
            marks << QStringLiteral("?");
            params << n;
        }
        return exportQuery(all + QStringLiteral(" WHERE ENUMBER COLLATE NOCASE IN (") +
                               marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                           params, QStringLiteral("Employee"), path, existing, error);
    }
    // Long lists: filter here instead of one statement with thousands of values.
    RowSet rs;
    if (!QueryRowSet(all, {}, QStringLiteral("Employee"), &rs, error))
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

bool ExportDepartments(const QString& path, Existing existing, QString* error) {
    return exportQuery(QStringLiteral("SELECT * FROM Dept"), {}, QStringLiteral("Dept"), path,
                       existing, error);
}

bool ExportPresence(const QString& path, const QDate& first, const QDate& last, Existing existing,
                    QString* error) {
    return exportQuery(
        QStringLiteral("SELECT * FROM Presence WHERE ENTERTIME >= ? AND ENTERTIME < ?"),
        {DbDateTime::DayStart(first), DbDateTime::DayEnd(last)}, QStringLiteral("Presence"), path,
        existing, error);
}

bool BackupMonth(const QString& path, QString* error) {
    const QDate today = AppClock::now().date();
    return ExportPresence(path, QDate(today.year(), today.month(), 1), today, Existing::Refuse,
                          error);
}

bool ImportEmployees(const QString& path, QString* error, int* count) {
    // The columns read from the file, in the order they are checked.
    using Row = clsEmployee::Row;
    static const std::pair<const char*, QVariant Row::*> columns[] = {
        {"ENUMBER", &Row::ENUMBER}, {"EBARCODE", &Row::EBARCODE}, {"ENAME", &Row::ENAME},
        {"DID", &Row::DID},         {"HEADIMG", &Row::HEADIMG},   {"ENTERDATE", &Row::ENTERDATE}};
    const QString table = DbSchema::Employee().name;
    QStringList required;
    for (const auto& c : columns)
        required << QLatin1String(c.first);
    RowSet rs;
    if (!loadFile(path, required, &rs, error))
        return false;

    // Immediate: each row's look-up by number decides between update and insert.
    const bool ok = inTransaction(
        DbTransaction::Mode::Immediate, error, [&](QSqlDatabase db, QString* message) {
            for (int r = 0; r < rs.rows.size(); ++r) {
                Row row;
                for (const auto& [column, member] : columns) {
                    const QString name = QLatin1String(column);
                    if (!toDbValue(rs.value(r, name), DbSchema::FileType(table, name),
                                   &(row.*member))) {
                        *message =
                            QStringLiteral("row %1: bad value in column %2").arg(r + 1).arg(name);
                        return false;
                    }
                }
                if (row.ENUMBER.toString().isEmpty()) {
                    *message = QStringLiteral("row %1 has no employee number").arg(r + 1);
                    return false;
                }
                if (!clsEmployee::StoreRow(db, row)) {
                    *message = QStringLiteral("row %1 could not be written").arg(r + 1);
                    return false;
                }
            }
            return true;
        });
    if (ok && count)
        *count = rs.rows.size();
    return ok;
}

bool ImportDepartments(const QString& path, QString* error, int* count) {
    RowSet rs;
    if (!loadFile(path, {QStringLiteral("ID"), QStringLiteral("DNAME")}, &rs, error))
        return false;
    const bool ok =
        inTransaction(DbTransaction::Mode::Deferred, error, [&](QSqlDatabase db, QString* message) {
            DbError dbError;
            if (DbQuery::Exec(db, QStringLiteral("DELETE FROM Dept"), {}, &dbError) < 0) {
                *message = dbError.Text();
                return false;
            }
            for (int r = 0; r < rs.rows.size(); ++r) {
                QVariant id;
                if (!toDbValue(rs.value(r, QStringLiteral("ID")), RowSetColumn::Type::I2, &id) ||
                    id.isNull() || id.toLongLong() < 1) {
                    *message = QStringLiteral("row %1: bad department key").arg(r + 1);
                    return false;
                }
                const QVariant name = rs.value(r, QStringLiteral("DNAME"));
                if (DbQuery::Exec(db, QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
                                  {id, name.isNull() ? DbQuery::TextOrNull(QString())
                                                     : QVariant(name.toString())}) < 1) {
                    *message =
                        QStringLiteral("row %1 could not be written (duplicate key?)").arg(r + 1);
                    return false;
                }
            }
            return true;
        });
    if (ok && count)
        *count = rs.rows.size();
    return ok;
}

bool ReadNewEmployee(const QString& path, NewEmployee* out, QString* error) {
    RowSet rs;
    if (!loadFile(path,
                  {QStringLiteral("ENAME"), QStringLiteral("DID"), QStringLiteral("ENTERDATE"),
                   QStringLiteral("HEADIMG")},
                  &rs, error))
        return false;
    if (rs.rows.isEmpty())
        return DbError::Fail(error, QStringLiteral("the file holds no employee"));
    NewEmployee e;
    e.ENAME = rs.value(0, QStringLiteral("ENAME")).toString();
    QVariant did;
    if (!toDbValue(rs.value(0, QStringLiteral("DID")), RowSetColumn::Type::I2, &did))
        return DbError::Fail(error, QStringLiteral("bad department key"));
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
