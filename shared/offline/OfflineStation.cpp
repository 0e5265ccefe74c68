#include "shared/offline/OfflineStation.h"

#include "shared/base/ProgramDirectory.h"
#include "shared/db/DbQuery.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/OfflineRule.h"

OfflineStation::OfflineStation(const QString& folder)
    : m_cache(CacheFile(folder)), m_journal(JournalFile(folder)) {}

QString OfflineStation::CacheFile(const QString& folder) {
    return JoinPath(folder, QStringLiteral("station-cache.db"));
}

QString OfflineStation::JournalFile(const QString& folder) {
    return JoinPath(folder, QStringLiteral("station-journal.db"));
}

OfflineStation::Greeting OfflineStation::decide(const QString& barcode, const QDateTime& at) const {
    Greeting g;
    const std::optional<StationCache::Employee> employee = m_cache.Find(barcode);
    if (employee) {
        g.found = 1;
        g.employee = *employee;
        g.state = OfflineRule::Decide(m_cache.DayRows(employee->number, at.date()),
                                      m_journal.Day(employee->number, at.date()), at);
    }
    return g;
}

OfflineStation::Greeting OfflineStation::Scan(const QString& barcode, const QDateTime& now) {
    const QDateTime at = now.addMSecs(-now.time().msec());
    Greeting g = decide(barcode, at);
    // Every scan is kept, an unknown card too: the server may know it.
    if (m_journal.Add(barcode.trimmed().toUpper(), g.employee.number, at, g.state).isEmpty())
        g.found = -1;
    return g;
}

OfflineStation::Greeting OfflineStation::Greet(const QString& scanId, const QString& barcode,
                                               const QDateTime& at) {
    Greeting g = decide(barcode, at.addMSecs(-at.time().msec()));
    if (!m_journal.SetGreeted(scanId, g.employee.number, g.state))
        g.found = -1;
    return g;
}

bool OfflineStation::ServerAnswers() {
    const StatementWatchdog::Quick quick(clsDbConn().GetDbConn());
    auto q = DbQuery::Read(QStringLiteral("SELECT 1"), {});
    return q && q->next();
}
