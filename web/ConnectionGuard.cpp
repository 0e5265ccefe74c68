#include "web/ConnectionGuard.h"

#include <QTcpSocket>

namespace {

QByteArray statusText(int status) {
    switch (status) {
    case 400:
        return "Bad Request";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 411:
        return "Length Required";
    case 413:
        return "Payload Too Large";
    case 414:
        return "URI Too Long";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}

bool isToken(const QByteArray& s) {
    if (s.isEmpty())
        return false;
    for (const char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '_'))
            return false;
    return true;
}

} // namespace

ConnectionGuard::ConnectionGuard(QTcpSocket* socket, int requestMs, int idleMs)
    : QObject(socket), m_socket(socket) {
    connect(socket, &QTcpSocket::readyRead, this, &ConnectionGuard::inspect);
    connect(socket, &QTcpSocket::bytesWritten, this, &ConnectionGuard::written);
    m_request.setSingleShot(true);
    m_request.setInterval(requestMs);
    connect(&m_request, &QTimer::timeout, this,
            [this] { Refuse(408, "request not complete in time"); });
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, this, [this] { m_socket->abort(); });
    m_idle.start();
}

void ConnectionGuard::Refuse(int status, const QByteArray& reason) {
    if (m_refused)
        return;
    m_refused = true;
    m_request.stop();
    // The server hears nothing more of this connection; what still comes is dropped.
    disconnect(m_socket, &QTcpSocket::readyRead, nullptr, nullptr);
    connect(m_socket, &QTcpSocket::readyRead, this, [this] { m_socket->readAll(); });
    m_socket->readAll();
    const QByteArray body =
        QByteArray::number(status) + ' ' + statusText(status) + ": " + reason + '\n';
    m_socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + statusText(status) +
                    "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    m_socket->disconnectFromHost();
    m_idle.start(); // a peer that never reads its answer is cut off
}

void ConnectionGuard::written() {
    m_idle.start();
}

void ConnectionGuard::inspect() {
    if (m_refused)
        return;
    m_idle.start();
    const QByteArray data = m_socket->peek(m_socket->bytesAvailable());
    qsizetype pos = 0;
    while (pos < data.size() && !m_refused) {
        if (m_bodyLeft > 0) {
            const qint64 take = std::min<qint64>(m_bodyLeft, data.size() - pos);
            m_bodyLeft -= take;
            pos += take;
            if (m_bodyLeft == 0)
                m_request.stop();
            continue;
        }
        // Blank lines between requests are allowed.
        if (m_head.isEmpty()) {
            while (pos < data.size() && (data[pos] == '\r' || data[pos] == '\n'))
                ++pos;
            if (pos == data.size())
                break;
            m_request.start();
        }
        const qsizetype before = m_head.size();
        m_head += data.mid(pos);
        qsizetype end = m_head.indexOf("\r\n\r\n");
        qsizetype endLength = 4;
        if (const qsizetype lf = m_head.indexOf("\n\n"); lf >= 0 && (end < 0 || lf < end)) {
            end = lf;
            endLength = 2;
        }
        if (end < 0) {
            if (m_head.indexOf('\n') < 0 && m_head.size() > kMaxLine)
                return Refuse(414, "request line too long");
            if (m_head.size() > kMaxHead)
                return Refuse(431, "request head too large");
            return;
        }
        const QByteArray head = m_head.left(end + endLength);
        pos += head.size() - before;
        m_head.clear();
        if (!checkHead(head))
            return;
        if (m_bodyLeft == 0)
            m_request.stop();
    }
}

bool ConnectionGuard::checkHead(const QByteArray& head) {
    if (head.size() > kMaxHead) {
        Refuse(431, "request head too large");
        return false;
    }
    const qsizetype lineEnd = head.indexOf('\n');
    const QByteArray line = head.left(lineEnd).trimmed();
    if (line.size() > kMaxLine) {
        Refuse(414, "request line too long");
        return false;
    }
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) || !parts[2].startsWith("HTTP/1.")) {
        Refuse(400, "malformed request line");
        return false;
    }
    if (parts[0] != "GET" && parts[0] != "POST") {
        Refuse(405, "only GET and POST are served");
        return false;
    }
    const QByteArray& target = parts[1];
    const qsizetype q = target.indexOf('?');
    const QByteArray path = q < 0 ? target : target.left(q);
    if (!path.startsWith('/') || path.contains('%') || path.contains("..") || path.contains("//") ||
        path.contains('\\')) {
        Refuse(400, "path not served");
        return false;
    }
    m_bodyLeft = 0;
    for (const QByteArray& raw : head.mid(lineEnd + 1).split('\n')) {
        const QByteArray field = raw.trimmed();
        const qsizetype colon = field.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = field.left(colon).trimmed().toLower();
        const QByteArray value = field.mid(colon + 1).trimmed();
        if (name == "upgrade") {
            Refuse(400, "no protocol upgrades");
            return false;
        }
        if (name == "transfer-encoding") {
            Refuse(411, "bodies in chunks are not taken");
            return false;
        }
        if (name == "content-length") {
            bool ok = false;
            const qint64 length = value.toLongLong(&ok);
            if (!ok || length < 0) {
                Refuse(400, "malformed Content-Length");
                return false;
            }
            if (length > kMaxBody) {
                Refuse(413, "body too large");
                return false;
            }
            m_bodyLeft = length;
        }
    }
    return true;
}
