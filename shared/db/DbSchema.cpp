#include "shared/db/DbSchema.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/StatementWatchdog.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace DbSchema {

namespace {

using Engine = DbDialect::Engine;

Engine engineOf(const QSqlDatabase& db) {
    return DbDialect::OfDriver(db.driverName());
}

// The first column of the one row of `sql` (with `bound` when not null), or
// an invalid value.
QVariant scalar(QSqlDatabase db, const QString& sql, const QVariant& bound = {},
                Error* why = nullptr) {
    const StatementWatchdog::Guard watched(db); // outlives the query, whose release waits too
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.prepare(sql) && (bound.isNull() || (q.addBindValue(bound), true)) && q.exec() && q.next())
        return q.value(0);
    if (why)
        *why = DbErrors::From(q.lastError());
    return {};
}

bool exists(QSqlDatabase db, const QString& name) {
    const Engine engine = engineOf(db);
    return scalar(db, DbDialect::ObjectExistsStatement(engine),
                  engine == Engine::PostgreSQL ? name.toLower() : name)
        .toBool();
}

// SQLite: the indexes that find each number and barcode without regard to
// case where no index of the table does so already (a file made before its
// columns compared so); none where one does, as in a new file.
QStringList fileNoCaseIndexes(QSqlDatabase db) {
    const DbCatalog::Table& table = DbCatalog::Employee();
    QSqlQuery q(db);
    QStringList indexes;
    if (!q.exec(DbDialect::IndexListStatement(table)))
        return {};
    while (q.next())
        indexes << q.value(1).toString();
    QStringList covered;
    for (const QString& index : indexes) {
        if (!q.exec(DbDialect::IndexInfoStatement(index)) || !q.next())
            return {};
        if (q.value(4).toString().compare(QLatin1String("NOCASE"), Qt::CaseInsensitive) == 0)
            covered << q.value(2).toString();
    }
    QStringList out;
    for (const DbCatalog::Column& c : table.columns)
        if (c.noCase && !covered.contains(c.name, Qt::CaseInsensitive))
            out << DbDialect::AddNoCaseIndexStatement(table, c.name);
    return out;
}

struct StepDef {
    Step step;
    // The tables and functions, then what a bulk copy builds after its rows;
    // `db` is null for a new database.
    std::function<QStringList(Engine)> tables;
    std::function<QStringList(Engine, QSqlDatabase*)> indexes;
    // Whether a database without the version table holds what the step adds.
    std::function<bool(QSqlDatabase)> present;
};

QStringList tablesOf(Engine engine, const QVector<const DbCatalog::Table*>& tables,
                     bool ifNotExists) {
    QStringList out;
    for (const DbCatalog::Table* t : tables)
        out << DbDialect::CreateTableStatement(engine, *t, ifNotExists);
    return out;
}

QStringList indexesOf(const QVector<const DbCatalog::Table*>& tables, bool ifNotExists) {
    QStringList out;
    for (const DbCatalog::Index& i : DbCatalog::Indexes())
        for (const DbCatalog::Table* t : tables)
            if (i.table == t->name)
                out << DbDialect::CreateIndexStatement(i, ifNotExists);
    return out;
}

bool hasTables(QSqlDatabase db, const QVector<const DbCatalog::Table*>& tables) {
    for (const DbCatalog::Table* t : tables)
        if (!HasTable(db, *t))
            return false;
    return true;
}

QStringList none(Engine) {
    return {};
}

// A step that makes one server function (nothing on a file): its statement,
// and the statement whose first value says whether it is there.
StepDef serverFunctionStep(int version, const QString& what, QString (*statement)(Engine),
                           QString (*state)(Engine)) {
    return {{version, what},
            [statement](Engine e) {
                const QString sql = statement(e);
                return sql.isEmpty() ? QStringList() : QStringList{sql};
            },
            [](Engine, QSqlDatabase*) { return QStringList(); },
            [state](QSqlDatabase db) {
                const QString sql = state(engineOf(db));
                return sql.isEmpty() || scalar(db, sql).toBool();
            }};
}

