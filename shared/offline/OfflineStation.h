#pragma once

#include "shared/offline/JournalReplay.h"
#include "shared/offline/ScanJournal.h"
#include "shared/offline/StationCache.h"
#include "shared/offline/StationFileProblem.h"
#include "shared/records/clsEmployee.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// A station's scans while the server is away: greeted from the copy
// (StationCache), decided by the sign-in rule on the copy and the journal
// (OfflineRule), kept in the journal (ScanJournal) before the greeting, and
// given to the server once it is back (JournalReplay). Both files live in
// `folder` (Folder()). A file there that cannot be used is kept under a new
// name beside it and a new one started (LocalFile::Unusable::SetAside);
// Problems() says so.
class OfflineStation {
public:
    explicit OfflineStation(const QString& folder);
    bool IsOpen() const { return m_cache.IsOpen() && m_journal.IsOpen(); }

    static QString CacheFile(const QString& folder);
    static QString JournalFile(const QString& folder);
    // The station's folder: the data folder ([DATA] PATH) when the
    // configuration names one, else the user's own
    // $XDG_STATE_HOME/attendance (~/.local/state/attendance), made with mode
    // 0700 when missing.
    static QString Folder();

    // What became of the files at the start, for the status bar: a file
    // kept under a new name, or why offline mode is off; the journal's
    // first. Empty when both opened as they were. Each is also logged
    // (qWarning, English).
    std::vector<StationFileProblem> Problems() const { return m_problems; }

    struct Greeting {
        // Found: the copy knows the card; Failed: the journal failed.
        clsEmployee::Lookup found = clsEmployee::Lookup::NotFound;
        qint16 state = 0; // clsPresence::State for a known card
        StationCache::Employee employee;
    };
    // Decides and journals a scan at `now`; the greeting is shown after it.
    Greeting Scan(const QString& barcode, const QDateTime& now);

    // Greets a scan journalled already (`scanId`, at its key time `at`) from
    // the copy, and keeps what it was greeted with in the journal.
    Greeting Greet(const QString& scanId, const QString& barcode, const QDateTime& at);

    // Whether the server answers a statement on `server` now, within the
    // scans' bound (StatementWatchdog::Quick; a caller opening the session's
    // connection for it opens it within that bound as well).
    static bool ServerAnswers(DbSession& server);

    int Pending() const { return m_journal.PendingCount(); }
    JournalReplay::Result Replay(DbSession& server) {
        return JournalReplay::Run(server, m_journal);
    }
    StationCache& Cache() { return m_cache; }
    ScanJournal& Journal() { return m_journal; }

private:
    Greeting decide(const QString& barcode, const QDateTime& at) const;

    StationCache m_cache;
    ScanJournal m_journal;
    std::vector<StationFileProblem> m_problems;
};
