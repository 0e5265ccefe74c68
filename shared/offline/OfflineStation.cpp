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

OfflineStation::Greeting OfflineStation::Scan(const QString& barcode, const QDateTime& now) {
    Greeting g;
    const QDateTime at = now.addMSecs(-now.time().msec());
    const std::optional<StationCache::Employee> employee = m_cache.Find(barcode);
    if (employee) {
        g.found = 1;
        g.employee = *employee;
        g.state = OfflineRule::Decide(m_cache.DayRows(employee->number, at.date()),
                                      m_journal.Day(employee->number, at.date()), at);
    }
    // Every scan is kept, an unknown card too: the server may know it.
    if (m_journal.Add(barcode.trimmed().toUpper(), g.employee.number, at, g.state).isEmpty())
        g.found = -1;
    return g;
}

bool OfflineStation::ServerAnswers() {
    const StatementWatchdog::Quick quick(clsDbConn().GetDbConn());
    auto q = DbQuery::Read(QStringLiteral("SELECT 1"), {});
    return q && q->next();
}
