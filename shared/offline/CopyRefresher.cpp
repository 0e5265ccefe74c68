#include "shared/offline/CopyRefresher.h"

#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/StationCache.h"

#include <QThread>
#include <QUuid>

namespace {

bool refresh(const QString& cacheFile, const QDateTime& now) {
    const QString name =
        QStringLiteral("copy-refresh:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase server = clsDbConn::Open(DbSettings::FromConfiguration(), name);
        StationCache cache(cacheFile);
        // A bulk copy away from any scan: it runs under the ordinary
        // statements' bounds (a minute), not the scans' few seconds.
        ok = server.isValid() && cache.IsOpen() && cache.Refresh(server, now.date(), now);
        server.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
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
