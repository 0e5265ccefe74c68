#pragma once

#include "shared/db/DbSession.h"
#include "shared/offline/ScanJournal.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

// A journal a station could not use and kept under a new name (or any
// station-journal.db), read without changing it: a copy with its -wal in a
// temporary folder, SQLite's header restored when its first 16 bytes were
// overwritten, opened read-only. Its scans are applied to the database of
// the session given as a replay applies them: each with its id, so a scan
// the server has already is never recorded twice.
class KeptJournal {
public:
    explicit KeptJournal(const QString& path);
    KeptJournal(const KeptJournal&) = delete;
    KeptJournal& operator=(const KeptJournal&) = delete;

    // Whether the file could be opened as a journal; Problem() says why not.
    bool IsOpen() const { return m_open; }
    QString Problem() const { return m_problem; }
    // The first 16 bytes were not SQLite's and were restored in the copy.
    bool HeaderRestored() const { return m_headerRestored; }

    struct Contents {
        QVector<ScanJournal::Entry> scans; // in scan order
        QStringList unreadable;            // one line a scan (or part) that could not be read
    };
    // Every scan that can be read; a damaged part is skipped and named.
    Contents Read() const;

    enum class Outcome {
        Applied,      // recorded now; `state` is what the rule made of it
        AlreadyThere, // the server has the scan (its id, or the journal's mark)
        UnknownCard,  // the server knows no card of that barcode: nothing recorded
        Failed        // the database did not answer or refused the write
    };
    struct Applied {
        Outcome outcome = Outcome::Failed;
        qint16 state = 0;
    };
    // Gives one scan to the database of `server`.
    static Applied Apply(DbSession& server, const ScanJournal::Entry& scan);

private:
    QTemporaryDir m_dir;
    DbSession m_copy; // the copy in m_dir, closed before the folder goes
    QString m_problem;
    bool m_open = false;
    bool m_headerRestored = false;
};
