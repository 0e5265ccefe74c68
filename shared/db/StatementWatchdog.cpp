#include "shared/db/StatementWatchdog.h"

#include "shared/base/AppClock.h"
#include "shared/db/PgClient.h"

#include <QSqlDriver>

#include <algorithm>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Open Quick scopes of this thread: counted here rather than in a watchdog,
// so a scope outlives any connection closed or reopened inside it.
thread_local int t_quickScopes = 0;

StatementWatchdog* watchdogOf(QSqlDriver* driver, bool create) {
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
    for (const Watched& w : m_watched)
        ::close(w.socket);
}

StatementWatchdog::Guard::Guard(const QSqlDatabase& db)
    : Guard(db.isOpen() ? db.driver() : nullptr) {}

StatementWatchdog::Guard::Guard(QSqlDriver* driver) {
    if (!driver || !driver->isOpen())
        return;
    StatementWatchdog* dog = watchdogOf(driver, true);
    if (!dog || dog->m_lifted)
        return;
    const int socket = PgClient::Socket(PgClient::Connection(driver));
    if (socket < 0)
        return;
    m_ticket = dog->arm(socket, t_quickScopes > 0 ? QuickLimitMs : LimitMs);
    if (m_ticket != 0)
        m_dog = dog;
}

StatementWatchdog::Guard::~Guard() {
    if (m_dog)
        m_dog->disarm(m_ticket);
}

StatementWatchdog::Quick::Quick() {
    ++t_quickScopes;
}

StatementWatchdog::Quick::~Quick() {
    --t_quickScopes;
}

bool StatementWatchdog::Quick::Active() {
    return t_quickScopes > 0;
}

bool StatementWatchdog::RecentlyCut(const QSqlDatabase& db) {
    const StatementWatchdog* dog = watchdogOf(db.driver(), false);
    if (!dog || dog->m_cutAtMs == 0)
        return false;
    const qint64 since = AppClock::msecsSinceEpoch() - dog->m_cutAtMs;
    return since >= 0 && since < HoldOffMs;
}

void StatementWatchdog::Lift(const QSqlDatabase& db) {
    if (StatementWatchdog* dog = watchdogOf(db.driver(), true))
        dog->m_lifted = true;
}

quint64 StatementWatchdog::arm(int socket, int limitMs) {
    // Watched through a duplicate: should the client library close its
    // socket while this guard lives, the number may name another connection
    // soon, the duplicate never does.
    const int watched = ::fcntl(socket, F_DUPFD_CLOEXEC, 0);
    if (watched < 0)
        return 0;
    bool sooner = false;
    quint64 ticket = 0;
    {
        const std::lock_guard lock(m_mutex);
        ticket = ++m_lastTicket;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
        m_watched.push_back({ticket, watched, deadline, false});
        sooner = deadline < m_sleepsUntil;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { watch(); });
    }
    if (sooner)
        m_wake.notify_one();
    return ticket;
}

void StatementWatchdog::disarm(quint64 ticket) {
    bool cut = false;
    bool sooner = false;
    int socket = -1;
    {
        const std::lock_guard lock(m_mutex);
        const auto it = std::find_if(m_watched.begin(), m_watched.end(),
                                     [ticket](const Watched& w) { return w.ticket == ticket; });
        if (it == m_watched.end())
            return;
        cut = it->cut;
        socket = it->socket;
        m_watched.erase(it);
        // An older guard watched again: its deadline may come before the
        // one the thread sleeps until.
        sooner = !m_watched.empty() && !m_watched.back().cut &&
                 m_watched.back().deadline < m_sleepsUntil;
    }
    ::close(socket);
    if (sooner)
        m_wake.notify_one();
    // The statement that was cut has ended now: the hold-off runs from here.
    if (cut)
        m_cutAtMs = qMax<qint64>(1, AppClock::msecsSinceEpoch());
}

void StatementWatchdog::watch() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_watched.empty() || m_watched.back().cut) {
            m_sleepsUntil = Clock::time_point::max();
            m_wake.wait(lock);
            continue;
        }
        m_sleepsUntil = m_watched.back().deadline;
        m_wake.wait_until(lock, m_sleepsUntil);
        if (m_stop || m_watched.empty())
            continue;
        Watched& newest = m_watched.back();
        if (!newest.cut && Clock::now() >= newest.deadline) {
            // The waiting statement sees the connection end and fails; the
            // client library's descriptor stays open until it closes it.
            ::shutdown(newest.socket, SHUT_RDWR);
            newest.cut = true;
        }
    }
}
