#include "shared/offline/OfflineRule.h"

namespace OfflineRule {

qint16 Decide(PresenceDay day, const QVector<ScanJournal::Entry>& journal, const QDateTime& now) {
    for (const ScanJournal::Entry& e : journal) {
        if (e.state == clsPresence::Arrival)
            day.Add({e.at, QDateTime(), false, {}, {}, {}});
        else if (e.state == clsPresence::Departure)
            day.MarkDeparted();
    }
    return day.Decide(now);
}

} // namespace OfflineRule
