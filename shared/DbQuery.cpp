#include "DbQuery.h"

#include "clsDbConn.h"

#include <QSqlError>

namespace DbQuery {

std::optional<QSqlQuery> Select(QSqlDatabase db, const QString& sql, const QVariantList& params,
                                DbError* error) {
    const auto failed = [error](const DbError& e) -> std::optional<QSqlQuery> {
        if (error)
            *error = e;
        return std::nullopt;
    };
    if (!db.isValid() || !db.isOpen())
        return failed(DbError(QStringLiteral("the database cannot be opened")));
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return failed(DbError::From(q.lastError()));
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec())
        return failed(DbError::From(q.lastError()));
    return q;
}

std::optional<QSqlQuery> Select(const QString& sql, const QVariantList& params, DbError* error) {
    auto q = Select(clsDbConn().GetDbConn(), sql, params, error);
    // A read on a connection the server has ended runs again on a new one.
    if (!q && clsDbConn::ReopenIfLost())
        q = Select(clsDbConn().GetDbConn(), sql, params, error);
    return q;
}

int Exec(QSqlDatabase db, const QString& sql, const QVariantList& params, DbError* error) {
    auto q = Select(db, sql, params, error);
    if (!q)
        return -1;
    return q->numRowsAffected();
}

int Exec(const QString& sql, const QVariantList& params, DbError* error) {
    return Exec(clsDbConn().GetDbConn(), sql, params, error);
}

QVariant TextOrNull(const QString& s) {
    return s.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

} // namespace DbQuery
