#include "station/ScanService.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/CopyRefresher.h"
#include "shared/offline/OfflineStation.h"
#include "shared/offline/StationCache.h"
#include "station/FileScanWorker.h"
#include "station/PhotoDecoder.h"
#include "station/ScanWorker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include <utility>

ScanService::ScanService(QObject* parent) : QObject(parent) {
    qRegisterMetaType<ScanOutcome>();
    qRegisterMetaType<QList<ScanOutcome>>();
    m_retry = new QTimer(this);
    m_retry->setObjectName(QStringLiteral("TimerDbRetry"));
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &ScanService::processDirect);
    if (DbSettings::FromConfiguration().engine == DbSettings::Engine::PostgreSQL)
        setUpJournal();
    if (!m_station)
        setUpFileWorker();
}

ScanService::~ScanService() {
    // Each worker closes its connections on its own thread, then it ends;
    // the workers have no parent and are deleted once their thread has ended.
    if (m_thread) {
        QMetaObject::invokeMethod(m_worker, &ScanWorker::Finish, Qt::BlockingQueuedConnection);
        m_thread->quit();
        m_thread->wait();
        delete m_worker;
    }
    if (m_fileThread) {
        QMetaObject::invokeMethod(m_fileWorker, &FileScanWorker::Finish,
                                  Qt::BlockingQueuedConnection);
        m_fileThread->quit();
        m_fileThread->wait();
        delete m_fileWorker;
    }
}

// The scans recorded directly go to a thread of their own: the window's
// thread does not wait for the disk. Its connection opens at the first scan.
void ScanService::setUpFileWorker() {
    // A scan is given to the worker once the events already waiting are
    // handled, so the scans typed ahead of it in the queue go with it.
    m_gather = new QTimer(this);
    m_gather->setObjectName(QStringLiteral("TimerGather"));
    m_gather->setSingleShot(true);
    m_gather->setInterval(0);
    connect(m_gather, &QTimer::timeout, this, &ScanService::processDirect);
    m_fileThread = new QThread(this);
    m_fileThread->setObjectName(QStringLiteral("fileScanWorker"));
    m_fileWorker = new FileScanWorker;
    m_fileWorker->moveToThread(m_fileThread);
    connect(m_fileWorker, &FileScanWorker::Recorded, this, &ScanService::onRecorded);
    m_fileThread->start();
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
        // Scans behind others wait their turn: the retry timer's or the
        // end of the recording under way.
        const bool othersWaiting = !m_direct.empty();
        m_direct.push_back({barcode, keyTimeMs});
        if (!othersWaiting)
            m_gather->start();
        return;
    }
    // Journalled before anything else: from here on the scan cannot be lost.
    const ScanJournal::Entry kept =
        m_station->Journal().Append(barcode, QString(), ScanKeyTime(keyTimeMs), 0);
    Waiting w{kept.scanId, barcode, keyTimeMs, {}, {}, {}, {}};
    w.since.start();
    if (w.scanId.isEmpty()) {
        ScanOutcome failed;
        failed.found = clsEmployee::Lookup::Failed;
        w.result = failed;
    } else {
        // Given to the worker too, ahead of the run that applies it, so it
        // need not read the scan back from the journal.
        QMetaObject::invokeMethod(
            m_worker, [worker = m_worker, kept] { worker->Take(kept); }, Qt::QueuedConnection);
    }
    m_waiting.push_back(std::move(w));
    if (!m_offline) {
        kickWorker();
        // While the worker waits for the server, this thread, idle until
        // the answer, decodes the copy's photo of the card: the greeting
        // then waits for the longer of the two, not both in turn. The
        // system wakes the worker on this thread's processor as a rule and
        // lets this thread run on: yielding first has the worker send the
        // scan before the decode, not after it (0.4 ms a scan here).
        QThread::yieldCurrentThread();
        Waiting& waiting = m_waiting.back();
        if (!waiting.result) {
            if (const std::optional<StationCache::Employee> e = m_station->Cache().Find(barcode)) {
                waiting.copyPhoto = e->photo;
                waiting.copyPicture = PhotoDecoder::Decode(e->photo, m_photoSize);
            }
        }
    }
    pump();
}

