#pragma once

#include "shared/db/DbCatalog.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

// Everything the records layer says differently to SQLite and to
// PostgreSQL, as statement text: an engine in, text out; nothing here runs a
// statement. The statements of the record classes are written once, in SQL
// both engines read alike (values are bound, date-times are text of one
// form); what cannot be written alike is here. An empty text means the
// engine needs no statement for that.
namespace DbDialect {

enum class Engine { SQLite, PostgreSQL };

// The engine of a Qt SQL driver name ("QPSQL": PostgreSQL, else SQLite).
Engine OfDriver(const QString& driverName);

// "a = b" comparing texts without regard to the case of A-Z and of nothing
// else (SQLite's NOCASE): on PostgreSQL lower() of texts that compare by
// character codes, which folds A-Z alone, searched through indexes on
// lower() of the numbers and barcodes.
QString NoCaseEquals(Engine engine, const QString& a, const QString& b);
// "a IN (?, ...)" with `count` values, compared as NoCaseEquals does.
QString NoCaseIn(Engine engine, const QString& a, int count);

// A photo column as a statement reads it, and its value back as bytes. On
// PostgreSQL the photo travels as base64 text: the client decodes that
// several times faster than the driver unescapes bytea's hex form, which
// was most of a scan's look-up.
QString PhotoColumn(Engine engine, const QString& column);
QByteArray PhotoBytes(Engine engine, const QVariant& value);

// The statement that creates `table` (where it does not exist yet, with
// `ifNotExists`), and the one that creates `index`.
QString CreateTableStatement(Engine engine, const DbCatalog::Table& table, bool ifNotExists);
QString CreateIndexStatement(const DbCatalog::Index& index, bool ifNotExists);
// The indexes by which the numbers and barcodes are found without regard to
// case where the columns themselves do not compare so: on PostgreSQL on
// lower() of each such column; none on SQLite, whose columns are NOCASE.
QStringList NoCaseIndexStatements(Engine engine);

// The statement that begins a transaction; `writes` when the transaction's
// writes depend on what it reads first (SQLite then takes the write lock at
// once; PostgreSQL locks what LockKey or LockTable names instead).
QString BeginStatement(Engine engine, bool writes);
// Takes the whole database file at once and fails when another connection
// holds any lock on it (the lock probe); empty on a server, which is never
// locked as a whole.
QString BeginExclusiveStatement(Engine engine);

// Serialises, until the end of the transaction, every transaction that locks
// the same key (bound: table name, key; without regard to case) of the same
// table; `shared`: only against those that lock it not shared. Empty on
// SQLite, whose writing transactions hold the whole file.
QString LockKeyStatement(Engine engine, bool shared = false);
// Keeps other writers off `table` (a table of the catalogue) until the end of
// the transaction (readers go on). Empty on SQLite, as above.
QString LockTableStatement(Engine engine, const DbCatalog::Table& table);

// After rows were written with explicit keys: makes the keys the engine
// gives next follow the highest key of the table, never lowering them (bound:
// the least key the sequence must have reached). Empty on SQLite, which does
// so itself, and for a table without a key.
QString KeysWrittenStatement(Engine engine, const DbCatalog::Table& table);
// The highest key the engine has given in a table, deleted rows included
// (one row, one column; bound on SQLite: the table name). Empty for a table
// without a key.
QString HighestKeyStatement(Engine engine, const DbCatalog::Table& table);

// One row, one column: whether a table exists (bound: TableName()).
QString TableExistsStatement(Engine engine);
// One row, one column: whether a table, an index or a trigger of that name
// exists (bound: the name; lower case on PostgreSQL, where it finds tables
// and indexes).
QString ObjectExistsStatement(Engine engine);
// One row, one column: whether the login owns the tables and so may change
// the schema (on a file: always; the file system decides there).
QString SchemaOwnerStatement(Engine engine);
QString TableName(Engine engine, const DbCatalog::Table& table);

// One row, one column: whether the login may read and write `table`. On
// SQLite, whose file rights the file system decides, empty.
QString TableRightsStatement(Engine engine, const DbCatalog::Table& table);

// SQLite files made before the case-insensitive columns: the statements
// that read which indexes a table has (index names in column 1) and which
// column and collation an index begins with (columns 2 and 4), and the one
// that adds an index comparing `column` without regard to case.
QString IndexListStatement(const DbCatalog::Table& table);
QString IndexInfoStatement(const QString& index);
QString AddNoCaseIndexStatement(const DbCatalog::Table& table, const QString& column);

// SQLite: the index of numbers (without case) with names, by which a day's
// records find their names from the index alone instead of from the
// employees' rows with their photos; added to a file that lacks it.
QString NameListIndex();
QString AddNameListIndexStatement();

// The identity of a row of a table without a key (Presence), as a column a
// statement reads ("rowid"; on PostgreSQL the row's place as text), and the
// condition that names that row again by it (bound: the value read), valid
// within the transaction that read it.
QString RowIdColumn(Engine engine);
QString RowIdEquals(Engine engine);

// The sign-in rule as one server function (clsPresence::Add's rule, one
// round trip): created with the tables, empty on SQLite. The call binds the
// number, the station's time as stored, the day's start and end texts and
// the time RepeatSeconds earlier; it answers the clsPresence::State written
// or found, or 0 where the day holds a time of another text form (the
// program decides those itself).
QString SignInFunctionStatement(Engine engine);
QString SignInCallStatement(Engine engine);
// One row: whether the function exists, and whether the login owns table
// Presence and so may create it where an older database lacks it.
QString SignInFunctionStateStatement(Engine engine);

// A station's scan from its journal applied in one server function (one
// round trip, one transaction): the sign-in function's rule and write, and
// the scan's id in ScanReplay. The call binds the sign-in call's five values
// and the scan id; it answers the clsPresence::State written or found
// (AlreadyReplayed for an id applied before, nothing written then), or a
// value below 1 where the program's statements must apply the scan (a closed
// month, whose replays leave a trail row; a day holding a time of another
// text form): nothing is written then. Step 9 of the schema, and made on
// first use by the login that owns the tables; empty on SQLite.
QString ApplyScanFunctionStatement(Engine engine);
QString ApplyScanCallStatement(Engine engine);
// One row as SignInFunctionStateStatement's, for this function.
QString ApplyScanFunctionStateStatement(Engine engine);

// A journal's scan of a card in one server call, one round trip: the card
// looked up by its barcode as a scan looks it up (without regard to case,
// with its department and the photo as PhotoColumn gives it), and, when its
// row is usable (department, barcode, name and department name present), the
// scan applied as ApplyScanFunctionStatement applies it, in the same
// transaction. The call binds the barcode, the apply call's four times and the
// scan id; it answers no row for an unknown card, else the look-up's eight
// columns and the apply function's answer (null where it was not called).
// Step 10 of the schema, and made on first use by the login that owns the
// tables; empty on SQLite.
QString ScanCardFunctionStatement(Engine engine);
QString ScanCardCallStatement(Engine engine);
// One row as SignInFunctionStateStatement's, for this function and the two it calls.
QString ScanCardFunctionStateStatement(Engine engine);
// The same, the first value true only where this login may also call it.
QString ScanCardFunctionCallableStatement(Engine engine);

// What guards the trail of corrections and the closed months on the
// database itself. On PostgreSQL: functions that run with the owner's rights
// (search_path fixed) write every trail row and every month's closing and
// reopening, ids from the trail's sequence, the time from the server's clock
// and the operator from the session (the login); the stations' login gets
// EXECUTE on them and only SELECT on the two tables. On both engines a
// trigger refuses any change of a Presence row of a closed month but a
// replayed scan whose trail row the same transaction wrote just before
// (SQLite: the connection's last insert; PostgreSQL: a row of this
// transaction). Created with the tables, and by the first program that opens
// an older database with the right to (the file's writer, the tables' owner).
QStringList GuardStatements(Engine engine);
// One row: whether the guards of this version are in place, whether the
// login may create them (on a file: always), and whether the server's
// functions write the trail (those of an earlier version too; on a file:
// never).
QString GuardStateStatement(Engine engine);
// The calls of those functions (empty on SQLite, whose programs write the
// rows themselves). Correcting a day binds the number, the action key, the
// day "yyyy-MM-dd", the stored arrival of the day's first record (null:
// none), the new arrival and departure (null: none), the reason, the
// client's login@host and program; it refuses a closed month, a record not
// as read, times not of the stored form or in a wrong order. Closing and
// reopening bind the month "yyyy-MM", login@host and program. The replay's
// trail row binds the number, the record's old arrival and departure, new
// arrival and departure, the scan id, login@host and program. A new
// administrator password's row binds login@host and program.
QString CorrectCallStatement(Engine engine);
QString MonthCloseCallStatement(Engine engine, bool close);
QString ReplayTrailCallStatement(Engine engine);
QString PasswordTrailCallStatement(Engine engine);

// The statements every SQLite connection runs after opening: a rollback
// journal with full synchronous commits. And the settings of every server
// session: lock waits end after `lockWaitMs`, statements after
// `statementLimitMs` (0: never); texts travel as UTF-8.
QStringList SessionStatements(Engine engine, int lockWaitMs, int statementLimitMs = 0);
// One row: the server's clock, milliseconds since 1970 UTC (empty on
// SQLite, whose clock is the station's own).
QString ServerClockStatement(Engine engine);
// One row: how many seconds the server's time zone (its setting for new
// sessions, whatever the session set since) is ahead of UTC now (empty on
// SQLite).
QString ServerUtcOffsetStatement(Engine engine);
// Sets how long a server statement may run (0: no limit; empty on SQLite).
QString StatementLimitStatement(Engine engine, int ms);
// Sets how long a statement waits for another program's lock (empty on a
// server, whose lock waits stay at the session's setting).
QString BusyTimeoutStatement(Engine engine, int ms);

} // namespace DbDialect
