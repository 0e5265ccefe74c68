#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>

// One request as the pages see it, apart from the sockets, so the pages'
// logic is tested without a network.
struct WebRequest {
    QByteArray method; // "GET", "POST", ...
    QString path;      // the path as sent, still percent-encoded
    QUrlQuery query;
    QByteArray cookies; // the Cookie header
    QByteArray contentType;
    QByteArray acceptEncoding;
    QByteArray acceptLanguage;
    QByteArray forwardedProto; // X-Forwarded-Proto of a reverse proxy
    QByteArray body;
    QString address; // the client's address
};

struct WebResponse {
    int status = 200;
    QByteArray contentType = "text/html; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers; // besides type and length

    QByteArray Header(const QByteArray& name) const {
        for (const auto& h : headers)
            if (h.first.compare(name, Qt::CaseInsensitive) == 0)
                return h.second;
        return {};
    }
};
