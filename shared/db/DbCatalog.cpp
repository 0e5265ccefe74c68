#include "shared/db/DbCatalog.h"

namespace DbCatalog {

namespace {

using T = ColumnType;

RowSetColumn fileColumn(const Table& table, const Column& col) {
    RowSetColumn c;
    c.name = col.name;
    c.baseColumn = col.name;
    c.baseTable = table.name;
    switch (col.type) {
    case T::Key:
        c.type = RowSetColumn::Type::Int;
        c.maxLength = 4;
        c.nullable = false;
        c.autoIncrement = true;
        c.keyColumn = true;
        break;
    case T::SmallInt:
        c.type = RowSetColumn::Type::I2;
        c.maxLength = 2;
        break;
    case T::Text:
        c.type = RowSetColumn::Type::String;
        c.maxLength = 50;
        break;
    case T::Blob:
        c.type = RowSetColumn::Type::Binary;
        c.isLong = true;
        c.maxLength = 1073741823;
        break;
    case T::DateTime:
        c.type = RowSetColumn::Type::DateTime;
        c.maxLength = 16;
        break;
    }
    return c;
}

} // namespace

QString Table::ColumnList(bool withKey) const {
    QStringList names;
    for (const Column& c : columns)
        if (withKey || c.type != T::Key)
            names << c.name;
    return names.join(QStringLiteral(", "));
}

const Table& Dept() {
    static const Table t{QStringLiteral("Dept"),
                         {{QStringLiteral("ID"), T::Key},
                          {QStringLiteral("DNAME"), T::Text},
                          {QStringLiteral("PASSWORD"), T::Text}}};
    return t;
}

const Table& Employee() {
    static const Table t{QStringLiteral("Employee"),
                         {{QStringLiteral("ID"), T::Key},
                          {QStringLiteral("DID"), T::SmallInt},
                          {QStringLiteral("ENUMBER"), T::Text, true},
                          {QStringLiteral("EBARCODE"), T::Text, true},
                          {QStringLiteral("ENAME"), T::Text},
                          {QStringLiteral("HEADIMG"), T::Blob},
                          {QStringLiteral("ENTERDATE"), T::DateTime}}};
    return t;
}

const Table& Presence() {
    static const Table t{QStringLiteral("Presence"),
                         {{QStringLiteral("ENUMBER"), T::Text},
                          {QStringLiteral("ENTERTIME"), T::DateTime},
                          {QStringLiteral("EXITTIME"), T::DateTime}}};
    return t;
}

const Table& Correction() {
    static const Table t{QStringLiteral("Correction"),
                         {{QStringLiteral("ID"), T::Key},
                          {QStringLiteral("CTIME"), T::DateTime},
                          {QStringLiteral("OPERATOR"), T::Text},
                          {QStringLiteral("HOST"), T::Text},
                          {QStringLiteral("PROGRAM"), T::Text},
                          {QStringLiteral("ENUMBER"), T::Text},
                          {QStringLiteral("ACTION"), T::Text},
                          {QStringLiteral("OLDENTER"), T::DateTime},
                          {QStringLiteral("OLDEXIT"), T::DateTime},
                          {QStringLiteral("NEWENTER"), T::DateTime},
                          {QStringLiteral("NEWEXIT"), T::DateTime},
                          {QStringLiteral("REASON"), T::Text}}};
    return t;
}

const Table& MonthClose() {
    static const Table t{QStringLiteral("MonthClose"),
                         {{QStringLiteral("YEARMONTH"), T::Text},
                          {QStringLiteral("CTIME"), T::DateTime},
                          {QStringLiteral("OPERATOR"), T::Text}}};
    return t;
}

QVector<const Table*> Tables() {
    return {&Dept(), &Employee(), &Presence()};
}

const Table& ScheduleTable() {
    static const Table t{QStringLiteral("WorkSchedule"),
                         {{QStringLiteral("DNAME"), T::Text},
                          {QStringLiteral("WEEKDAY"), T::SmallInt},
                          {QStringLiteral("WORKING"), T::SmallInt},
                          {QStringLiteral("STARTTIME"), T::Text},
                          {QStringLiteral("ENDTIME"), T::Text},
                          {QStringLiteral("LATEGRACE"), T::SmallInt},
                          {QStringLiteral("EARLYGRACE"), T::SmallInt}}};
    return t;
}

const Table& CalendarTable() {
    static const Table t{QStringLiteral("WorkCalendar"),
                         {{QStringLiteral("CALDATE"), T::Text, false, true},
                          {QStringLiteral("KIND"), T::Text},
                          {QStringLiteral("NAME"), T::Text}}};
    return t;
}

// The scans a station kept while the server was away and has since
// recorded: each id once (clsPresence::Add with a scan id).
const Table& ScanReplayTable() {
    static const Table t{QStringLiteral("ScanReplay"),
                         {{QStringLiteral("SCANID"), T::Text, false, true},
                          {QStringLiteral("ENUMBER"), T::Text},
                          {QStringLiteral("SCANTIME"), T::DateTime},
                          {QStringLiteral("STATE"), T::SmallInt}}};
    return t;
}

QVector<const Table*> LaterTables() {
    return {&Correction(), &MonthClose(), &ScheduleTable(), &CalendarTable(), &ScanReplayTable()};
}

const Table& SchemaVersionTable() {
    static const Table t{QStringLiteral("SchemaVersion"),
                         {{QStringLiteral("VERSION"), T::SmallInt, false, true},
                          {QStringLiteral("APPLIED"), T::DateTime},
                          {QStringLiteral("PROGRAM"), T::Text}}};
    return t;
}

const Table* Find(const QString& name) {
    for (const Table* t : Tables())
        if (t->name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

const QVector<Index>& Indexes() {
    static const QVector<Index> indexes{
        // The card look-up of every scan.
        {QStringLiteral("IX_Employee_EBARCODE"), QStringLiteral("Employee"),
         QStringLiteral("EBARCODE")},
        {QStringLiteral("IX_Employee_ENUMBER"), QStringLiteral("Employee"),
         QStringLiteral("ENUMBER")},
        // Lists by department without reading the photos (they follow the
        // listed columns in the row, so the table itself would be read whole).
        {QStringLiteral("IX_Employee_List"), QStringLiteral("Employee"),
         QStringLiteral("DID, ENUMBER, EBARCODE, ENAME, ENTERDATE")},
        // Today's row of one employee (the sign-in rule).
        {QStringLiteral("IX_Presence_ENUMBER_ENTERTIME"), QStringLiteral("Presence"),
         QStringLiteral("ENUMBER, ENTERTIME")},
        // A day or a month of records.
        {QStringLiteral("IX_Presence_ENTERTIME"), QStringLiteral("Presence"),
         QStringLiteral("ENTERTIME")},
        // One row a closed month.
        {QStringLiteral("UX_MonthClose_YEARMONTH"), QStringLiteral("MonthClose"),
         QStringLiteral("YEARMONTH"), true},
    };
    return indexes;
}

QVector<RowSetColumn> FileColumns(const QString& table) {
    QVector<RowSetColumn> cols;
    if (const Table* t = Find(table))
        for (const Column& c : t->columns) {
            cols << fileColumn(*t, c);
            cols.last().baseTable = table;
        }
    return cols;
}

RowSetColumn::Type FileType(const QString& table, const QString& column) {
    for (const RowSetColumn& c : FileColumns(table))
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return c.type;
    return RowSetColumn::Type::String;
}

} // namespace DbCatalog
