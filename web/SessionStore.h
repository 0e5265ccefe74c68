#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The signed-in viewers of the web pages and the wrong passwords of each
// address. A session is a random token (256 bits from the system's
// generator) that ends after kLifetimeMs or when closed; five wrong
// passwords from one address lock it out for kLockoutMs. Times come from
// AppClock, so tests step them.
class SessionStore {
public:
    static constexpr qint64 kLifetimeMs = 8LL * 3600 * 1000;
    static constexpr qint64 kLockoutMs = 60 * 1000;
    static constexpr int kMaxFailures = 5;
    // Sessions kept at most; the oldest goes first beyond it.
    static constexpr int kMaxSessions = 10000;

    // A new session's token (base64url, 43 characters).
    QByteArray Open();
    // Whether `token` names a session that has not ended.
    bool Valid(const QByteArray& token);
    void Close(const QByteArray& token);
    int Count() const { return int(m_sessions.size()); }

    // Milliseconds `address` must still wait before a password is taken
    // from it again (0: none).
    qint64 LockedFor(const QString& address);
    // A wrong password from `address`: the fifth in a row locks it out.
    void Failed(const QString& address);
    // A right one: its count starts again.
    void Succeeded(const QString& address);

private:
    struct Failures {
        int count = 0;
        qint64 lockedUntil = 0, last = 0;
    };
    void forgetOldFailures(qint64 now);

    QHash<QByteArray, qint64> m_sessions; // token -> opened at
    QHash<QString, Failures> m_failures;
};
