#pragma once

#include "shared/db/DbErrors.h"

// The name the database and records layers gave Error before it served every
// layer, with DbErrors' helpers as its static functions. One mechanical
// rename replaces it throughout by Error and DbErrors:: and removes this file.
class DbError : public Error {
public:
    using Error::Error;
    DbError(const Error& e) : Error(e) {}
    static DbError From(const QSqlError& e) { return DbErrors::From(e); }
    static DbError From(const QSqlError& e, const QString& file) { return DbErrors::From(e, file); }
    static QString Cause(int sqliteCode) { return DbErrors::Cause(sqliteCode); }
    static QString ServerCause(const QString& sqlState) { return DbErrors::ServerCause(sqlState); }
    static constexpr int ConstraintCode = DbErrors::ConstraintCode;
};
