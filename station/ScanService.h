#pragma once

#include "shared/offline/StationFileProblem.h"
#include "station/FileScanWorker.h"
#include "station/ScanOutcome.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QThread;
class QTimer;
class CopyRefresher;
class OfflineStation;
class ScanWorker;

// The station's road from a barcode to a record, without a window: a scan
// goes in with the time of its end key, and a ScanOutcome comes out
// (Greeted), one at a time and in scan order, for the screen to show.
//
// On a database file the scan is recorded by FileScanWorker, on a thread
// with its own connection, so this thread is free while the disk flushes;
// scans typed while others are being written are written together, in one
// transaction. While another program holds the file they wait in a queue and
// are tried again every DbRetryMs, each attempt waiting DbLockWaitMs for the
// lock; only a scan that has waited DbWaitLimitMs ends in its failure.
//
// On a server every scan is first committed to the station's journal (with
// its id and key time), then given to the server by a worker on a thread of
// its own (ScanWorker), so a crash, a kill or an outage at any point loses
// nothing and doubles nothing. The greeting waits for the server's answer
// at most GreetingBudgetMs; a server that does not answer in time, or is
// known to be away, has the scan greeted from the station's copy, marked
// offline; the worker tries the journal again every OfflineRetryMs. Nothing
// here waits for the server on the caller's thread.
class ScanService : public QObject {
    Q_OBJECT

public:
    explicit ScanService(QObject* parent = nullptr);
    ~ScanService() override;

    static constexpr int DbLockWaitMs = FileScanWorker::LockWaitMs;
    static constexpr int DbRetryMs = 50;
    static constexpr qint64 DbWaitLimitMs = 30000;
    static constexpr int GreetingBudgetMs = 2500;
    static constexpr int OfflineRetryMs = 5000;
    static constexpr int CopyRefreshMs = 5 * 60 * 1000;
    // Scans greeted from the copy that reach the server later have today's
    // list read anew at most this often: a replayed backlog reads it a few
    // times, not once a scan.
    static constexpr int ListRefreshMs = 250;
    // At most this many waiting scans are written in one transaction.
    static constexpr int MaxBatch = 50;

    // The folder of the station's copy and journal on a server site.
    static QString StationFolder();

    // A scan whose end key came at `keyTimeMs` (AppClock milliseconds).
    void Scan(const QString& barcode, qint64 keyTimeMs);
    // The size the greeting shows photos at: they come decoded and scaled
    // to it (PhotoDecoder::Decode), on a database file by the file's worker,
    // on a server here while the worker waits for the server's answer, so
    // the paint that shows a photo does not scale it. Unset: as stored.
    void SetPhotoSize(const QSize& shown);

    // The station keeps a journal and a copy (a server site).
    bool Journalled() const { return m_station != nullptr; }
    // Scans are greeted from the copy: the server is away.
    bool Offline() const { return m_offline; }
    // Scans not greeted yet.
    int PendingScans() const { return int(m_direct.size() + m_recorded.size() + m_waiting.size()); }
    // Scans the journal holds that the server does not have yet.
    int JournalPending() const;
    // Why the journal or the copy could not be used as they were (for the
    // status bar); empty when all is well.
    std::vector<StationFileProblem> Problems() const { return m_problems; }
    // The copy of the employees has been filled at least once.
    bool HasCopy() const;

    // The timers' work, for tests that step them: tries the oldest scan
    // waiting for the database file again; gives the journal to the server.
    void RetryWaiting() { processDirect(); }
    void RetryServer() { kickWorker(); }
    // The copy's background refresh (tests wait for it).
    CopyRefresher* Refresher() const { return m_refresher; }
    // Waits (running events) until every scan is greeted, or waits for the
    // database file's lock (the retry timer), and the workers are idle.
    bool WaitIdle(int timeoutMs);

signals:
    // One scan's outcome; the next is not emitted before this one returns
    // (its message box may stay open meanwhile).
    void Greeted(const ScanOutcome& outcome);
    // Scans greeted earlier reached the server: today's list is read anew.
    void ListChanged();
    void OfflineChanged(bool offline);

private:
    struct Waiting;
    void setUpJournal();
    void setOffline(bool offline);
    void kickWorker();
    void onApplied(const ScanOutcome& outcome);
    void onDrained(bool answered);
    void pump();
    ScanOutcome offlineGreeting(const Waiting& w);

    // Database file (or a server without a usable journal): the file's worker.
    void setUpFileWorker();
    void processDirect();
    void onRecorded(const QList<ScanOutcome>& outcomes);
    void emitGreeted(const ScanOutcome& outcome);

    // Not recorded yet (the first m_recording of them at the worker now).
    QSize m_photoSize;
    std::deque<FileScanWorker::Scan> m_direct;
    int m_recording = 0;
    // Recorded, not greeted yet.
    std::deque<ScanOutcome> m_recorded;
    QTimer* m_retry = nullptr;
    QTimer* m_gather = nullptr;
    QThread* m_fileThread = nullptr;
    FileScanWorker* m_fileWorker = nullptr;

    struct Waiting {
        QString scanId, barcode;
        qint64 keyTimeMs = 0;
        QElapsedTimer since;
        std::optional<ScanOutcome> result;
        // The copy's photo of the card and its picture, decoded here while
        // the worker waits for the server.
        QByteArray copyPhoto;
        QImage copyPicture;
    };
    // The picture of `bytes` for `w`'s greeting: the one decoded meanwhile
    // when the bytes are the same.
    QImage pictureFor(const Waiting& w, const QByteArray& bytes) const;
    std::deque<Waiting> m_waiting;
    QTimer* m_deadline = nullptr;
    QTimer* m_offlineRetry = nullptr;
    QTimer* m_copyTimer = nullptr;
    QTimer* m_listTimer = nullptr;

    std::unique_ptr<OfflineStation> m_station;
    CopyRefresher* m_refresher = nullptr;
    QThread* m_thread = nullptr;
    ScanWorker* m_worker = nullptr;
    bool m_draining = false;
    bool m_drainAgain = false;
    bool m_offline = false;
    // A Greeted handler is running: the next outcome waits for it.
    bool m_greeting = false;
    std::vector<StationFileProblem> m_problems;
};