// The history of the schema. A step once released never changes: a change
// of the schema is a new step at the end.
const QVector<StepDef>& steps() {
    using Tables = QVector<const DbCatalog::Table*>;
    static const QVector<StepDef> list{
        {{1, QStringLiteral("departments, employees and presence records")},
         [](Engine e) { return tablesOf(e, DbCatalog::Tables(), false); },
         [](Engine, QSqlDatabase*) { return indexesOf(DbCatalog::Tables(), false); },
         [](QSqlDatabase db) { return MissingTables(db).isEmpty(); }},
        {{2, QStringLiteral("numbers and barcodes found without regard to case")},
         none,
         [](Engine e, QSqlDatabase* db) {
             return e == Engine::SQLite ? (db ? fileNoCaseIndexes(*db) : QStringList())
                                        : DbDialect::NoCaseIndexStatements(e);
         },
         [](QSqlDatabase db) {
             if (engineOf(db) == Engine::SQLite)
                 return fileNoCaseIndexes(db).isEmpty();
             return exists(db, QStringLiteral("IX_Employee_ENUMBER_NOCASE")) &&
                    exists(db, QStringLiteral("IX_Employee_EBARCODE_NOCASE"));
         }},
        {{3, QStringLiteral("working hours and calendar")},
         [](Engine e) {
             return tablesOf(e, Tables{&DbCatalog::ScheduleTable(), &DbCatalog::CalendarTable()},
                             true);
         },
         [](Engine, QSqlDatabase*) { return QStringList(); },
         [](QSqlDatabase db) {
             return hasTables(db, {&DbCatalog::ScheduleTable(), &DbCatalog::CalendarTable()});
         }},
        {{4, QStringLiteral("trail of corrections and closed months")},
         [](Engine e) {
             return tablesOf(e, Tables{&DbCatalog::Correction(), &DbCatalog::MonthClose()}, true);
         },
         [](Engine, QSqlDatabase*) {
             return indexesOf({&DbCatalog::Correction(), &DbCatalog::MonthClose()}, true);
         },
         [](QSqlDatabase db) {
             return hasTables(db, {&DbCatalog::Correction(), &DbCatalog::MonthClose()});
         }},
        serverFunctionStep(5, QStringLiteral("sign-in function (server)"),
                           DbDialect::SignInFunctionStatement,
                           DbDialect::SignInFunctionStateStatement),
        {{6, QStringLiteral("scans replayed by stations")},
         [](Engine e) { return tablesOf(e, Tables{&DbCatalog::ScanReplayTable()}, true); },
         [](Engine, QSqlDatabase*) { return QStringList(); },
         [](QSqlDatabase db) { return HasTable(db, DbCatalog::ScanReplayTable()); }},
        {{7, QStringLiteral("index of numbers with names (file)")},
         none,
         [](Engine e, QSqlDatabase*) {
             return e == Engine::SQLite ? QStringList{DbDialect::AddNameListIndexStatement()}
                                        : QStringList();
         },
         [](QSqlDatabase db) {
             return engineOf(db) != Engine::SQLite || exists(db, DbDialect::NameListIndex());
         }},
        {{8, QStringLiteral("guards of the trail and the closed months")},
         none,
         [](Engine e, QSqlDatabase*) { return DbDialect::GuardStatements(e); },
         [](QSqlDatabase db) {
             return scalar(db, DbDialect::GuardStateStatement(engineOf(db))).toBool();
         }},
        serverFunctionStep(
            9, QStringLiteral("scans of the stations' journals applied in one call (server)"),
            DbDialect::ApplyScanFunctionStatement, DbDialect::ApplyScanFunctionStateStatement),
        serverFunctionStep(
            10, QStringLiteral("a card's scan looked up and applied in one call (server)"),
            DbDialect::ScanCardFunctionStatement, DbDialect::ScanCardFunctionStateStatement),
    };
    Q_ASSERT(list.size() == Latest);
    return list;
}

