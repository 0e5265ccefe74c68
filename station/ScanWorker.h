#pragma once

#include "station/ScanOutcome.h"

#include <QHash>
#include <QObject>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

class ScanJournal;

// The station's server side, on a thread of its own with its own server
// session (the thread's MainSession, over clsDbConn's connection of that
// thread): gives the journal's
// scans to the server in scan order, each at its key time and with its id
// (ScanReplay in the same transaction, so none counts twice), marks them in
// the journal and reports each with the employee and the decoded photo.
// Stops at the first scan the server does not take: the rest wait.
class ScanWorker : public QObject {
    Q_OBJECT

public:
    explicit ScanWorker(const QString& journalFile);
    ~ScanWorker() override;

public slots:
    // Gives every waiting scan to the server (Applied for each), then Drained.
    void Drain();
    // The size the photos are shown at (PhotoDecoder::Decode).
    void SetPhotoSize(const QSize& shown) { m_photoSize = shown; }
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

    // How often a scan the server refused is tried before it ends so.
    static constexpr int MaxAttempts = 3;
    // The journal's scans read at a time.
    static constexpr int BatchSize = 20;

    QString m_journalFile;
    QHash<QString, int> m_failures; // scan id: attempts the server refused
    std::unique_ptr<ScanJournal> m_journal;
    QDate m_prunedFor;
    QSize m_photoSize;
};
