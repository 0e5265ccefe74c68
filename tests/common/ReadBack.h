#pragma once

#include "shared/rowset/RowSetXml.h"

#include <QAbstractItemView>
#include <QStringList>
#include <QTreeWidget>

// What the window tests read back: a list's column and an exchange file's rows.

// The texts of column `c` of the list, top to bottom.
inline QStringList TreeColumn(QTreeWidget* l, int c) {
    QStringList out;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        out << l->topLevelItem(i)->text(c);
    return out;
}

// The texts of column `c` of a list shown from a model, top to bottom.
inline QStringList TreeColumn(QAbstractItemView* l, int c) {
    QStringList out;
    const QAbstractItemModel* m = l->model();
    for (int i = 0; i < m->rowCount(); ++i)
        out << m->index(i, c).data().toString();
    return out;
}

// The rows of the exchange file `path`, each as the values of `columns`
// joined by blanks, sorted; {"<unreadable>"} when the file cannot be read.
inline QStringList FileRows(const QString& path, const QStringList& columns) {
    RowSet rs;
    if (!RowSetXml::Load(path, &rs))
        return {QStringLiteral("<unreadable>")};
    QStringList rows;
    for (int r = 0; r < rs.rows.size(); ++r) {
        QStringList values;
        for (const QString& c : columns)
            values << rs.value(r, c).toString();
        rows << values.join(QLatin1Char(' '));
    }
    rows.sort();
    return rows;
}
