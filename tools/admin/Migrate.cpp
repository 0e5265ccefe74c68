#include "tools/admin/Migrate.h"

#include "shared/config/IniFile.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCatalog.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbOpener.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "tools/admin/ServerOptions.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace Migrate {

namespace {

using T = DbCatalog::ColumnType;

// Values bound to one multi-row insert: few round trips to the server, far
// below its limit of 65535 parameters a statement.
constexpr int kValuesPerInsert = 3000;
// Rows with photos travel in smaller statements.
constexpr int kRowsPerPhotoInsert = 50;

// A value read from the file as the target column takes it; NULL stays NULL.
QVariant asStored(const QVariant& v, T type) {
    switch (type) {
    case T::Key:
    case T::SmallInt:
        return v.isNull() ? QVariant(QMetaType::fromType<qlonglong>()) : QVariant(v.toLongLong());
    case T::Blob:
        return v.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(v.toByteArray());
    case T::Text:
    case T::DateTime:
        break;
    }
    return v.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(v.toString());
}

QString keyColumn(const DbCatalog::Table& t) {
    for (const DbCatalog::Column& c : t.columns)
        if (c.type == T::Key)
            return c.name;
    return {};
}

bool hasBlob(const DbCatalog::Table& t) {
    for (const DbCatalog::Column& c : t.columns)
        if (c.type == T::Blob)
            return true;
    return false;
}

QString insertStatement(const DbCatalog::Table& t, int rows) {
    QStringList marks(t.columns.size(), QStringLiteral("?"));
    const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    QStringList values(rows, row);
    return QStringLiteral("INSERT INTO %1(%2) VALUES %3")
        .arg(t.name, t.ColumnList(), values.join(QStringLiteral(", ")));
}

bool countRows(QSqlDatabase db, const DbCatalog::Table& t, qint64* count, Error* error) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t.name)) || !q.next())
        return DbErrors::From(q.lastError()).Report(error);
    *count = q.value(0).toLongLong();
    return true;
}

// Copies every row of one table, in key order where it has a key.
bool copyTable(QSqlDatabase source, QSqlDatabase target, const DbCatalog::Table& t, qint64* copied,
               Error* error) {
    const int width = int(t.columns.size());
    const int rowsPerInsert = hasBlob(t) ? kRowsPerPhotoInsert : kValuesPerInsert / width;
    const QString key = keyColumn(t);

    QSqlQuery read(source);
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT %1 FROM %2%3")
                       .arg(t.ColumnList(), t.name,
                            key.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + key)))
        return DbErrors::From(read.lastError()).Report(error);

    QSqlQuery full(target);
    if (!full.prepare(insertStatement(t, rowsPerInsert)))
        return DbErrors::From(full.lastError()).Report(error);
    QVariantList pending;
    pending.reserve(rowsPerInsert * width);
    const auto flush = [&](QSqlQuery& insert) {
        for (int i = 0; i < pending.size(); ++i)
            insert.bindValue(i, pending[i]);
        if (!insert.exec())
            return DbErrors::From(insert.lastError()).Report(error);
        *copied += pending.size() / width;
        pending.clear();
        return true;
    };

    *copied = 0;
    while (read.next()) {
        for (int i = 0; i < width; ++i) {
            pending << asStored(read.value(i), t.columns[i].type);
            // The server's texts end at a NUL character: such a value would
            // arrive cut short.
            if (pending.last().typeId() == QMetaType::QString &&
                pending.last().toString().contains(QChar(0)))
                return Error::Fail(error, QStringLiteral("row %1: column %2 holds a text with "
                                                           "a NUL character, which the server "
                                                           "cannot store")
                                                .arg(*copied + (pending.size() - 1) / width + 1)
                                                .arg(t.columns[i].name));
        }
        if (pending.size() == rowsPerInsert * width && !flush(full))
            return false;
    }
    if (read.lastError().isValid())
        return DbErrors::From(read.lastError()).Report(error);
    if (!pending.isEmpty()) {
        QSqlQuery rest(target);
        if (!rest.prepare(insertStatement(t, int(pending.size() / width))))
            return DbErrors::From(rest.lastError()).Report(error);
        return flush(rest);
    }
    return true;
}

