#pragma once

#include "shared/db/DbErrors.h"

#include <QSqlDatabase>
#include <QString>

// Creates new database files with the tables and indexes. A new file
// appears at its name only when it is complete: it is built in a private
// temporary folder and put into place last, never over an existing file, so
// a process killed at any moment leaves either no database or a whole one.
// The file is readable and writable by owner and group only.
namespace DbCreator {
// Creates the database at `path`; refuses (false) when a file is there.
bool Create(const QString& path, Error* error = nullptr);
// Creates the tables in a new file at `path` (created here; the caller
// keeps it private until it is complete). Removes the file on failure.
bool Build(const QString& path, Error* error = nullptr);
// Puts the complete, closed database file `built` into place at `path`
// (flushed to the disk, mode 0660), never replacing an existing file.
bool Install(const QString& built, const QString& path, Error* error = nullptr);
// The statements that create the schema on an SQLite file, in order (every
// step of DbSchema).
QStringList Statements();
// Creates the tables (and on a server the sign-in function), the guards of
// the trail and the closed months (DbDialect::GuardStatements): every step
// of DbSchema, recorded in the version table as applied; in one
// transaction, on an open connection of either engine whose database holds
// none of them yet (refused otherwise).
bool CreateTables(QSqlDatabase db, Error* error = nullptr);
// The same inside a transaction the caller holds on `db` and ends (so more
// rows can follow in it); the check for existing tables is part of it.
// Without `withIndexes` the caller adds them, and the guards, with
// AddIndexes once the rows are in (a bulk copy is faster so).
bool AddTables(QSqlDatabase db, Error* error = nullptr, bool withIndexes = true);
bool AddIndexes(QSqlDatabase db, Error* error = nullptr);
} // namespace DbCreator
