#pragma once

#include "error/Error.h"

#include <QSqlError>
#include <QString>

// The database's failures as Errors, in words a site administrator
// understands: the cause (locked by another program, read-only, disk full,
// ...) where the database's result code tells it, else the database's own
// text. An Error made here carries the primary SQLite result code of the
// failure as its code (a duplicate key on the server reads as
// ConstraintCode too), else 0.
namespace DbErrors {

// SQLite's primary result codes that the callers and OnDatabase name.
constexpr int PermCode = 3;        // SQLITE_PERM
constexpr int ReadOnlyCode = 8;    // SQLITE_READONLY
constexpr int IoErrorCode = 10;    // SQLITE_IOERR
constexpr int CantOpenCode = 14;   // SQLITE_CANTOPEN
constexpr int ConstraintCode = 19; // SQLITE_CONSTRAINT (a duplicate key)

// The cause of `e` in words; the database's text for other errors, a
// general text when the driver gave none.
Error From(const QSqlError& e);
// Same, naming the database file concerned: "<cause>: <file>".
Error From(const QSqlError& e, const QString& file);

// The words for an SQLite result code (primary or extended); empty when
// the code has none of its own.
QString Cause(int sqliteCode);
// The words for a PostgreSQL error code (SQLSTATE); empty when the code
// has none of its own.
QString ServerCause(const QString& sqlState);

// `error` concerning the database file `file` (Error::Concerning): a write
// refused by the file system says whether the file or its folder is the
// read-only one.
Error OnDatabase(const Error& error, const QString& file);

} // namespace DbErrors
