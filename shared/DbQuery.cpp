#include "DbQuery.h"

#include "clsDbConn.h"

namespace DbQuery {

std::optional<QSqlQuery> Select(QSqlDatabase db, const QString& sql, const QVariantList& params) {
    if (!db.isValid() || !db.isOpen())
        return std::nullopt;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return std::nullopt;
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec())
        return std::nullopt;
    return q;
}

std::optional<QSqlQuery> Select(const QString& sql, const QVariantList& params) {
    return Select(clsDbConn().GetDbConn(), sql, params);
}

int Exec(QSqlDatabase db, const QString& sql, const QVariantList& params) {
    auto q = Select(db, sql, params);
    if (!q)
        return -1;
    return q->numRowsAffected();
}

int Exec(const QString& sql, const QVariantList& params) {
    return Exec(clsDbConn().GetDbConn(), sql, params);
}

QVariant TextOrNull(const QString& s) {
    return s.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

} // namespace DbQuery
