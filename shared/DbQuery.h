#pragma once

#include "DbError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>

// Statements on the shared connection, with bound values only.
namespace DbQuery {

// A forward-only query positioned before its first row, or nothing when the
// connection or the statement failed (why in *error when given). Run again
// once on a new connection when the server had ended the shared one.
std::optional<QSqlQuery> Select(const QString& sql, const QVariantList& params = {},
                                DbError* error = nullptr);
// Same on a given connection.
std::optional<QSqlQuery> Select(QSqlDatabase db, const QString& sql, const QVariantList& params,
                                DbError* error = nullptr);

// Executes a statement; the number of rows affected, or -1 on failure.
int Exec(const QString& sql, const QVariantList& params = {}, DbError* error = nullptr);
int Exec(QSqlDatabase db, const QString& sql, const QVariantList& params, DbError* error = nullptr);

// Null for an invalid value, so an unset date or text is stored as null.
QVariant TextOrNull(const QString& s);

} // namespace DbQuery
