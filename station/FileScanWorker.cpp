#include "station/FileScanWorker.h"

#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployee.h"
#include "station/PhotoDecoder.h"

#include <future>

namespace {

// Sets the busy timeout of the thread's connection for one attempt and
// restores the programs' usual one afterwards.
class ShortLockWait {
public:
    explicit ShortLockWait(int ms) { clsDbConn::SetBusyTimeout(ms); }
    ~ShortLockWait() { clsDbConn::SetBusyTimeout(clsDbConn::BusyTimeoutMs); }
    ShortLockWait(const ShortLockWait&) = delete;
    ShortLockWait& operator=(const ShortLockWait&) = delete;
};

// Whether a failed database step failed because another program holds the
// database right now.
bool databaseLockedNow() {
    const ShortLockWait noWait(0);
    return clsDbConn::ProbeLock() == clsDbConn::LockState::Busy;
}

// The key time as a record stores it: local time, whole seconds.
QDateTime keyTime(qint64 msecs) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(msecs);
    return t.addMSecs(-t.time().msec());
}

bool failedWrite(qint16 state) {
    return state == clsPresence::Error || state == clsPresence::WriteFailed;
}

} // namespace

FileScanWorker::FileScanWorker() = default;

FileScanWorker::~FileScanWorker() = default;

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

void FileScanWorker::Finish() {
    m_photos.reset();
    clsDbConn::CloseShared();
}

// One attempt at the database for a scan. On the last try the scan runs
// whatever the lock, and fails with its documented result.
bool FileScanWorker::recordAlone(const Scan& scan, bool lastTry, ScanOutcome& out) {
    const ShortLockWait shortWait(LockWaitMs);
    if (!lastTry && clsDbConn::ProbeLock() == clsDbConn::LockState::Busy)
        return false;
    clsEmployee employee;
    employee.setEBARCODE(scan.barcode);
    out.found = employee.IsExist();
    if (out.found != clsEmployee::Lookup::Found)
        return out.found == clsEmployee::Lookup::NotFound || lastTry || !databaseLockedNow();
    out.number = employee.ENUMBER();
    out.name = employee.ENAME();
    out.department = employee.DNAME();
    // The photo is decoded while the scan is written.
    if (!m_photos)
        m_photos = std::make_unique<PhotoDecoder>();
    m_photos->Start(employee.HeadImgBytes());
    clsPresence presence;
    presence.setENUMBER(out.number);
    presence.setENAME(out.name);
    out.state = presence.Add(keyTime(scan.keyTimeMs), QString());
    out.record = presence;
    out.photo = m_photos->Take().value_or(QImage());
    // A failed write is rolled back: trying again later records it once.
    return !failedWrite(out.state) || lastTry || !databaseLockedNow();
}

std::optional<QList<ScanOutcome>> FileScanWorker::recordTogether(const QList<Scan>& scans) {
    const ShortLockWait shortWait(LockWaitMs);
    if (clsDbConn::ProbeLock() == clsDbConn::LockState::Busy)
        return std::nullopt;
    QList<ScanOutcome> outcomes(scans.size());
    QList<clsPresence> known;
    QList<QDateTime> times;
    QList<qsizetype> knownAt;
    QList<QByteArray> photos;
    for (qsizetype i = 0; i < scans.size(); ++i) {
        clsEmployee employee;
        employee.setEBARCODE(scans[i].barcode);
        ScanOutcome& out = outcomes[i];
        out.found = employee.IsExist();
        if (out.found == clsEmployee::Lookup::Failed)
            return std::nullopt; // each on its own says why
        if (out.found == clsEmployee::Lookup::NotFound)
            continue;
        out.number = employee.ENUMBER();
        out.name = employee.ENAME();
        out.department = employee.DNAME();
        clsPresence presence;
        presence.setENUMBER(out.number);
        presence.setENAME(out.name);
        known << presence;
        times << keyTime(scans[i].keyTimeMs);
        knownAt << i;
        photos << employee.HeadImgBytes();
    }
    if (known.isEmpty())
        return outcomes;
    // The photos are decoded while the scans are written.
    std::future<QList<QImage>> decoded = std::async(std::launch::async, [photos] {
        QList<QImage> images(photos.size());
        for (qsizetype i = 0; i < photos.size(); ++i)
            if (!photos[i].isEmpty())
                images[i].loadFromData(photos[i]);
        return images;
    });
    const std::optional<QList<qint16>> states = clsPresence::AddAll(known, times);
    const QList<QImage> images = decoded.get();
    if (!states)
        return std::nullopt;
    for (qsizetype k = 0; k < knownAt.size(); ++k) {
        ScanOutcome& out = outcomes[knownAt[k]];
        out.state = (*states)[k];
        out.record = known[k];
        out.photo = images[k];
    }
    return outcomes;
}
