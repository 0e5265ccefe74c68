#include "web/GuardedTcpServer.h"

#include "web/ConnectionGuard.h"

#include <QTcpSocket>

void GuardedTcpServer::incomingConnection(qintptr handle) {
    auto* socket = new QTcpSocket(this); // the HTTP server deletes it when it ends
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    auto* guard = new ConnectionGuard(socket, m_requestMs, m_idleMs);
    ++m_open;
    connect(socket, &QObject::destroyed, this, [this] { --m_open; });
    if (m_open > kMaxConnections) {
        guard->Refuse(503, "too many connections");
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        return;
    }
    addPendingConnection(socket);
}
