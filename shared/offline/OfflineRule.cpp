#include "shared/offline/OfflineRule.h"

namespace OfflineRule {

qint16 Decide(QVector<clsPresence::DayRow> rows, const QVector<ScanJournal::Entry>& journal,
              const QDateTime& now) {
    for (const ScanJournal::Entry& e : journal) {
        if (e.state == clsPresence::Arrival)
            rows.push_back({e.at, false});
        else if (e.state == clsPresence::Departure)
            for (clsPresence::DayRow& row : rows)
                row.departed = true;
    }
    return clsPresence::Decide(rows, now);
}

} // namespace OfflineRule
