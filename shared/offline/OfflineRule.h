#pragma once

#include "shared/offline/ScanJournal.h"
#include "shared/records/PresenceDay.h"

#include <QDateTime>
#include <QVector>

// The sign-in rule while the server is away: the day's records of the copy
// with the day's journalled scans applied (an arrival adds its record, a
// departure closes the day), decided by PresenceDay::Decide, the rule the
// server's statements use. Applying a scan the copy holds already changes
// nothing: its arrival time is there, its departure closes the day again.
namespace OfflineRule {
qint16 Decide(PresenceDay day, const QVector<ScanJournal::Entry>& journal, const QDateTime& now);
} // namespace OfflineRule
