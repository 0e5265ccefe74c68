#include "shared/db/StatementWatchdog.h"

#include "shared/db/PgClient.h"

#include <QSqlDriver>

#include <sys/socket.h>

namespace {

StatementWatchdog* watchdogOf(const QSqlDatabase& db, bool create) {
    QSqlDriver* driver = db.driver();
    if (!driver || driver->dbmsType() != QSqlDriver::PostgreSQL)
        return nullptr;
    auto* dog = driver->findChild<StatementWatchdog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dog && create)
        dog = new StatementWatchdog(driver);
    return dog;
}

} // namespace

StatementWatchdog::~StatementWatchdog() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

StatementWatchdog::Guard::Guard(const QSqlDatabase& db) {
    if (!db.isOpen())
        return;
    m_dog = watchdogOf(db, true);
    const int socket = m_dog && !m_dog->m_lifted ? PgClient::Socket(PgClient::Connection(db)) : -1;
    if (socket < 0)
        m_dog = nullptr;
    else
        m_dog->arm(socket);
}

StatementWatchdog::Guard::~Guard() {
    if (m_dog)
        m_dog->disarm();
}

StatementWatchdog::Quick::Quick(const QSqlDatabase& db) : m_dog(watchdogOf(db, db.isOpen())) {
    if (m_dog)
        ++m_dog->m_quick;
}

StatementWatchdog::Quick::~Quick() {
    if (m_dog)
        --m_dog->m_quick;
}

bool StatementWatchdog::RecentlyCut(const QSqlDatabase& db) {
    StatementWatchdog* dog = watchdogOf(db, false);
    if (!dog)
        return false;
    const std::lock_guard lock(dog->m_mutex);
    return dog->m_cut && Clock::now() - dog->m_cutAt < std::chrono::milliseconds(HoldOffMs);
}

void StatementWatchdog::Lift(const QSqlDatabase& db) {
    if (StatementWatchdog* dog = watchdogOf(db, true))
        dog->m_lifted = true;
}

void StatementWatchdog::arm(int socket) {
    bool sooner = false;
    {
        const std::lock_guard lock(m_mutex);
        m_socket = socket;
        m_deadline = Clock::now() + std::chrono::milliseconds(m_quick > 0 ? QuickLimitMs : LimitMs);
        m_cut = false;
        sooner = m_deadline < m_sleepsUntil;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { watch(); });
    }
    if (sooner)
        m_wake.notify_one();
}

void StatementWatchdog::disarm() {
    // The thread wakes at the old deadline, finds nothing to watch and sleeps.
    const std::lock_guard lock(m_mutex);
    m_socket = -1;
}

void StatementWatchdog::watch() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_socket < 0) {
            m_sleepsUntil = Clock::time_point::max();
            m_wake.wait(lock);
            continue;
        }
        m_sleepsUntil = m_deadline;
        m_wake.wait_until(lock, m_deadline);
        if (m_socket >= 0 && !m_stop && Clock::now() >= m_deadline) {
            // The waiting statement sees the connection end and fails; the
            // descriptor stays open until the connection is closed.
            ::shutdown(m_socket, SHUT_RDWR);
            m_socket = -1;
            m_cut = true;
            m_cutAt = Clock::now();
        }
    }
}