// The database file of the current program directory, opened read-only so
// the copy cannot change it.
QSqlDatabase openSource(const QString& file, const QString& name, Error* error) {
    Error why;
    QSqlDatabase db = DbOpener::OpenFile(file, name, DbOpener::Profile::ReadOnly, &why);
    if (!db.isValid())
        why.Report(error);
    return db;
}

} // namespace

bool SettingsStorable(const DbSettings& server, Error* error) {
    const QList<QPair<const char*, QString>> values = {{"server", server.server},
                                                       {"login name", server.user},
                                                       {"password", server.password},
                                                       {"database name", server.database}};
    for (const auto& [what, value] : values) {
        bool encodable = false;
        const QByteArray bytes = IniFile::ToAnsi(value, &encodable);
        if (!encodable || value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) ||
            bytes.size() > IniFile::MaxValueBytes)
            return Error::Fail(error, QStringLiteral("the %1 cannot be stored in attendance.ini "
                                                       "(a line break, a character without a GBK "
                                                       "code, or more than %2 bytes)")
                                            .arg(QLatin1String(what))
                                            .arg(IniFile::MaxValueBytes));
    }
    return true;
}

std::vector<IniFile::Entry> SettingsKeys(const DbSettings& server) {
    const QString group = QStringLiteral("ATTENDANCE");
    return {{group, QStringLiteral("DBSERVER"), server.server},
            {group, QStringLiteral("DBLOGINNAME"), server.user},
            {group, QStringLiteral("DBLOGINPWD"), server.password},
            {group, QStringLiteral("DBNAME"), server.database},
            {QStringLiteral("DATA"), QStringLiteral("ENGINE"),
             DbSettings::EngineName(DbSettings::Engine::PostgreSQL)}};
}

bool WriteSettings(const QString& ini, const DbSettings& server) {
    clsConfiguration file;
    file.setFileName(ini);
    return file.WriteKeys(SettingsKeys(server));
}

bool CopyDatabase(QSqlDatabase source, QSqlDatabase target, Counts* counts, Error* error) {
    // One read transaction: the counts and the rows are of the same moment.
    DbTransaction reading(source);
    if (!reading.IsActive())
        return reading.Error().Report(error);
    QVector<const DbCatalog::Table*> tables = DbCatalog::Tables();
    // The trail, the closed months, the working hours, the calendar and the
    // replayed scans go along where the file has them.
    for (const DbCatalog::Table* t : DbCatalog::LaterTables())
        if (clsDbConn::HasTable(source, *t))
            tables << t;
    QVector<qint64> expected(tables.size());
    for (int i = 0; i < tables.size(); ++i)
        if (!countRows(source, *tables[i], &expected[i], error))
            return false;

    Error dbError;
    if (!DbCreator::AddTables(target, &dbError, false))
        return dbError.Report(error);
    QVector<qint64> copied(tables.size());
    for (int i = 0; i < tables.size(); ++i) {
        if (Error why; !copyTable(source, target, *tables[i], &copied[i], &why))
            return why.Within(QStringLiteral("cannot copy table %1").arg(tables[i]->name))
                .Report(error);
        // Keys of deleted rows stay given, as in the file.
        if (!clsDbConn::KeysWritten(target, *tables[i],
                                    clsDbConn::HighestKeyGiven(source, *tables[i])))
            return Error::Fail(
                error, QStringLiteral("cannot advance the keys of table %1").arg(tables[i]->name));
    }
    if (!DbCreator::AddIndexes(target, &dbError))
        return dbError.Report(error);
    for (int i = 0; i < tables.size(); ++i) {
        qint64 stored = -1;
        if (!countRows(target, *tables[i], &stored, error))
            return false;
        if (stored != expected[i] || copied[i] != expected[i])
            return Error::Fail(error, QStringLiteral("table %1: %2 rows in the file, %3 copied, "
                                                       "%4 on the server")
                                            .arg(tables[i]->name)
                                            .arg(expected[i])
                                            .arg(copied[i])
                                            .arg(stored));
    }
    if (counts)
        *counts = {expected[0], expected[1], expected[2]};
    return true;
}

