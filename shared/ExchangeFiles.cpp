#include "ExchangeFiles.h"

#include "AppClock.h"
#include "DbDateTime.h"
#include "DbQuery.h"
#include "RowSetXml.h"
#include "clsDbConn.h"
#include "clsEmployee.h"

#include <QSet>
#include <QSqlError>
#include <QSqlRecord>

namespace ExchangeFiles {

namespace {

bool fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return false;
}

RowSetColumn column(const char* name, RowSetColumn::Type type, int maxLength,
                    bool nullable = true) {
    RowSetColumn c;
    c.name = QLatin1String(name);
    c.type = type;
    c.maxLength = maxLength;
    c.nullable = nullable;
    c.baseColumn = c.name;
    if (type == RowSetColumn::Type::Binary) {
        c.isLong = true;
        c.maxLength = 1073741823;
    }
    return c;
}

RowSetColumn autoKey(const char* name) {
    RowSetColumn c = column(name, RowSetColumn::Type::Int, 4, false);
    c.autoIncrement = true;
    c.keyColumn = true;
    return c;
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

bool writeFile(const RowSet& rs, const QString& path, Existing existing, QString* error) {
    QString message;
    const bool ok = existing == Existing::Refuse ? RowSetXml::Save(rs, path, &message)
                                                 : RowSetXml::SaveReplacing(rs, path, &message);
    return ok || fail(error, message);
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
        return fail(error, message);
    for (const QString& name : required)
        if (rs->columnIndex(name) < 0)
            return fail(error, QStringLiteral("the file has no column %1").arg(name));
    return true;
}

// Runs `body` inside a transaction of the shared connection.
template <typename Body> bool inTransaction(QString* error, Body body) {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid())
        return fail(error, QStringLiteral("the database cannot be opened"));
    if (!db.transaction())
        return fail(error, db.lastError().text());
    QString message;
    if (!body(db, &message)) {
        db.rollback();
        return fail(error, message);
    }
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        return fail(error, text);
    }
    return true;
}

} // namespace

QVector<RowSetColumn> TableColumns(const QString& table) {
    using T = RowSetColumn::Type;
    QVector<RowSetColumn> cols;
    if (table.compare(QLatin1String("Dept"), Qt::CaseInsensitive) == 0) {
        cols = {autoKey("ID"), column("DNAME", T::String, 50), column("PASSWORD", T::String, 50)};
    } else if (table.compare(QLatin1String("Employee"), Qt::CaseInsensitive) == 0) {
        cols = {autoKey("ID"),
                column("DID", T::I2, 2),
                column("ENUMBER", T::String, 50),
                column("EBARCODE", T::String, 50),
                column("ENAME", T::String, 50),
                column("HEADIMG", T::Binary, 0),
                column("ENTERDATE", T::DateTime, 16)};
    } else if (table.compare(QLatin1String("Presence"), Qt::CaseInsensitive) == 0) {
        cols = {column("ENUMBER", T::String, 50), column("ENTERTIME", T::DateTime, 16),
                column("EXITTIME", T::DateTime, 16)};
    }
    for (RowSetColumn& c : cols)
        c.baseTable = table;
    return cols;
}

bool QueryRowSet(const QString& sql, const QVariantList& params, const QString& table, RowSet* out,
                 QString* error) {
    auto q = DbQuery::Select(sql, params);
    if (!q)
        return fail(error, QStringLiteral("the database query failed"));
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
        for (int i = 0; i < rs.columns.size(); ++i)
            row.values.append(toFileValue(q->value(i), rs.columns[i].type));
        rs.rows.append(std::move(row));
    }
    if (q->lastError().isValid())
        return fail(error, q->lastError().text());
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
        return exportQuery(all + QStringLiteral(" WHERE ENUMBER IN (") +
                               marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                           params, QStringLiteral("Employee"), path, existing, error);
    }
    // Long lists: filter here instead of one statement with thousands of values.
    RowSet rs;
    if (!QueryRowSet(all, {}, QStringLiteral("Employee"), &rs, error))
        return false;
    const QSet<QString> wanted(numbers.begin(), numbers.end());
    const int col = rs.columnIndex(QStringLiteral("ENUMBER"));
    QVector<RowSetRow> kept;
    for (RowSetRow& row : rs.rows)
        if (wanted.contains(row.values[col].toString()))
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
    static const char* names[] = {"ENUMBER", "EBARCODE", "ENAME", "DID", "HEADIMG", "ENTERDATE"};
    QStringList required;
    for (const char* n : names)
        required << QLatin1String(n);
    RowSet rs;
    if (!loadFile(path, required, &rs, error))
        return false;
    const QVector<RowSetColumn> cols = TableColumns(QStringLiteral("Employee"));
    auto typeOf = [&](const QString& name) {
        for (const RowSetColumn& c : cols)
            if (c.name == name)
                return c.type;
        return RowSetColumn::Type::String;
    };

    const bool ok = inTransaction(error, [&](QSqlDatabase db, QString* message) {
        for (int r = 0; r < rs.rows.size(); ++r) {
            QVariantList values;
            for (const QString& name : required) {
                QVariant v;
                if (!toDbValue(rs.value(r, name), typeOf(name), &v)) {
                    *message =
                        QStringLiteral("row %1: bad value in column %2").arg(r + 1).arg(name);
                    return false;
                }
                values << v;
            }
            const QString number = values[0].toString();
            if (number.isEmpty()) {
                *message = QStringLiteral("row %1 has no employee number").arg(r + 1);
                return false;
            }
            if (!clsEmployee::StoreRow(db, values)) {
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
    const bool ok = inTransaction(error, [&](QSqlDatabase db, QString* message) {
        if (DbQuery::Exec(db, QStringLiteral("DELETE FROM Dept"), {}) < 0) {
            *message = db.lastError().text();
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
        return fail(error, QStringLiteral("the file holds no employee"));
    NewEmployee e;
    e.ENAME = rs.value(0, QStringLiteral("ENAME")).toString();
    QVariant did;
    if (!toDbValue(rs.value(0, QStringLiteral("DID")), RowSetColumn::Type::I2, &did))
        return fail(error, QStringLiteral("bad department key"));
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
