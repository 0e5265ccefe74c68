#include "shared/offline/ScanJournal.h"

#include "shared/db/DbDateTime.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbTransaction.h"

#include <QSqlQuery>
#include <QUuid>

#include <optional>

namespace {

const char kColumns[] =
    "SELECT SEQ, SCANID, BARCODE, ENUMBER, SCANTIME, STATE, REPLAYED FROM Scan ";

QStringList schema() {
    // SEQ is never used again, not even after a prune has emptied the table:
    // the scan worker tells the scans given to it from those it has applied by it.
    return {QStringLiteral("CREATE TABLE IF NOT EXISTS Scan(SEQ INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "SCANID TEXT NOT NULL UNIQUE, BARCODE TEXT, ENUMBER TEXT, "
                           "SCANTIME TEXT NOT NULL, STATE INTEGER, REPLAYED INTEGER NOT NULL "
                           "DEFAULT 0)"),
            // Partial indexes: a scan enters the waiting scans' index when it
            // is journalled and leaves it when the server has it, and enters
            // the numbers' index once its number is known, so each of the two
            // writes of a scan touches fewer pages. (A journal of the earlier
            // layout loses its full indexes.)
            QStringLiteral("CREATE INDEX IF NOT EXISTS IX_Scan_Waiting ON Scan(SEQ) WHERE "
                           "REPLAYED = 0"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS IX_Scan_Numbered ON Scan(ENUMBER, "
                           "SCANTIME) WHERE ENUMBER <> ''"),
            QStringLiteral("DROP INDEX IF EXISTS IX_Scan_Pending"),
            QStringLiteral("DROP INDEX IF EXISTS IX_Scan_Number"),
            // A file of another layout is no journal.
            QLatin1String(kColumns) + QStringLiteral("LIMIT 0")};
}

} // namespace

ScanJournal::ScanJournal(const QString& path) : m_file(path, schema()) {}

ScanJournal::ScanJournal(const QString& path, LocalFile::Unusable unusable)
    : m_file(path, schema(), unusable) {}

ScanJournal::Entry ScanJournal::Append(const QString& barcode, const QString& number,
                                       const QDateTime& at, qint16 state) {
    const QString time = DbDateTime::ToText(at);
    Entry e{0,
            QUuid::createUuid().toString(QUuid::WithoutBraces),
            barcode,
            number,
            DbDateTime::FromText(time),
            state,
            false};
    // One statement is its own transaction: committed (flushed) on return,
    // without a BEGIN and a COMMIT of its own for the window's thread to run.
    // (Run as a read only to keep the query for its row id.)
    auto q = DbQuery::Read(m_file.Session().Connection(),
                           QStringLiteral("INSERT INTO Scan(SCANID, BARCODE, ENUMBER, SCANTIME, "
                                          "STATE) VALUES(?, ?, ?, ?, ?)"),
                           {e.scanId, barcode, number, time, int(state)});
    if (!q || q->numRowsAffected() != 1)
        return {};
    e.seq = q->lastInsertId().toLongLong();
    return e;
}

QVector<ScanJournal::Entry> ScanJournal::read(const QString& where, const QVariantList& params,
                                              bool* ok) const {
    QVector<Entry> out;
    auto q = DbQuery::Read(m_file.Session(), QLatin1String(kColumns) + where, params);
    if (ok)
        *ok = bool(q);
    while (q && q->next())
        out.push_back({q->value(0).toLongLong(), q->value(1).toString(), q->value(2).toString(),
                       q->value(3).toString(), DbDateTime::FromText(q->value(4).toString()),
                       qint16(q->value(5).toInt()), q->value(6).toInt() != 0});
    return out;
}

QVector<ScanJournal::Entry> ScanJournal::Pending(int limit, bool* ok) const {
    return read(QStringLiteral("WHERE REPLAYED = 0 ORDER BY SEQ LIMIT ?"), {limit}, ok);
}

int ScanJournal::PendingCount() const {
    auto q = DbQuery::Read(m_file.Session(),
                           QStringLiteral("SELECT COUNT(*) FROM Scan WHERE REPLAYED = 0"), {});
    return q && q->next() ? q->value(0).toInt() : -1;
}

QVector<ScanJournal::Entry> ScanJournal::Day(const QString& number, const QDate& day) const {
    // (ENUMBER <> '' lets the numbers' index serve.)
    return read(QStringLiteral("WHERE ENUMBER = ? AND ENUMBER <> '' AND SCANTIME >= ? AND "
                               "SCANTIME < ? ORDER BY SEQ"),
                {number, DbDateTime::DayStart(day), DbDateTime::DayEnd(day)});
}

bool ScanJournal::MarkReplayed(const QVector<Mark>& marks) {
    // Several marks in one transaction; a single one is its own.
    std::optional<DbTransaction> tx;
    if (marks.size() > 1 &&
        !tx.emplace(m_file.Session(), DbTransaction::Mode::Immediate).IsActive())
        return false;
    for (const Mark& m : marks)
        if (DbQuery::Exec(m_file.Session(),
                          QStringLiteral("UPDATE Scan SET REPLAYED = 1, STATE = ?, ENUMBER = "
                                         "COALESCE(NULLIF(?, ''), ENUMBER) WHERE SCANID = ?"),
                          {int(m.state), m.number, m.scanId}) != 1)
            return false;
    return !tx || tx->Commit();
}

bool ScanJournal::SetGreeted(const QString& scanId, const QString& number, qint16 state) {
    DbTransaction tx(m_file.Session(), DbTransaction::Mode::Immediate);
    return tx.Exec(QStringLiteral("UPDATE Scan SET ENUMBER = ?, STATE = ? WHERE SCANID = ? AND "
                                  "REPLAYED = 0"),
                   {number, int(state), scanId}) >= 0 &&
           tx.Commit();
}

bool ScanJournal::Prune(const QDateTime& before) {
    DbTransaction tx(m_file.Session(), DbTransaction::Mode::Immediate);
    return tx.Exec(QStringLiteral("DELETE FROM Scan WHERE REPLAYED = 1 AND SCANTIME < ?"),
                   {DbDateTime::ToText(before)}) >= 0 &&
           tx.Commit();
}

bool ScanJournal::SetFlushOnCommit(bool flush) {
    // In WAL mode NORMAL commits without a flush; the next flushed commit
    // or checkpoint writes them out, in order.
    QSqlQuery q(m_file.Session().Connection());
    return IsOpen() && q.exec(flush ? QStringLiteral("PRAGMA synchronous=FULL")
                                    : QStringLiteral("PRAGMA synchronous=NORMAL"));
}