QStringList stepStatements(const StepDef& s, Engine engine, QSqlDatabase* db, Part part) {
    QStringList out;
    if (part != Part::Indexes)
        out << s.tables(engine);
    if (part != Part::Tables)
        out << s.indexes(engine, db);
    return out;
}

QString programName() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("attendance") : name;
}

// The version table where it is missing (on a server readable by every
// login: each program reads it at its start), and the row of one step.
bool runAll(QSqlDatabase db, const QStringList& statements, Error* why) {
    QSqlQuery q(db);
    for (const QString& sql : statements)
        if (const StatementWatchdog::Guard watched(db); !sql.isEmpty() && !q.exec(sql))
            return DbErrors::From(q.lastError()).Report(why);
    return true;
}

bool addVersionTable(QSqlDatabase db, Error* why) {
    const Engine engine = engineOf(db);
    QStringList statements{
        DbDialect::CreateTableStatement(engine, DbCatalog::SchemaVersionTable(), true)};
    if (engine == Engine::PostgreSQL)
        statements << QStringLiteral("GRANT SELECT ON SchemaVersion TO PUBLIC");
    return runAll(db, statements, why);
}

bool recordStep(QSqlDatabase db, int version, Error* why) {
    const StatementWatchdog::Guard watched(db);
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("INSERT INTO SchemaVersion(VERSION, APPLIED, PROGRAM) VALUES(?, ?, ?)"));
    q.addBindValue(version);
    q.addBindValue(DbDateTime::ToText(AppClock::now()));
    q.addBindValue(programName());
    return q.exec() || DbErrors::From(q.lastError()).Report(why);
}

// A failure of the file system or of the login's rights, not of the step.
bool refusedWrite(const Error& e) {
    switch (e.Code()) {
    case 3:  // SQLITE_PERM
    case 8:  // SQLITE_READONLY
    case 14: // SQLITE_CANTOPEN (the journal in a read-only folder)
    case 23: // SQLITE_AUTH
        return true;
    default:
        return e.Text().contains(QLatin1String("no right"));
    }
}

} // namespace

QVector<Step> Steps() {
    QVector<Step> out;
    for (const StepDef& s : steps())
        out << s.step;
    return out;
}

QStringList NewStatements(Engine engine, Part part) {
    QStringList out;
    for (const StepDef& s : steps())
        out << stepStatements(s, engine, nullptr, part);
    out.removeAll(QString());
    return out;
}

bool HasTable(QSqlDatabase db, const DbCatalog::Table& table) {
    const Engine engine = engineOf(db);
    return scalar(db, DbDialect::TableExistsStatement(engine), DbDialect::TableName(engine, table))
        .toBool();
}

QStringList MissingTables(QSqlDatabase db) {
    QStringList missing;
    for (const DbCatalog::Table* t : DbCatalog::Tables())
        if (!HasTable(db, *t))
            missing << t->name;
    return missing;
}

bool Read(QSqlDatabase db, State* state, Error* why) {
    *state = {};
    if (HasTable(db, DbCatalog::SchemaVersionTable())) {
        Error error;
        const QVariant v = scalar(
            db, QStringLiteral("SELECT COALESCE(MAX(VERSION), 0) FROM SchemaVersion"), {}, &error);
        if (!v.isValid())
            return Error(QStringLiteral("cannot read the schema version: %1").arg(error.Text()))
                .Report(why);
        state->version = v.toInt();
        state->recorded = state->version > 0;
        if (state->recorded)
            return true;
    }
    for (const StepDef& s : steps()) {
        if (!s.present(db))
            break;
        state->version = s.step.version;
    }
    return true;
}

bool RecordNew(QSqlDatabase db, Error* why) {
    if (!addVersionTable(db, why))
        return false;
    for (const StepDef& s : steps())
        if (!recordStep(db, s.step.version, why))
            return false;
    return true;
}

