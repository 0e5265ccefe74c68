#include "shared/offline/CopyRefresher.h"

#include "shared/db/DbSession.h"
#include "shared/offline/StationCache.h"

#include <QThread>

namespace {

bool refresh(const QString& cacheFile, const QDateTime& now) {
    // Both sessions belong to this thread and close with the run.
    DbSession server = DbSession::OpenConfigured();
    StationCache cache(cacheFile);
    // A bulk copy away from any scan: it runs under the ordinary
    // statements' bounds (a minute), not the scans' few seconds.
    return server.IsOpen() && cache.IsOpen() && cache.Refresh(server, now.date(), now);
}

} // namespace

CopyRefresher::CopyRefresher(const QString& cacheFile, QObject* parent)
    : QObject(parent), m_cacheFile(cacheFile) {}

CopyRefresher::~CopyRefresher() {
    Wait();
}

bool CopyRefresher::Running() const {
    return m_thread && m_thread->isRunning();
}

bool CopyRefresher::Start(const QDateTime& now) {
    if (m_thread)
        return false;
    auto ok = std::make_shared<bool>(false);
    const QString file = m_cacheFile;
    m_thread = QThread::create([file, now, ok] { *ok = refresh(file, now); });
    m_thread->setParent(this);
    connect(m_thread, &QThread::finished, this, [this, ok] {
        m_thread->deleteLater();
        m_thread = nullptr;
        emit Finished(*ok);
    });
    m_thread->start();
    return true;
}

void CopyRefresher::Wait() {
    if (m_thread)
        m_thread->wait();
}
