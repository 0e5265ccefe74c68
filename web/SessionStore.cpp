#include "web/SessionStore.h"

#include "shared/base/AppClock.h"

#include <QRandomGenerator>

#include <algorithm>

QByteArray SessionStore::Open() {
    const qint64 now = AppClock::msecsSinceEpoch();
    if (m_sessions.size() >= kMaxSessions) {
        // Ended sessions first; then the oldest of those still running.
        for (auto it = m_sessions.begin(); it != m_sessions.end();)
            it = now - it.value() >= kLifetimeMs ? m_sessions.erase(it) : std::next(it);
        if (m_sessions.size() >= kMaxSessions) {
            const auto oldest = std::min_element(m_sessions.begin(), m_sessions.end());
            m_sessions.erase(oldest);
        }
    }
    QByteArray raw(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(raw.begin(), raw.end());
    const QByteArray token =
        raw.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    m_sessions.insert(token, now);
    return token;
}

bool SessionStore::Valid(const QByteArray& token) {
    const auto it = m_sessions.find(token);
    if (token.isEmpty() || it == m_sessions.end())
        return false;
    if (AppClock::msecsSinceEpoch() - it.value() < kLifetimeMs)
        return true;
    m_sessions.erase(it);
    return false;
}

void SessionStore::Close(const QByteArray& token) {
    m_sessions.remove(token);
}

qint64 SessionStore::LockedFor(const QString& address) {
    const qint64 now = AppClock::msecsSinceEpoch();
    forgetOldFailures(now);
    const auto it = m_failures.constFind(address);
    return it == m_failures.cend() ? 0 : std::max<qint64>(0, it->lockedUntil - now);
}

void SessionStore::Failed(const QString& address) {
    const qint64 now = AppClock::msecsSinceEpoch();
    Failures& f = m_failures[address];
    if (f.lockedUntil != 0 && now >= f.lockedUntil)
        f = Failures(); // the wait is over: five more tries
    f.last = now;
    if (++f.count >= kMaxFailures)
        f.lockedUntil = now + kLockoutMs;
}

void SessionStore::Succeeded(const QString& address) {
    m_failures.remove(address);
}

void SessionStore::forgetOldFailures(qint64 now) {
    // An address whose lock has ended and that has been quiet for the length
    // of a lock is forgotten, so the table stays small.
    for (auto it = m_failures.begin(); it != m_failures.end();)
        it = now - it->last >= kLockoutMs && now >= it->lockedUntil ? m_failures.erase(it)
                                                                    : std::next(it);
}
