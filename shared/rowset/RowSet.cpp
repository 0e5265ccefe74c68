#include "shared/rowset/RowSet.h"

int RowSet::columnIndex(const QString& name) const {
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].realName().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    // A file column may also be addressed by the alias its rows use.
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant RowSet::value(int row, const QString& column) const {
    if (row < 0 || row >= rows.size())
        return {};
    const int c = columnIndex(column);
    const QVector<QVariant>& values = rows[row].values;
    if (c < 0 || c >= values.size())
        return {};
    return values[c];
}

QString RowSetColumn::TypeName(Type type) {
    switch (type) {
    case Type::Int:
        return QStringLiteral("int");
    case Type::I2:
        return QStringLiteral("i2");
    case Type::DateTime:
        return QStringLiteral("dateTime");
    case Type::Binary:
        return QStringLiteral("bin.hex");
    case Type::Boolean:
        return QStringLiteral("boolean");
    case Type::Double:
        return QStringLiteral("float");
    case Type::String:
        break;
    }
    return QStringLiteral("string");
}
