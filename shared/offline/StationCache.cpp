#include "shared/offline/StationCache.h"

#include "shared/db/DbDateTime.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbTransaction.h"

namespace {

QStringList schema() {
    return {
        // A small page cache on each connection: a scan reads one card's row
        // and photo, which the system's file cache holds anyway; SQLite's
        // default 2 MB made a station's memory rise and fall by as much as
        // the copy was read and refreshed.
        QStringLiteral("PRAGMA cache_size=-256"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS Emp(EBARCODE TEXT, ENUMBER TEXT, ENAME TEXT, "
                       "DNAME TEXT, HEADIMG BLOB)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS IX_Emp_Barcode ON Emp(EBARCODE)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS Day(ENUMBER TEXT, ENTERTIME TEXT, "
                       "DEPARTED INTEGER)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS IX_Day_Number ON Day(ENUMBER)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS Meta(KEY TEXT PRIMARY KEY, VALUE TEXT)"),
        // A file of another layout is no copy.
        QStringLiteral("SELECT e.EBARCODE, e.ENUMBER, e.ENAME, e.DNAME, e.HEADIMG, d.ENTERTIME, "
                       "d.DEPARTED, m.KEY, m.VALUE FROM Emp e, Day d, Meta m LIMIT 0")};
}

// Copies the rows of a server statement into a table of the copy.
bool copyRows(DbSession& server, DbTransaction& tx, const QString& select,
              const QVariantList& params, const QString& insert, int columns) {
    auto q = DbQuery::Read(server, select, params);
    if (!q)
        return false;
    while (q->next()) {
        QVariantList row;
        for (int i = 0; i < columns; ++i)
            row << q->value(i);
        if (tx.Exec(insert, row) != 1)
            return false;
    }
    return true;
}

} // namespace

StationCache::StationCache(const QString& path) : m_file(path, schema()) {}

StationCache::StationCache(const QString& path, LocalFile::Unusable unusable)
    : m_file(path, schema(), unusable) {}

bool StationCache::Refresh(DbSession& server, const QDate& day, const QDateTime& now) {
    DbTransaction tx(m_file.Session(), DbTransaction::Mode::Immediate);
    if (!tx.IsActive() || tx.Exec(QStringLiteral("DELETE FROM Emp")) < 0 ||
        tx.Exec(QStringLiteral("DELETE FROM Day")) < 0)
        return false;
    const bool copied =
        copyRows(server, tx,
                 QStringLiteral("SELECT upper(e.EBARCODE), e.ENUMBER, e.ENAME, d.DNAME, e.HEADIMG "
                                "FROM Employee e LEFT JOIN Dept d ON d.ID = e.DID"),
                 {}, QStringLiteral("INSERT INTO Emp VALUES(?, ?, ?, ?, ?)"), 5) &&
        copyRows(server, tx,
                 QStringLiteral("SELECT ENUMBER, ENTERTIME, CASE WHEN EXITTIME IS NULL THEN 0 "
                                "ELSE 1 END FROM Presence WHERE ENTERTIME >= ? AND ENTERTIME < ?"),
                 {DbDateTime::DayStart(day), DbDateTime::DayEnd(day)},
                 QStringLiteral("INSERT INTO Day VALUES(?, ?, ?)"), 3);
    return copied &&
           tx.Exec(QStringLiteral("INSERT OR REPLACE INTO Meta VALUES('refreshed', ?)"),
                   {DbDateTime::ToText(now)}) == 1 &&
           tx.Commit();
}

QDateTime StationCache::RefreshedAt() const {
    auto q = DbQuery::Read(m_file.Session(),
                           QStringLiteral("SELECT VALUE FROM Meta WHERE KEY = 'refreshed'"), {});
    return q && q->next() ? DbDateTime::FromText(q->value(0).toString()) : QDateTime();
}

std::optional<StationCache::Employee> StationCache::Find(const QString& barcode) const {
    auto q = DbQuery::Read(
        m_file.Session(),
        QStringLiteral("SELECT ENUMBER, ENAME, DNAME, HEADIMG FROM Emp WHERE EBARCODE = ?"),
        {barcode.trimmed().toUpper()});
    if (!q || !q->next())
        return std::nullopt;
    return Employee{q->value(0).toString(), q->value(1).toString(), q->value(2).toString(),
                    q->value(3).toByteArray()};
}

PresenceDay StationCache::Day(const QString& number, const QDate& day) const {
    PresenceDay out(day);
    auto q = DbQuery::Read(m_file.Session(),
                           QStringLiteral("SELECT ENTERTIME, DEPARTED FROM Day WHERE ENUMBER = ? "
                                          "AND ENTERTIME >= ? AND ENTERTIME < ?"),
                           {number, DbDateTime::DayStart(day), DbDateTime::DayEnd(day)});
    while (q && q->next())
        out.Add({DbDateTime::FromText(q->value(0).toString()),
                 QDateTime(),
                 q->value(1).toInt() != 0,
                 {},
                 q->value(0).toString(),
                 {}});
    return out;
}
