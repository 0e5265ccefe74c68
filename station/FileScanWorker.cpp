#include "station/FileScanWorker.h"

#include "session/MainSession.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployee.h"
#include "station/PhotoDecoder.h"

namespace {

// Each attempt waits FileScanWorker::LockWaitMs for another program's lock.
// The thread's connection serves the worker alone, so it keeps that wait
// between scans (set once per connection).
void shortLockWait() {
    clsDbConn::SetBusyTimeout(FileScanWorker::LockWaitMs);
}

// Whether a failed database step failed because another program holds the
// database right now.
bool databaseLockedNow() {
    clsDbConn::SetBusyTimeout(0);
    const bool busy = clsDbConn::ProbeLock() == clsDbConn::LockState::Busy;
    shortLockWait();
    return busy;
}

bool failedWrite(qint16 state) {
    return state == clsPresence::Error || state == clsPresence::WriteFailed;
}

// Looks up the scan's card: fills the employee's texts into `out` and gives
// the presence record to write and the photo's bytes when found.
clsEmployee::Lookup lookUp(const QString& barcode, ScanOutcome& out, clsPresence& presence,
                           QByteArray& photo) {
    clsEmployee employee(MainSession::Get());
    employee.setEBARCODE(barcode);
    out.found = employee.IsExist();
    if (out.found == clsEmployee::Lookup::Found) {
        out.number = employee.ENUMBER();
        out.name = employee.ENAME();
        out.department = employee.DNAME();
        presence.setENUMBER(out.number);
        presence.setENAME(out.name);
        photo = employee.HeadImgBytes();
    }
    return out.found;
}

} // namespace

FileScanWorker::FileScanWorker() = default;

FileScanWorker::~FileScanWorker() = default;

PhotoDecoder& FileScanWorker::photos() {
    if (!m_photos)
        m_photos = std::make_unique<PhotoDecoder>();
    return *m_photos;
}

void FileScanWorker::Record(const QList<Scan>& scans, bool lastTry) {
    QList<ScanOutcome> outcomes;
    if (scans.size() > 1 && !lastTry) {
        if (std::optional<QList<ScanOutcome>> together = recordTogether(scans)) {
            emit Recorded(*together);
            return;
        }
    }
    for (const Scan& scan : scans) {
        ScanOutcome out;
        if (!recordAlone(scan, lastTry && outcomes.isEmpty(), out))
            break; // this one and the rest wait for the file
        outcomes << out;
    }
    emit Recorded(outcomes);
}

void FileScanWorker::SetPhotoSize(const QSize& shown) {
    m_photoSize = shown;
}

void FileScanWorker::Finish() {
    m_photos.reset();
    MainSession::Close();
}

// One attempt at the database for a scan. Another program's lock shows in
// the look-up or in the write, after the short wait: nothing stays written
// and the scan is left for the next try. (No probe before: it would cost
// every scan two statements for a case the attempt finds by itself.) On the
// last try the scan runs whatever the lock, and fails with its documented
// result.
bool FileScanWorker::recordAlone(const Scan& scan, bool lastTry, ScanOutcome& out) {
    shortLockWait();
    clsPresence presence;
    QByteArray photo;
    if (lookUp(scan.barcode, out, presence, photo) != clsEmployee::Lookup::Found)
        return out.found == clsEmployee::Lookup::NotFound || lastTry || !databaseLockedNow();
    // The photo is decoded while the scan is written.
    photos().Start(photo, m_photoSize);
    out.state = presence.Add(MainSession::Get(), ScanKeyTime(scan.keyTimeMs), QString());
    out.record = presence;
    out.photo = photos().Take().value_or(QImage());
    // A failed write is rolled back: trying again later records it once.
    return !failedWrite(out.state) || lastTry || !databaseLockedNow();
}

std::optional<QList<ScanOutcome>> FileScanWorker::recordTogether(const QList<Scan>& scans) {
    shortLockWait();
    if (clsDbConn::ProbeLock() == clsDbConn::LockState::Busy)
        return std::nullopt;
    QList<ScanOutcome> outcomes(scans.size());
    QList<clsPresence> known;
    QList<QDateTime> times;
    QList<qsizetype> knownAt;
    QList<QByteArray> photoBytes;
    for (qsizetype i = 0; i < scans.size(); ++i) {
        clsPresence presence;
        QByteArray photo;
        const clsEmployee::Lookup found = lookUp(scans[i].barcode, outcomes[i], presence, photo);
        if (found == clsEmployee::Lookup::Failed)
            return std::nullopt; // each on its own says why
        if (found == clsEmployee::Lookup::NotFound)
            continue;
        known << presence;
        times << ScanKeyTime(scans[i].keyTimeMs);
        knownAt << i;
        photoBytes << photo;
    }
    if (known.isEmpty())
        return outcomes;
    // The photos are decoded while the scans are written.
    photos().Start(photoBytes, m_photoSize);
    const std::optional<QList<qint16>> states =
        clsPresence::AddAll(MainSession::Get(), known, times);
    const QList<QImage> images = photos().TakeAll().value_or(QList<QImage>());
    if (!states)
        return std::nullopt;
    for (qsizetype k = 0; k < knownAt.size(); ++k) {
        ScanOutcome& out = outcomes[knownAt[k]];
        out.state = (*states)[k];
        out.record = known[k];
        out.photo = images.value(k);
    }
    return outcomes;
}
