#pragma once

#include "shared/db/DbCatalog.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Everything the records layer says differently to SQLite and to
// PostgreSQL. The statements of the record classes are written once, in SQL
// both engines read alike (values are bound, date-times are text of one
// form); what cannot be written alike is here.
namespace DbDialect {

enum class Engine { SQLite, PostgreSQL };

// The engine behind an open connection (by its Qt driver).
Engine Of(const QSqlDatabase& db);
// The engine of the shared connection (opened when needed).
Engine Shared();

// "a = b" comparing texts without regard to the case of A-Z and of nothing
// else (SQLite's NOCASE): on PostgreSQL lower() of texts that compare by
// character codes, which folds A-Z alone, searched through indexes on
// lower() of the numbers and barcodes.
QString NoCaseEquals(Engine engine, const QString& a, const QString& b);
// "a IN (?, ...)" with `count` values, compared as NoCaseEquals does.
QString NoCaseIn(Engine engine, const QString& a, int count);

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
// Keys never given before: not below `atLeast` either (the highest key a
// copied database had given).
bool KeysWritten(QSqlDatabase db, const DbCatalog::Table& table, qint64 atLeast = 0);
// The highest key the engine has given in a table, deleted rows included
// (0 when none, or when it cannot tell).
qint64 HighestKeyGiven(QSqlDatabase db, const DbCatalog::Table& table);

// The tables of the schema that the database lacks (all of them when it
// cannot be asked).
QStringList MissingTables(QSqlDatabase db);
// Whether the database holds no table of the schema (so tables may be
// created there).
bool HoldsNoTables(QSqlDatabase db);

// Whether a statement on a server connection found it gone (the server
// restarted or ended it, or the network was cut), so it must be opened anew.
// Costs no round trip to the server.
bool ConnectionLost(const QSqlDatabase& db);

} // namespace DbDialect
