#pragma once

#include "shared/offline/ScanJournal.h"
#include "station/ScanOutcome.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <deque>
#include <memory>
#include <optional>

// The station's server side, on a thread of its own with its own server
// session (the thread's MainSession, over clsDbConn's connection of that
// thread): gives the journal's scans to the server in scan order, each at
// its key time and with its id (ScanReplay in the same transaction, so none
// counts twice), reports each with the employee and the photo's bytes, then
// marks it in the journal.
// Stops at the first scan the server does not take: the rest wait.
//
// Each scan just journalled is also given to it (Take), in journal order.
// Once a run has read the journal to its end, the next runs apply the given
// scans without reading them back; any scan the server does not take has
// the next run read the journal again.
class ScanWorker : public QObject {
    Q_OBJECT

public:
    explicit ScanWorker(const QString& journalFile);
    ~ScanWorker() override;

public slots:
    // Gives every waiting scan to the server (Applied for each), then Drained.
    void Drain();
    // A scan the service has just journalled (ScanJournal::Append).
    void Take(const ScanJournal::Entry& entry);
    // Closes the thread's connections; called on the thread before it ends.
    void Finish();

signals:
    void Applied(const ScanOutcome& outcome);
    // `answered`: the server took every scan the journal held when asked.
    void Drained(bool answered);

private:
    // What the server made of one scan; nothing when it did not answer.
    std::optional<ScanOutcome> apply(const QString& scanId, const QString& barcode,
                                     const QDateTime& at, qint16 greeted);
    // Applies and marks one journalled scan, reporting it (Applied); false
    // where the run stops there (the server did not take it, or the mark failed).
    bool applyEntry(const ScanJournal::Entry& e);
    // Reads the journal's waiting scans and applies them; false where one
    // stopped the run. *asked: there was at least one; *toItsEnd: every
    // read succeeded and the last found no more.
    bool drainJournal(bool* asked, bool* toItsEnd);

    // How often a scan the server refused is tried before it ends so.
    static constexpr int MaxAttempts = 3;
    // The journal's scans read at a time.
    static constexpr int BatchSize = 20;
    // Given scans kept at most; beyond, the journal is read again.
    static constexpr int MaxGiven = 1000;

    QString m_journalFile;
    QHash<QString, int> m_failures; // scan id: attempts the server refused
    std::unique_ptr<ScanJournal> m_journal;
    // Given scans, oldest first; those newer than m_lastSeq are applied from
    // here while m_caughtUp (the journal read to its end, nothing failed since).
    std::deque<ScanJournal::Entry> m_given;
    bool m_caughtUp = false;
    qint64 m_lastSeq = 0; // the newest journalled scan applied
    QDate m_prunedFor;
};
