#include "station/ScanService.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/CopyRefresher.h"
#include "shared/offline/OfflineStation.h"
#include "shared/records/clsEmployee.h"
#include "station/PhotoDecoder.h"
#include "station/ScanWorker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include <utility>

namespace {

// Sets the busy timeout of the shared connection for one attempt at a scan
// and restores the programs' usual one afterwards.
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

ScanService::ScanService(QObject* parent) : QObject(parent) {
    qRegisterMetaType<ScanOutcome>();
    m_retry = new QTimer(this);
    m_retry->setObjectName(QStringLiteral("TimerDbRetry"));
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &ScanService::processDirect);
    m_photos = new PhotoDecoder(this);
    if (DbSettings::FromConfiguration().engine == DbSettings::Engine::PostgreSQL)
        setUpJournal();
}

ScanService::~ScanService() {
    if (m_thread) {
        // The worker closes its connections on its own thread, then it ends.
        QMetaObject::invokeMethod(m_worker, &ScanWorker::Finish, Qt::BlockingQueuedConnection);
        m_thread->quit();
        m_thread->wait();
        delete m_worker;
    }
}

// On a server: the copy and the journal in the station's folder, the copy
// refreshed now and every few minutes, the worker started with whatever
// the journal holds from before.
QString ScanService::StationFolder() {
    return OfflineStation::Folder();
}

void ScanService::setUpJournal() {
    const QString folder = StationFolder();
    auto station = std::make_unique<OfflineStation>(folder);
    m_problems = station->Problems();
    if (!station->IsOpen())
        return;
    m_station = std::move(station);

    m_refresher = new CopyRefresher(OfflineStation::CacheFile(folder), this);
    m_refresher->setObjectName(QStringLiteral("copyRefresher"));
    m_refresher->Start(AppClock::now());
    m_copyTimer = new QTimer(this);
    m_copyTimer->setObjectName(QStringLiteral("TimerCopy"));
    m_copyTimer->setInterval(CopyRefreshMs);
    connect(m_copyTimer, &QTimer::timeout, this, [this] {
        if (!m_offline)
            m_refresher->Start(AppClock::now());
    });
    m_copyTimer->start();

    m_deadline = new QTimer(this);
    m_deadline->setObjectName(QStringLiteral("TimerGreeting"));
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, &ScanService::pump);
    m_listTimer = new QTimer(this);
    m_listTimer->setObjectName(QStringLiteral("TimerListChanged"));
    m_listTimer->setSingleShot(true);
    m_listTimer->setInterval(ListRefreshMs);
    connect(m_listTimer, &QTimer::timeout, this, &ScanService::ListChanged);
    m_offlineRetry = new QTimer(this);
    m_offlineRetry->setObjectName(QStringLiteral("TimerOffline"));
    m_offlineRetry->setInterval(OfflineRetryMs);
    connect(m_offlineRetry, &QTimer::timeout, this, &ScanService::kickWorker);

    // The worker has no parent: it lives on its thread and is deleted here
    // once that thread has ended.
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("scanWorker"));
    m_worker = new ScanWorker(OfflineStation::JournalFile(folder));
    m_worker->moveToThread(m_thread);
    connect(m_worker, &ScanWorker::Applied, this, &ScanService::onApplied);
    connect(m_worker, &ScanWorker::Drained, this, &ScanService::onDrained);
    m_thread->start();
    // Learns at once whether the server answers, and gives it what the
    // journal holds from before.
    kickWorker();
}

int ScanService::JournalPending() const {
    return m_station ? m_station->Pending() : 0;
}

bool ScanService::HasCopy() const {
    return m_station && m_station->Cache().RefreshedAt().isValid();
}

void ScanService::setOffline(bool offline) {
    if (offline)
        m_offlineRetry->start();
    else
        m_offlineRetry->stop();
    if (m_offline == offline)
        return;
    m_offline = offline;
    emit OfflineChanged(offline);
}

void ScanService::Scan(const QString& barcode, qint64 keyTimeMs) {
    if (!m_station) {
        const bool othersWaiting = !m_direct.empty();
        m_direct.push_back({barcode, keyTimeMs});
        if (!othersWaiting)
            processDirect();
        return;
    }
    // Journalled before anything else: from here on the scan cannot be lost.
    Waiting w{m_station->Journal().Add(barcode, QString(), keyTime(keyTimeMs), 0),
              barcode,
              keyTimeMs,
              {},
              {}};
    w.since.start();
    if (w.scanId.isEmpty()) {
        ScanOutcome failed;
        failed.found = clsEmployee::Lookup::Failed;
        w.result = failed;
    }
    m_waiting.push_back(std::move(w));
    if (!m_offline)
        kickWorker();
    pump();
}

void ScanService::kickWorker() {
    if (!m_worker)
        return;
    if (m_draining) {
        // The run going may have looked at the journal before this scan.
        m_drainAgain = true;
        return;
    }
    m_draining = true;
    m_drainAgain = false;
    QMetaObject::invokeMethod(m_worker, &ScanWorker::Drain, Qt::QueuedConnection);
}

