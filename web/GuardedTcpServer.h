#pragma once

#include "web/ConnectionGuard.h"

#include <QTcpServer>

// The listening socket of the web server: every connection gets its
// ConnectionGuard before the HTTP server sees it, and beyond
// kMaxConnections open at once a new one is answered 503 and closed.
class GuardedTcpServer : public QTcpServer {
    Q_OBJECT
public:
    static constexpr int kMaxConnections = 256;
    explicit GuardedTcpServer(QObject* parent = nullptr)
        : QTcpServer(parent), m_requestMs(ConnectionGuard::kRequestMs),
          m_idleMs(ConnectionGuard::kIdleMs) {}
    int OpenConnections() const { return m_open; }
    // The guards' times (ConnectionGuard::kRequestMs, kIdleMs) for the
    // connections to come.
    void SetTimes(int requestMs, int idleMs) {
        m_requestMs = requestMs;
        m_idleMs = idleMs;
    }

protected:
    void incomingConnection(qintptr handle) override;

private:
    int m_open = 0;
    int m_requestMs, m_idleMs;
};
