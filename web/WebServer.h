#pragma once

#include "shared/db/DbErrors.h"

#include "web/WebSite.h"

#include <QHostAddress>
#include <QHttpServer>
#include <QObject>

class GuardedTcpServer;

// attendance-web's server: Qt HttpServer on a guarded listening socket,
// every request handed to the WebSite on this thread, every answer with the
// headers that keep the pages to themselves (no scripts, no frames, no
// caching, no content sniffing).
class WebServer : public QObject {
    Q_OBJECT
public:
    explicit WebServer(const WebSite::Options& options, QObject* parent = nullptr);

    // Listens on `address`:`port` (0: any free port); false, why in *error, when it cannot.
    bool Listen(const QHostAddress& address, quint16 port, Error* error);
    quint16 Port() const;
    WebSite& site() { return m_site; }
    GuardedTcpServer& tcp() { return *m_tcp; }

private:
    WebSite m_site;
    QHttpServer m_http;
    GuardedTcpServer* m_tcp; // child of this
};