namespace {

// The program directory uses its database file, which exists, and its
// configuration can take the server settings.
bool checkSource(Admin::Context& c, const DbSettings& server, QString* file) {
    const QString ini = clsConfiguration::DefaultFileName();
    const DbSettings current = DbSettings::FromConfiguration();
    QString error;
    Error why;
    if (current.engine != DbSettings::Engine::SQLite)
        error = QStringLiteral("%1 says ENGINE=%2 (group DATA): only a program directory that "
                               "uses its database file can be migrated; nothing was changed")
                    .arg(ini, current.engineText.trimmed());
    else if (error = Admin::DatabaseFileProblem(); !error.isEmpty())
        ;
    else if (*file = DatabaseFilePath();
             !QFileInfo(ini).isWritable() || !QFileInfo(QFileInfo(ini).absolutePath()).isWritable())
        error = QStringLiteral("%1 cannot be written; nothing was changed").arg(ini);
    else if (!SettingsStorable(server, &why))
        error = why.Text() + QStringLiteral("; nothing was changed");
    return error.isEmpty() || Admin::Fail(c.err, error);
}

// The file's tables and rows onto the server in one transaction.
bool copyToServer(Admin::Context& c, const DbSettings& server, const QString& file,
                  Counts* counts) {
    const QString ini = clsConfiguration::DefaultFileName();
    const ScopedConnection sourceName(QStringLiteral("attendance_migrate_source"));
    const ScopedConnection targetName(QStringLiteral("attendance_migrate_target"));
    QString error;
    Error why;
    QSqlDatabase source = openSource(file, sourceName.name(), &why);
    QSqlDatabase target;
    if (!source.isValid())
        error = QStringLiteral("cannot read the database file: %1").arg(why.Text());
    else if (target = clsDbConn::OpenServer(server, targetName.name(), &why, false);
             !target.isValid())
        error = QStringLiteral("cannot connect: %1").arg(why.Text());
    else if (!clsDbConn::LiftStatementLimits(target))
        error = QStringLiteral("cannot lift the statement time limit on %1").arg(server.Describe());
    if (!error.isEmpty())
        return Admin::Fail(c.err, error);
    // Tables and rows become visible together, or not at all.
    DbTransaction tx(target);
    if (!tx.IsActive())
        error = QStringLiteral("cannot begin a transaction on %1: %2")
                    .arg(server.Describe(), tx.Error().Text());
    else if (Error copying; !CopyDatabase(source, target, counts, &copying) || !tx.Commit())
        error =
            QStringLiteral("nothing was copied to %1 and %2 is unchanged: %3")
                .arg(server.Describe(), ini, copying.IsSet() ? copying.Text() : tx.Error().Text());
    return error.isEmpty() || Admin::Fail(c.err, error);
}

// The database of the program directory brought to this program's schema
// version, the steps applied named.
int upgradeInPlace(Admin::Context& c) {
    if (!Admin::UseDirOption(c))
        return Admin::Failure;
    const DbSettings settings = DbSettings::FromConfiguration();
    if (settings.engine == DbSettings::Engine::SQLite)
        if (const QString problem = Admin::DatabaseFileProblem(); !problem.isEmpty())
            return Admin::Fail(c.err, problem);
    const ScopedConnection name(QStringLiteral("attendance_migrate_schema"));
    Error why;
    QSqlDatabase db =
        DbOpener::Open(settings, DatabaseFilePath(), name.name(), DbOpener::Profile::New, &why);
    DbSchema::State state;
    if (!db.isValid() || !DbSchema::Read(db, &state, &why))
        return Admin::Fail(c.err, why.Text());
    const QString where = settings.Location();
    if (state.version == 0)
        return Admin::Fail(c.err, QStringLiteral("%1 lacks the tables %2; nothing was changed")
                                      .arg(where, clsDbConn::MissingTables(db).join(", ")));
    if (state.version > DbSchema::Latest)
        return Admin::Fail(c.err, DbSchema::NewerText(state.version) +
                                      QStringLiteral("; nothing was changed"));
    const bool mayUpgrade = DbSchema::MayUpgrade(db);
    if (state.version < DbSchema::Latest && !mayUpgrade)
        return Admin::Fail(c.err, DbSchema::MayNotUpgradeText(state.version, QString()));
    QVector<int> applied;
    // Indexes of a large database may take longer than a statement's bound.
    if (mayUpgrade &&
        !(clsDbConn::LiftStatementLimits(db) && DbSchema::Upgrade(db, &applied, &why)))
        return Admin::Fail(c.err, QStringLiteral("cannot upgrade %1 from schema version %2 to "
                                                 "%3; nothing was changed: %4")
                                      .arg(where)
                                      .arg(state.version)
                                      .arg(DbSchema::Latest)
                                      .arg(why.Text()));
    for (const DbSchema::Step& step : DbSchema::Steps())
        if (applied.contains(step.version))
            c.out << "schema version " << step.version << ": " << step.what << Qt::endl;
    if (applied.isEmpty())
        c.out << where << " is at schema version " << DbSchema::Latest << "; nothing to do"
              << Qt::endl;
    else
        c.out << "upgraded " << where << " from schema version " << state.version << " to "
              << DbSchema::Latest << Qt::endl;
    return Admin::Success;
}

bool serverOptionsGiven(const Admin::Context& c) {
    for (const char* option : {"server", "user", "database", "password", "password-file"})
        if (c.isSet(option))
            return true;
    return false;
}

} // namespace

