#include "shared/offline/KeptJournal.h"

#include "shared/db/DbDateTime.h"
#include "shared/db/DbOpener.h"
#include "shared/db/DbSession.h"
#include "shared/records/clsEmployee.h"
#include "shared/records/clsPresence.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

const QByteArray kHeader("SQLite format 3\0", 16);

const char kColumns[] =
    "SELECT SEQ, SCANID, BARCODE, ENUMBER, SCANTIME, STATE, REPLAYED FROM Scan ";

// A number looked up one by one beyond the highest one read: a damaged
// sequence cannot make the reading endless.
constexpr qint64 kMaxLookups = 100000;

// Copies a file the user may keep read-only into a writable copy.
QString copyWritable(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.copy(to))
        return QStringLiteral("cannot read %1: %2").arg(from, source.errorString());
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    return {};
}

} // namespace

KeptJournal::KeptJournal(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        m_problem = QFileInfo::exists(path) ? QStringLiteral("%1 is not a file").arg(path)
                                            : QStringLiteral("no such file: %1").arg(path);
        return;
    }
    if (!m_dir.isValid()) {
        m_problem = QStringLiteral("cannot make a temporary folder: %1").arg(m_dir.errorString());
        return;
    }
    const QString copy = m_dir.filePath(QStringLiteral("journal.db"));
    const QString wal = path + QStringLiteral("-wal");
    m_problem = copyWritable(path, copy);
    if (m_problem.isEmpty() && QFileInfo(wal).isFile())
        m_problem = copyWritable(wal, copy + QStringLiteral("-wal"));
    if (!m_problem.isEmpty())
        return;
    {
        QFile file(copy);
        if (file.open(QIODevice::ReadWrite) && file.size() >= kHeader.size() &&
            file.read(kHeader.size()) != kHeader) {
            m_headerRestored = file.seek(0) && file.write(kHeader) == kHeader.size();
        }
    }
    Error why;
    m_copy = DbSession::OpenFile(copy, DbOpener::Profile::LocalReadOnly, &why);
    if (!m_copy.IsOpen()) {
        m_problem = QStringLiteral("%1 cannot be read: %2").arg(path, why.Text());
        return;
    }
    QSqlQuery q(m_copy.Connection());
    if (!q.exec(QLatin1String(kColumns) + QStringLiteral("LIMIT 0"))) {
        m_problem = QStringLiteral("%1 is no station journal: %2").arg(path, q.lastError().text());
        return;
    }
    m_open = true;
}

KeptJournal::Contents KeptJournal::Read() const {
    Contents c;
    if (!m_open)
        return c;
    const QSqlDatabase db = m_copy.Connection();
    QSet<qint64> seen;
    qint64 highest = 0;
    const auto take = [&](const QSqlQuery& q) {
        const qint64 seq = q.value(0).toLongLong();
        const QString time = q.value(4).toString();
        const ScanJournal::Entry e{seq,
                                   q.value(1).toString(),
                                   q.value(2).toString(),
                                   q.value(3).toString(),
                                   DbDateTime::FromText(time),
                                   qint16(q.value(5).toInt()),
                                   q.value(6).toInt() != 0};
        seen.insert(seq);
        highest = std::max(highest, seq);
        if (e.scanId.isEmpty())
            c.unreadable << QStringLiteral("scan %1: no scan id").arg(seq);
        else if (!e.at.isValid())
            c.unreadable << QStringLiteral("scan %1: not a time: '%2'").arg(seq).arg(time);
        else
            c.scans.push_back(e);
    };

    QString broken;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (q.exec(QLatin1String(kColumns) + QStringLiteral("ORDER BY SEQ")))
            while (q.next())
                take(q);
        if (q.lastError().isValid())
            broken = q.lastError().text();
    }
    // The journal numbers its scans from 1 and never removes one, and
    // SQLite keeps the highest number given apart from the rows: a number
    // the reading above did not reach is looked up alone, past a damaged
    // part of the file.
    const qint64 lastRead = highest;
    {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = 'Scan'")) &&
            q.next())
            highest = std::min(std::max(highest, q.value(0).toLongLong()), lastRead + kMaxLookups);
    }
    int missing = 0;
    for (qint64 seq = 1; seq <= highest; ++seq) {
        if (seen.contains(seq))
            continue;
        QSqlQuery q(db);
        q.prepare(QLatin1String(kColumns) + QStringLiteral("WHERE SEQ = ?"));
        q.addBindValue(seq);
        if (q.exec() && q.next()) {
            take(q);
        } else {
            c.unreadable << QStringLiteral("scan %1: %2")
                                .arg(seq)
                                .arg(q.lastError().isValid() ? q.lastError().text()
                                                             : QStringLiteral("missing"));
            ++missing;
        }
    }
    if (!broken.isEmpty() && missing == 0)
        c.unreadable << QStringLiteral("after scan %1: %2").arg(lastRead).arg(broken);
    std::sort(
        c.scans.begin(), c.scans.end(),
        [](const ScanJournal::Entry& a, const ScanJournal::Entry& b) { return a.seq < b.seq; });
    return c;
}

KeptJournal::Applied KeptJournal::Apply(DbSession& server, const ScanJournal::Entry& scan) {
    // The station's mark: the server took it (the card unknown or not).
    if (scan.replayed)
        return {Outcome::AlreadyThere, scan.state};
    QString number = scan.number;
    if (number.isEmpty()) {
        // A card the station's copy did not know: the server may know it.
        clsEmployee employee(server);
        employee.setEBARCODE(scan.barcode);
        const clsEmployee::Lookup found = employee.IsExist();
        if (found == clsEmployee::Lookup::Failed)
            return {Outcome::Failed, 0};
        if (found == clsEmployee::Lookup::NotFound)
            return {Outcome::UnknownCard, 0};
        number = employee.ENUMBER();
    }
    clsPresence presence;
    presence.setENUMBER(number);
    const qint16 state = presence.Add(server, scan.at, scan.scanId);
    if (state == clsPresence::AlreadyReplayed)
        return {Outcome::AlreadyThere, scan.state};
    if (state == clsPresence::Error || state == clsPresence::WriteFailed)
        return {Outcome::Failed, state};
    return {Outcome::Applied, state};
}
