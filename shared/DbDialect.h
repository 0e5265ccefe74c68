#pragma once

#include "DbSchema.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Everything the records layer says differently to SQLite and to
// PostgreSQL. The statements of the record classes are written once, in SQL
// both engines read alike: "COLLATE NOCASE" names a collation that exists on
// both (built in on SQLite, created with the tables on PostgreSQL), values
// are bound, date-times are text of one form. What cannot be written alike
// is here.
namespace DbDialect {

enum class Engine { SQLite, PostgreSQL };

// The engine behind an open connection (by its Qt driver).
Engine Of(const QSqlDatabase& db);
// The Qt driver of an engine.
QString DriverName(Engine engine);

// The statements that create the tables, their indexes and what they rely
// on, in order.
QStringList CreateStatements(Engine engine);
// The statements among them that create the indexes (last in that order),
// for a bulk copy that builds its indexes after the rows are in.
QStringList IndexStatements(Engine engine);

// The statement that begins a transaction; `writes` when the transaction's
// writes depend on what it reads first (SQLite then takes the write lock at
// once; PostgreSQL locks what LockKey or LockTable names instead).
QString BeginStatement(Engine engine, bool writes);

// Serialises, until the end of the transaction, every transaction that locks
// the same key (without regard to case) of the same table: the sign-in rule
// locks the employee number on Presence, the employee writer the number on
// Employee. Nothing to do on SQLite, whose writing transactions hold the
// whole file. False when the lock could not be taken.
bool LockKey(QSqlDatabase db, const QString& table, const QString& key);
// Keeps other writers off a table until the end of the transaction
// (readers go on). True on SQLite, as above.
bool LockTable(QSqlDatabase db, const QString& table);

// After rows were written with explicit keys: makes the keys the engine
// gives next follow the highest key of the table (SQLite does so itself).
bool KeysWritten(QSqlDatabase db, const DbSchema::Table& table);

// The tables of the schema that the database lacks (all of them when it
// cannot be asked).
QStringList MissingTables(QSqlDatabase db);
// Whether the database holds no table of the schema (so tables may be
// created there).
bool HoldsNoTables(QSqlDatabase db);

// Whether a failure means the connection itself is gone (a server restarted
// or a network cut), so the connection should be opened anew.
bool ConnectionLost(const QSqlDatabase& db);

} // namespace DbDialect
