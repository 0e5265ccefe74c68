#include "web/WebServer.h"

#include "web/GuardedTcpServer.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QMetaEnum>

namespace {

QByteArray methodName(QHttpServerRequest::Method m) {
    switch (m) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Post:
        return "POST";
    default:
        return QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(m));
    }
}

WebRequest fromQt(const QHttpServerRequest& r) {
    WebRequest w;
    w.method = methodName(r.method());
    w.path = r.url().path(QUrl::FullyEncoded);
    w.query = r.query();
    w.cookies = r.value("cookie");
    w.contentType = r.value("content-type");
    w.acceptEncoding = r.value("accept-encoding");
    w.acceptLanguage = r.value("accept-language");
    w.forwardedProto = r.value("x-forwarded-proto");
    w.body = r.body();
    w.address = r.remoteAddress().toString();
    return w;
}

} // namespace

WebServer::WebServer(const WebSite::Options& options, QObject* parent)
    : QObject(parent), m_site(options), m_tcp(new GuardedTcpServer(this)) {
    m_http.setMissingHandler([this](const QHttpServerRequest& request,
                                    QHttpServerResponder&& responder) {
        const WebResponse answer = m_site.Handle(fromQt(request));
        QHttpServerResponse response(answer.contentType, answer.body,
                                     QHttpServerResponse::StatusCode(answer.status));
        for (const auto& [name, value] : answer.headers)
            response.addHeader(name, value);
        response.addHeader("Content-Security-Policy",
                           "default-src 'none'; style-src 'unsafe-inline'; img-src 'self' data:; "
                           "form-action 'self'; frame-ancestors 'none'; base-uri 'none'");
        response.addHeader("X-Content-Type-Options", "nosniff");
        response.addHeader("Referrer-Policy", "no-referrer");
        response.addHeader("X-Frame-Options", "DENY");
        response.addHeader("Cache-Control", "no-store");
        response.write(std::move(responder));
    });
}

bool WebServer::Listen(const QHostAddress& address, quint16 port, Error* error) {
    if (!m_tcp->listen(address, port)) {
        Error(m_tcp->errorString()).Report(error);
        return false;
    }
    m_http.bind(m_tcp);
    return true;
}

quint16 WebServer::Port() const {
    return m_tcp->serverPort();
}