QImage ScanService::pictureFor(const Waiting& w, const QByteArray& bytes) const {
    if (!w.copyPicture.isNull() && bytes == w.copyPhoto)
        return w.copyPicture;
    return PhotoDecoder::Decode(bytes, m_photoSize);
}

void ScanService::SetPhotoSize(const QSize& shown) {
    m_photoSize = shown;
    // Queued: taken by each worker before the scans given to it afterwards.
    if (m_fileWorker)
        QMetaObject::invokeMethod(
            m_fileWorker, [worker = m_fileWorker, shown] { worker->SetPhotoSize(shown); },
            Qt::QueuedConnection);
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
            if (!w.result) {
                w.result = outcome;
                w.result->photo = pictureFor(w, outcome.photoBytes);
                w.result->photoBytes.clear();
            }
            pump();
            return;
        }
    // A scan greeted from the copy before has reached the server: the list
    // is read anew shortly, once for all that arrive meanwhile.
    if (outcome.Recorded() && !m_listTimer->isActive())
        m_listTimer->start();
}

void ScanService::onDrained(bool answered) {
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
    // Scans journalled while the run went are given in another.
    if (std::exchange(m_drainAgain, false))
        kickWorker();
}

ScanOutcome ScanService::offlineGreeting(const Waiting& w) {
    const QDateTime at = ScanKeyTime(w.keyTimeMs);
    const OfflineStation::Greeting g = m_station->Greet(w.scanId, w.barcode, at);
    ScanOutcome o;
    o.offline = true;
    o.scanId = w.scanId;
    o.found = g.found;
    o.state = g.state;
    o.number = g.employee.number;
    o.name = g.employee.name;
    o.department = g.employee.department;
    o.photo = pictureFor(w, g.employee.photo);
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
            w.result = offlineGreeting(w);
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

// Gives the waiting scans to the file's worker, all at once (one
// transaction) unless the oldest has waited so long that it runs alone
// whatever the lock. Scans that come meanwhile wait for the next turn.
void ScanService::processDirect() {
    if (m_recording > 0 || m_direct.empty())
        return;
    const bool lastTry = AppClock::msecsSinceEpoch() - m_direct.front().keyTimeMs >= DbWaitLimitMs;
    const qsizetype count = lastTry ? 1 : qMin<qsizetype>(qsizetype(m_direct.size()), MaxBatch);
    QList<FileScanWorker::Scan> scans;
    for (qsizetype i = 0; i < count; ++i)
        scans << m_direct[size_t(i)];
    m_recording = int(count);
    QMetaObject::invokeMethod(
        m_fileWorker, [worker = m_fileWorker, scans, lastTry] { worker->Record(scans, lastTry); },
        Qt::QueuedConnection);
}

// The worker's outcomes, in scan order: greeted one after the other. Scans
// it left (the file locked) stay first in line and are tried again shortly.
void ScanService::onRecorded(const QList<ScanOutcome>& outcomes) {
    const int given = std::exchange(m_recording, 0);
    for (const ScanOutcome& outcome : outcomes) {
        m_direct.pop_front();
        m_recorded.push_back(outcome);
    }
    if (outcomes.size() < given)
        m_retry->start(DbRetryMs);
    else if (!m_direct.empty())
        m_gather->start();
    while (!m_greeting && !m_recorded.empty()) {
        const ScanOutcome outcome = m_recorded.front();
        m_recorded.pop_front();
        emitGreeted(outcome);
    }
}

bool ScanService::WaitIdle(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const bool directIdle = m_recording == 0 && m_recorded.empty() &&
                                !(m_gather && m_gather->isActive()) &&
                                (m_direct.empty() || m_retry->isActive());
        if (directIdle && m_waiting.empty() && !m_draining &&
            !(m_refresher && m_refresher->Running()) && !(m_listTimer && m_listTimer->isActive()))
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return false;
}
