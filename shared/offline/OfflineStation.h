#pragma once

#include "shared/offline/JournalReplay.h"
#include "shared/offline/ScanJournal.h"
#include "shared/offline/StationCache.h"

#include <QDateTime>
#include <QString>

// A station's scans while the server is away: greeted from the copy
// (StationCache), decided by the sign-in rule on the copy and the journal
// (OfflineRule), kept in the journal (ScanJournal) before the greeting, and
// given to the server once it is back (JournalReplay). Both files live in
// `folder`, the station's data folder.
class OfflineStation {
public:
    explicit OfflineStation(const QString& folder);
    bool IsOpen() const { return m_cache.IsOpen() && m_journal.IsOpen(); }

    static QString CacheFile(const QString& folder);
    static QString JournalFile(const QString& folder);

    struct Greeting {
        qint16 found = 0; // 1 the copy knows the card, 0 it does not, -1 the journal failed
        qint16 state = 0; // clsPresence::State for a known card
        StationCache::Employee employee;
    };
    // Decides and journals a scan at `now`; the greeting is shown after it.
    Greeting Scan(const QString& barcode, const QDateTime& now);

    // Greets a scan journalled already (`scanId`, at its key time `at`) from
    // the copy, and keeps what it was greeted with in the journal.
    Greeting Greet(const QString& scanId, const QString& barcode, const QDateTime& at);

    // Whether the server answers a statement on the shared connection now.
    static bool ServerAnswers();

    int Pending() const { return m_journal.PendingCount(); }
    JournalReplay::Result Replay() { return JournalReplay::Run(m_journal); }
    StationCache& Cache() { return m_cache; }
    ScanJournal& Journal() { return m_journal; }

private:
    Greeting decide(const QString& barcode, const QDateTime& at) const;

    StationCache m_cache;
    ScanJournal m_journal;
};
