#pragma once

#include <QTcpServer>

// The listening socket of the web server: every connection gets its
// ConnectionGuard before the HTTP server sees it, and beyond
// kMaxConnections open at once a new one is answered 503 and closed.
class GuardedTcpServer : public QTcpServer {
    Q_OBJECT
public:
    static constexpr int kMaxConnections = 256;
    using QTcpServer::QTcpServer;
    int OpenConnections() const { return m_open; }

protected:
    void incomingConnection(qintptr handle) override;

private:
    int m_open = 0;
};
