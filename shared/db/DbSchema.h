#pragma once

#include "shared/db/DbCatalog.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbErrors.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

// The schema as numbered steps, in the order the tables, indexes and server
// functions came: version 1 is the three tables of the exchange files, each
// later step adds what one change of the programs added. A new database runs
// every step; an older one the steps it lacks, in order, in one transaction,
// each recorded in the version table (DbCatalog::SchemaVersionTable) by the
// same transaction. A database made before the version table is placed by
// which steps' objects it holds. The three tables are never changed by a
// later step, so the exchange files stay as they are.
namespace DbSchema {

// The version this program's steps lead to.
constexpr int Latest = 10;

struct Step {
    int version = 0;
    QString what; // what the step adds, in English, for attendance-admin
};
QVector<Step> Steps();

// Which part of the steps' statements: the tables (and functions), the
// indexes and guards a bulk copy builds after its rows, or both.
enum class Part { Tables, Indexes, Both };
// The statements that make a new, empty database of the latest version, in
// order (the version rows are RecordNew's).
QStringList NewStatements(DbDialect::Engine engine, Part part = Part::Both);

// What a database says of its schema.
struct State {
    int version = 0;       // 0: none of the three tables
    bool recorded = false; // read from the version table, else found by its objects
};
bool Read(QSqlDatabase db, State* state, Error* why = nullptr);

// Inside the caller's transaction on a database just given NewStatements:
// records every step as applied.
bool RecordNew(QSqlDatabase db, Error* why = nullptr);

// Whether the login may change the schema: on a server the owner of the
// tables; on a file always (the file system decides when it is written).
bool MayUpgrade(QSqlDatabase db);

// Applies the steps the database lacks, in order, and records them, in one
// transaction of its own (nothing changes on failure); the versions applied
// in *applied. A database newer than this program is refused.
bool Upgrade(QSqlDatabase db, QVector<int>* applied = nullptr, Error* why = nullptr);

// The check of every opening: a database newer than this program is refused;
// an older one is upgraded when `upgrade` and the login may, else refused
// saying so (with `upgrade` false an older one is taken as it is).
bool CheckOnOpen(QSqlDatabase db, bool upgrade, Error* why = nullptr);

// The refusals' texts, naming both versions.
QString NewerText(int found);
QString MayNotUpgradeText(int found, const QString& cause);

// Whether the database holds `table`, and which of the three tables it lacks
// (all of them when it cannot be asked).
bool HasTable(QSqlDatabase db, const DbCatalog::Table& table);
QStringList MissingTables(QSqlDatabase db);

} // namespace DbSchema