void ScanService::onApplied(const ScanOutcome& outcome) {
    for (Waiting& w : m_waiting)
        if (w.scanId == outcome.scanId) {
            if (!w.result)
                w.result = outcome;
            pump();
            return;
        }
    // A scan greeted from the copy before has reached the server: the list
    // is read anew shortly, once for all that arrive meanwhile.
    if (outcome.Recorded() && !m_listTimer->isActive())
        m_listTimer->start();
}

void ScanService::onDrained(bool answered, int left) {
    m_draining = false;
    if (!answered) {
        m_drainAgain = false; // tried again on the offline timer
        // The scans waiting for the server are greeted from the copy now.
        setOffline(true);
        pump();
        return;
    }
    if (m_offline) {
        setOffline(false);
        m_refresher->Start(AppClock::now());
    }
    if (left > 0 || std::exchange(m_drainAgain, false))
        kickWorker();
}

ScanOutcome ScanService::offlineGreeting(const QString& scanId, const QString& barcode,
                                         qint64 keyTimeMs) {
    const QDateTime at = keyTime(keyTimeMs);
    const OfflineStation::Greeting g = m_station->Greet(scanId, barcode, at);
    ScanOutcome o;
    o.offline = true;
    o.scanId = scanId;
    o.found = g.found;
    o.state = g.state;
    o.number = g.employee.number;
    o.name = g.employee.name;
    o.department = g.employee.department;
    if (!g.employee.photo.isEmpty())
        o.photo.loadFromData(g.employee.photo);
    o.record.setENUMBER(o.number);
    o.record.setENAME(o.name);
    if (o.state == clsPresence::Arrival)
        o.record.setenterTime(at);
    else if (o.state == clsPresence::Departure)
        o.record.setexitTime(at);
    return o;
}

// Greets the scans in order: each with the server's answer, or from the
// copy once the server is away or its time is up.
void ScanService::pump() {
    while (!m_greeting && !m_waiting.empty()) {
        Waiting& w = m_waiting.front();
        if (!w.result) {
            const qint64 left = GreetingBudgetMs - w.since.elapsed();
            if (!m_offline && left > 0) {
                m_deadline->start(int(left));
                return;
            }
            if (!m_offline)
                setOffline(true); // the server did not answer in time
            w.result = offlineGreeting(w.scanId, w.barcode, w.keyTimeMs);
        }
        const ScanOutcome outcome = *w.result;
        m_waiting.pop_front();
        emitGreeted(outcome);
    }
    if (m_waiting.empty() && m_deadline)
        m_deadline->stop();
}

void ScanService::emitGreeted(const ScanOutcome& outcome) {
    m_greeting = true;
    emit Greeted(outcome);
    m_greeting = false;
}

// Records the oldest waiting scan on the file and greets it; while another
// program holds the file it stays first in the queue and is tried again
// shortly. One scan per call, so each greeting is painted before the next
// scan is recorded.
void ScanService::processDirect() {
    if (m_greeting || m_direct.empty())
        return;
    const DirectScan scan = m_direct.front();
    const bool lastTry = AppClock::msecsSinceEpoch() - scan.keyTimeMs >= DbWaitLimitMs;
    ScanOutcome outcome;
    if (!recordDirect(scan.barcode, scan.keyTimeMs, lastTry, outcome)) {
        m_retry->start(DbRetryMs);
        return;
    }
    m_direct.pop_front();
    emitGreeted(outcome);
    if (!m_direct.empty())
        m_retry->start(0);
}

// One attempt at the database for a scan: false when another program holds
// the database (nothing has been written then). On the last try the scan
// runs whatever the lock, and fails with its documented result.
bool ScanService::recordDirect(const QString& barcode, qint64 keyTimeMs, bool lastTry,
                               ScanOutcome& out) {
    const ShortLockWait shortWait(DbLockWaitMs);
    if (!lastTry && clsDbConn::ProbeLock() == clsDbConn::LockState::Busy)
        return false;
    clsEmployee employee;
    employee.setEBARCODE(barcode);
    out.found = employee.IsExist();
    if (out.found != clsEmployee::Lookup::Found)
        return out.found == clsEmployee::Lookup::NotFound || lastTry || !databaseLockedNow();
    out.number = employee.ENUMBER();
    out.name = employee.ENAME();
    out.department = employee.DNAME();
    m_photos->Start(employee.HeadImgBytes());
    clsPresence presence;
    presence.setENUMBER(out.number);
    presence.setENAME(out.name);
    out.state = presence.Add(keyTime(keyTimeMs), QString());
    out.record = presence;
    out.photo = m_photos->Take().value_or(QImage());
    // A failed write is rolled back: trying again later records it once.
    return !failedWrite(out.state) || lastTry || !databaseLockedNow();
}

bool ScanService::WaitIdle(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (m_direct.empty() && m_waiting.empty() && !m_draining &&
            !(m_refresher && m_refresher->Running()) && !(m_listTimer && m_listTimer->isActive()))
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return false;
}