QString Synopsis() {
    return QStringLiteral("[--dir DIR]\n"
                          "       attendance-admin migrate --server HOST[:PORT][,...] --user U "
                          "--password P\n"
                          "         --database NAME [--dir DIR]");
}

QString Summary() {
    return QStringLiteral(
        "Without server options: brings the database of the program directory\n"
        "(file or server) to this program's schema version, applying the steps\n"
        "it lacks in order in one transaction, and names them. A server's\n"
        "database needs the login that owns the tables.\n\n"
        "With them: copies the database file of the program directory (its\n"
        "attendance.ini must name no engine or sqlite) into the empty server\n"
        "database NAME in one transaction: departments and employees with their\n"
        "keys, photos and every presence record. The row counts are checked, and\n"
        "only then attendance.ini is switched to the server, in one rewrite. The\n"
        "file stays as it was. Stop the stations and office programs first.");
}

int Run(Admin::Context& c) {
    if (!serverOptionsGiven(c))
        return upgradeInPlace(c);
    DbSettings server;
    QString file;
    if (!ServerOptions::Read(c, &server) || !Admin::UseDirOption(c) ||
        !checkSource(c, server, &file))
        return Admin::Failure;
    QElapsedTimer timer;
    timer.start();
    Counts counts;
    if (!copyToServer(c, server, file, &counts))
        return Admin::Failure;
    const double seconds = double(timer.nsecsElapsed()) / 1e9;

    const QString ini = clsConfiguration::DefaultFileName();
    if (!WriteSettings(ini, server))
        return Admin::Fail(c.err, QStringLiteral("the copy is on %1, but %2 could not be "
                                                 "written: the programs still use %3")
                                      .arg(server.Describe(), ini, file));
    const qint64 rows = counts.departments + counts.employees + counts.presence;
    c.out << "copied " << counts.departments << " departments, " << counts.employees
          << " employees, " << counts.presence << " presence records from " << file << " to "
          << server.Describe() << " in " << QString::number(seconds, 'f', 2) << " s ("
          << qint64(seconds > 0 ? double(rows) / seconds : double(rows)) << " rows/s)" << Qt::endl;
    c.out << "wrote " << ini << ": the programs now use " << server.Describe() << "; " << file
          << " is unchanged" << Qt::endl;
    return Admin::Success;
}

} // namespace Migrate
