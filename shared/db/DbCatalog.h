#pragma once

#include "shared/rowset/RowSet.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The tables of the database, described once: the statements that create
// them, the column types of the exchange files and the column lists of the
// record classes all come from here.
namespace DbCatalog {

enum class ColumnType {
    Key,      // integer key given by the database
    SmallInt, // integer, 16 bits in the files
    Text,     // text of up to 50 characters in the files
    Blob,     // binary (photos)
    DateTime  // text "yyyy-MM-dd HH:mm:ss"
};

struct Column {
    QString name;
    ColumnType type;
    // Compared without regard to case (numbers and barcodes), as the old
    // database engine did.
    bool noCase = false;
    // No two rows hold the same value.
    bool unique = false;
};

struct Table {
    QString name;
    QVector<Column> columns;

    // The column names in table order, joined with ", "; without the key when asked.
    QString ColumnList(bool withKey = true) const;
};

struct Index {
    QString name;
    QString table;
    QString columns; // as written between the parentheses
    bool unique = false;
};

const Table& Dept();
const Table& Employee();
const Table& Presence();
// The trail of corrections to the presence records, closings and
// reopenings of months included (append-only), and the closed months.
const Table& Correction();
const Table& MonthClose();
// The three tables of the exchange files, in creation order.
QVector<const Table*> Tables();
// The table of that name (case-insensitive), or null.
const Table* Find(const QString& name);
const QVector<Index>& Indexes();

// The tables of the attendance rules (working hours, calendar) and of the
// scans replayed by stations.
const Table& ScheduleTable();   // WorkSchedule: DNAME ('*' = the unit), WEEKDAY 1-7, WORKING 0/1,
                                // STARTTIME, ENDTIME 'HH:MM', LATEGRACE, EARLYGRACE (minutes)
const Table& CalendarTable();   // WorkCalendar: CALDATE 'yyyy-MM-dd' (unique), KIND, NAME
const Table& ScanReplayTable(); // ScanReplay: SCANID (unique), ENUMBER, SCANTIME, STATE
// The tables the schema's later steps (DbSchema) added beside the three:
// the trail, the closed months, the rule tables and the replayed scans. No
// part of the exchange files and of the three tables' checks.
QVector<const Table*> LaterTables();
// The schema's version table: one row for each step of DbSchema applied
// (its number, when, by which program); never part of an exchange file.
const Table& SchemaVersionTable();

// The columns of a table as the exchange files describe them (types,
// lengths, keys); empty for an unknown table.
QVector<RowSetColumn> FileColumns(const QString& table);
// The file type of a column of a table; String when unknown.
RowSetColumn::Type FileType(const QString& table, const QString& column);

} // namespace DbCatalog
