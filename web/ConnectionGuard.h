#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// Watches one connection's bytes before Qt HttpServer parses them. Qt
// HttpServer 6.4 keeps a request's head and body in memory whatever their
// size, has no time limit for a slow client, and on a request its parser
// cannot read (an unknown method, a malformed line) only stops listening to
// the socket and leaves it open without an answer. The guard answers these
// itself and closes the connection: a request line over kMaxLine (414), a
// head over kMaxHead (431), a body over kMaxBody or in chunks (413, 411), a
// method other than GET and POST (405), a malformed request line or a path
// with encoded, climbing or doubled parts (400), a head or body not complete
// within kRequestMs (408); a connection that stays silent for kIdleMs, or
// gets no answer within that time, is closed.
class ConnectionGuard : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLine = 8 * 1024;
    static constexpr int kMaxHead = 16 * 1024;
    static constexpr int kMaxBody = 16 * 1024;
    static constexpr int kRequestMs = 10000;
    static constexpr int kIdleMs = 30000;

    // Connects to `socket` first, so it sees every byte before the server
    // does; a child of the socket. The times may be shortened (tests).
    explicit ConnectionGuard(QTcpSocket* socket, int requestMs = kRequestMs, int idleMs = kIdleMs);

    // Answers `status` with a short text and closes the connection.
    void Refuse(int status, const QByteArray& reason);

private:
    void inspect();
    // Checks a complete request head; false after refusing it.
    bool checkHead(const QByteArray& head);
    void written();

    QTcpSocket* m_socket;
    QByteArray m_head;     // the bytes of a request head read so far
    qint64 m_bodyLeft = 0; // body bytes still to come
    bool m_refused = false;
    QTimer m_request; // a started request must be complete in time
    QTimer m_idle;    // a silent connection ends
};
