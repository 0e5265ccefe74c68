#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVector>

// An in-memory row set: the columns of a statement and its rows, as they are
// written to and read from exchange files. A null value is an invalid QVariant.
struct RowSetColumn {
    enum class Type { Int, I2, String, DateTime, Binary, Boolean, Double };

    QString name;        // the column's name as the data rows use it
    QString displayName; // the real name when `name` is an alias, else empty
    Type type = Type::String;
    int maxLength = 255;
    bool nullable = true;
    bool autoIncrement = false;
    bool keyColumn = false;
    bool isLong = false; // memo and long binary columns
    QString baseTable;
    QString baseColumn;

    // The name callers look columns up by.
    QString realName() const { return displayName.isEmpty() ? name : displayName; }
    // The data type's name as files declare it: "int", "i2", "string",
    // "dateTime", "bin.hex", "boolean", "float".
    static QString TypeName(Type type);
};

struct RowSetRow {
    QVector<QVariant> values;   // one per column; QVariant() is null
    bool pendingInsert = false; // a new row never written to the database
};

struct RowSet {
    QVector<RowSetColumn> columns;
    QVector<RowSetRow> rows;
    bool updatable = false;

    // Column position by real name (case-insensitive), -1 when absent.
    int columnIndex(const QString& name) const;
    // Value of a row by column name; null when the column is absent.
    QVariant value(int row, const QString& column) const;
};