bool MayUpgrade(QSqlDatabase db) {
    return scalar(db, DbDialect::SchemaOwnerStatement(engineOf(db))).toBool();
}

QString NewerText(int found) {
    return QStringLiteral("the database has schema version %1, newer than this program's %2: "
                          "use a newer version of the programs")
        .arg(found)
        .arg(Latest);
}

QString MayNotUpgradeText(int found, const QString& cause) {
    return QStringLiteral("the database has schema version %1, older than this program's %2, "
                          "and this login may not upgrade it%3: run 'attendance-admin migrate' "
                          "with a login that may (on a server the owner of the tables)")
        .arg(found)
        .arg(Latest)
        .arg(cause.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(cause));
}

bool Upgrade(QSqlDatabase db, QVector<int>* applied, Error* why) {
    const Engine engine = engineOf(db);
    if (applied)
        applied->clear();
    QSqlQuery q(db);
    const auto rollback = [&](const Error& e) {
        const StatementWatchdog::Guard watched(db);
        q.exec(QStringLiteral("ROLLBACK"));
        if (applied)
            applied->clear();
        return e.Report(why);
    };
    {
        const StatementWatchdog::Guard watched(db);
        if (!q.exec(DbDialect::BeginStatement(engine, true)))
            return DbErrors::From(q.lastError()).Report(why);
    }
    // Read again under the lock: another program may have upgraded meanwhile.
    // On a server the lock of a table (which the guards' trigger needs
    // anyway) also makes the catalogue show what that program committed.
    State state;
    Error error;
    if (!runAll(db, {DbDialect::LockTableStatement(engine, DbCatalog::Presence())}, &error) ||
        !Read(db, &state, &error))
        return rollback(error);
    if (state.version > Latest)
        return rollback(Error(NewerText(state.version)));
    if (state.version == 0)
        return rollback(Error(QStringLiteral("the database lacks the tables %1")
                                  .arg(MissingTables(db).join(QStringLiteral(", ")))));
    if (state.recorded && state.version == Latest) {
        q.exec(QStringLiteral("COMMIT"));
        return true;
    }
    if (!addVersionTable(db, &error))
        return rollback(error);
    for (const StepDef& s : steps()) {
        if (s.step.version <= state.version)
            continue;
        if (!runAll(db, stepStatements(s, engine, &db, Part::Both), &error) ||
            !recordStep(db, s.step.version, &error))
            return rollback(
                error.Within(QStringLiteral("step %1 (%2)").arg(s.step.version).arg(s.step.what)));
        if (applied)
            *applied << s.step.version;
    }
    if (state.version == Latest && !recordStep(db, Latest, &error))
        return rollback(error);
    const StatementWatchdog::Guard watched(db);
    if (!q.exec(QStringLiteral("COMMIT")))
        return rollback(DbErrors::From(q.lastError()));
    return true;
}

bool CheckOnOpen(QSqlDatabase db, bool upgrade, Error* why) {
    State state;
    if (!Read(db, &state, why))
        return false;
    if (state.version > Latest)
        return Error::Fail(why, NewerText(state.version));
    if (!upgrade || (state.recorded && state.version == Latest))
        return true;
    // A database made before the version table that holds every step is used
    // as it is by a login that may not record its version.
    const bool complete = state.version == Latest;
    if (!MayUpgrade(db))
        return complete || Error::Fail(why, MayNotUpgradeText(state.version, QString()));
    Error error;
    if (Upgrade(db, nullptr, &error) || complete)
        return true;
    if (refusedWrite(error))
        return Error::Fail(why, MayNotUpgradeText(state.version, error.Text()));
    return Error::Fail(why, QStringLiteral("cannot upgrade the database from schema version %1 "
                                           "to %2: %3")
                                .arg(state.version)
                                .arg(Latest)
                                .arg(error.Text()));
}

} // namespace DbSchema
