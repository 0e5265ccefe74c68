#pragma once

#include "station/ScanOutcome.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class PhotoDecoder;

// The station's side of a database file (or of a server without a usable
// journal), on a thread of its own with its own connection (clsDbConn's
// connection of that thread), so the window's thread never waits for the
// disk: records the scans it is given in scan order, each at the time of its
// end key, and reports what became of them with the photos decoded.
//
// Scans given together (typed while the ones before were being written) go
// into one transaction, one flush of the disk for all, each decided in turn
// by the sign-in rule. Should any of them fail there, or the commit, nothing
// of it stays and each is recorded on its own, as a lone scan is: every scan
// is then recorded once or reported failed. While another program holds the
// file the scans are left for the service to try again.
class FileScanWorker : public QObject {
    Q_OBJECT

public:
    struct Scan {
        QString barcode;
        qint64 keyTimeMs = 0; // AppClock milliseconds of the end key
    };

    FileScanWorker();
    ~FileScanWorker() override;

    // Each attempt waits this long for another program's lock.
    static constexpr int LockWaitMs = 50;

public slots:
    // Records `scans` in order (Recorded). `lastTry`: the first scan has
    // waited long enough and runs whatever the lock, ending in its failure.
    void Record(const QList<FileScanWorker::Scan>& scans, bool lastTry);
    // The size the photos are shown at (PhotoDecoder::Decode).
    void SetPhotoSize(const QSize& shown);
    // Closes the thread's connection; called on the thread before it ends.
    void Finish();

signals:
    // The outcomes of the first outcomes.size() scans given, in order; the
    // others met the file locked and are untouched.
    void Recorded(const QList<ScanOutcome>& outcomes);

private:
    // One scan in a transaction of its own: false when another program holds
    // the file (nothing written then).
    bool recordAlone(const Scan& scan, bool lastTry, ScanOutcome& out);
    // Several in one transaction: nothing when it did not come about (the
    // file locked, a scan or the commit failed), and nothing is written.
    std::optional<QList<ScanOutcome>> recordTogether(const QList<Scan>& scans);

    // The photo decoder, made on the worker's thread at the first scan.
    PhotoDecoder& photos();

    std::unique_ptr<PhotoDecoder> m_photos;
    QSize m_photoSize;
};
