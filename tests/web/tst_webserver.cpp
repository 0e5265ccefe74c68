// The web server on a real socket: what Qt HttpServer 6.4 would keep in
// memory or leave hanging is answered by the connection guard with a 4xx and
// the connection closed, and the server goes on answering; requests that
// come in pieces or several in one packet are served whole.
#include "shared/config/ViewerPassword.h"
#include "tests/common/TestProgramDir.h"
#include "web/GuardedTcpServer.h"
#include "web/WebServer.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QtTest>

class tst_webserver : public QObject {
    Q_OBJECT

    TestProgramDir m_dir;
    std::unique_ptr<WebServer> m_server;

    // Sends `parts` (pausing `pauseMs` between them) and reads until the
    // server closes or `complete` holds of what came, at most 5 s.
    QByteArray exchange(const QList<QByteArray>& parts,
                        const std::function<bool(const QByteArray&)>& complete = {},
                        bool* closed = nullptr, int pauseMs = 0) {
        // Declared before the socket: its destructor still signals them.
        QByteArray got;
        bool ended = false;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_server->Port());
        QObject::connect(&socket, &QTcpSocket::readyRead, [&] { got += socket.readAll(); });
        QObject::connect(&socket, &QTcpSocket::disconnected, [&] { ended = true; });
        for (const QByteArray& part : parts) {
            socket.write(part);
            if (pauseMs > 0)
                QTest::qWait(pauseMs);
        }
        QElapsedTimer t;
        t.start();
        while (!ended && !(complete && complete(got)) && t.elapsed() < 5000)
            QTest::qWait(10);
        if (closed)
            *closed = ended;
        return got;
    }
    static bool oneAnswer(const QByteArray& got) { return answers(got) >= 1; }
    static int answers(const QByteArray& got) {
        // Whole answers: a head and the body its Content-Length names.
        int n = 0;
        qsizetype pos = 0;
        while (true) {
            const qsizetype end = got.indexOf("\r\n\r\n", pos);
            if (end < 0)
                return n;
            const QByteArray head = got.mid(pos, end - pos).toLower();
            const qsizetype cl = head.indexOf("content-length:");
            const qsizetype length =
                cl < 0
                    ? 0
                    : head.mid(cl + 15, head.indexOf("\r\n", cl) - cl - 15).trimmed().toLongLong();
            if (got.size() < end + 4 + length)
                return n;
            ++n;
            pos = end + 4 + length;
        }
    }
    static QByteArray statusLine(const QByteArray& got) { return got.left(got.indexOf("\r\n")); }
    QByteArray loginPage() {
        return statusLine(exchange({"GET /login HTTP/1.1\r\nHost: x\r\n\r\n"}, oneAnswer));
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError));
        Error error;
        QVERIFY(ViewerPassword::Store(QStringLiteral("geheim-genug"), &error));
        m_server = std::make_unique<WebServer>(WebSite::Options{false});
        QVERIFY2(m_server->Listen(QHostAddress::LocalHost, 0, &error), qPrintable(error.Text()));
    }
    void cleanupTestCase() { m_server.reset(); }

    // The browser's Accept-Language reaches the pages; the headers that keep
    // the pages to themselves come with either language.
    void piecesPipelinesAndLanguage() {
        const QByteArray english = exchange(
            {"GET /login HTTP/1.1\r\nHost: x\r\nAccept-Language: en-GB,en;q=0.9,zh;q=0.5\r\n\r\n"},
            oneAnswer);
        QCOMPARE(statusLine(english), QByteArray("HTTP/1.1 200 OK"));
        QVERIFY(english.contains("<html lang=\"en\">") && english.contains(">Sign in</button>"));
        QVERIFY(english.contains("X-Content-Type-Options: nosniff"));
        // A sign-in whose head and body come in pieces.
        const QByteArray body = "password=geheim-genug";
        const QByteArray signedIn =
            exchange({"POST /login HTTP/1.1\r\nHost: x\r\nContent-Type: "
                      "application/x-www-form-urlencoded\r\n",
                      "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n",
                      body.left(5), body.mid(5)},
                     oneAnswer, nullptr, 50);
        QCOMPARE(statusLine(signedIn), QByteArray("HTTP/1.1 303 See Other"));
        QVERIFY(signedIn.contains("Set-Cookie: attendance_session="));
        // Three requests in one packet, the second with a body: three answers.
        const QByteArray three = exchange(
            {"GET /login HTTP/1.1\r\nHost: x\r\n\r\nPOST /login HTTP/1.1\r\nHost: x\r\n"
             "Content-Length: 14\r\n\r\npassword=wrongGET /nothing HTTP/1.1\r\nHost: x\r\n\r\n"},
            [](const QByteArray& got) { return answers(got) >= 3; });
        QCOMPARE(answers(three), 3);
        QVERIFY(three.contains("HTTP/1.1 401") && three.contains("HTTP/1.1 404"));
        QVERIFY(three.startsWith("HTTP/1.1 200") && three.contains("<html lang=\"zh-CN\">"));
        for (const QByteArray& page : {english, three}) {
            QVERIFY(page.contains("Vary: Accept-Language\r\n"));
            QVERIFY(page.contains("Content-Security-Policy: default-src 'none'; style-src "
                                  "'unsafe-inline'; img-src 'self' data:; form-action 'self'; "
                                  "frame-ancestors 'none'; base-uri 'none'\r\n"));
        }
    }

    void refusedAndStillServing_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        // A request line, the Host header and `rest`.
        const auto req = [](const QByteArray& line, const QByteArray& rest) -> QByteArray {
            return line + "\r\nHost: x\r\n" + rest;
        };
        const QByteArray longTarget(ConnectionGuard::kMaxLine, 'a');
        QTest::newRow("line 8 KiB") << req("GET /" + longTarget + " HTTP/1.1", "\r\n") << 414;
        QTest::newRow("line without end") << "GET /" + longTarget + "0123456789" << 414;
        const QByteArray big = "X-Big: " + QByteArray(ConnectionGuard::kMaxHead, 'b');
        QTest::newRow("head 16 KiB") << req("GET / HTTP/1.1", big + "\r\n\r\n") << 431;
        QTest::newRow("head without end") << req("GET / HTTP/1.1", big + "0123456789") << 431;
        QTest::newRow("body too large")
            << req("POST /login HTTP/1.1",
                   "Content-Length: " + QByteArray::number(ConnectionGuard::kMaxBody + 1) +
                       "\r\n\r\npassword=")
            << 413;
        QTest::newRow("chunked") << req("POST /login HTTP/1.1",
                                        "Transfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\n0\r\n\r\n")
                                 << 411;
        QTest::newRow("negative length")
            << req("POST /login HTTP/1.1", "Content-Length: -1\r\n\r\n") << 400;
        QTest::newRow("unknown method") << req("BREW / HTTP/1.1", "\r\n") << 405;
        QTest::newRow("encoded climbing")
            << req("GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1", "\r\n") << 400;
        QTest::newRow("climbing") << req("GET /../../etc/passwd HTTP/1.1", "\r\n") << 400;
        QTest::newRow("not http") << QByteArray("hello there\r\n\r\n") << 400;
        QTest::newRow("upgrade") << req("GET / HTTP/1.1",
                                        "Upgrade: websocket\r\nConnection: Upgrade\r\n\r\n")
                                 << 400;
    }
    void refusedAndStillServing() {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        bool closed = false;
        const QByteArray got = exchange({request}, {}, &closed);
        QVERIFY2(statusLine(got).startsWith("HTTP/1.1 " + QByteArray::number(status)),
                 got.left(200).constData());
        QVERIFY(closed);
        QCOMPARE(loginPage(), QByteArray("HTTP/1.1 200 OK"));
    }

    void tooManyConnections() {
        std::vector<std::unique_ptr<QTcpSocket>> open;
        // In batches the listening queue takes at once.
        while (int(open.size()) < GuardedTcpServer::kMaxConnections) {
            for (int i = 0; i < 25 && int(open.size()) < GuardedTcpServer::kMaxConnections; ++i) {
                open.push_back(std::make_unique<QTcpSocket>());
                open.back()->connectToHost(QHostAddress::LocalHost, m_server->Port());
            }
            QTRY_COMPARE(m_server->tcp().OpenConnections(), int(open.size()));
        }
        bool closed = false;
        const QByteArray got = exchange({"GET /login HTTP/1.1\r\nHost: x\r\n\r\n"}, {}, &closed);
        QVERIFY2(statusLine(got).startsWith("HTTP/1.1 503") && closed, got.constData());
        open.clear();
        QTRY_COMPARE(m_server->tcp().OpenConnections(), 0);
        QCOMPARE(loginPage(), QByteArray("HTTP/1.1 200 OK"));
    }

    void slowAndSilentClientsAreCutOff() {
        m_server->tcp().SetTimes(300, 1000);
        QElapsedTimer t;
        t.start();
        bool closed = false;
        // A head that never ends: 408 after the request time.
        QByteArray got = exchange({"GET /login HTTP/1.1\r\nHost: x\r\n"}, {}, &closed);
        QVERIFY2(statusLine(got).startsWith("HTTP/1.1 408"), got.constData());
        QVERIFY(closed && t.elapsed() >= 250 && t.elapsed() < 3000);
        // A body that never comes: the same.
        got = exchange({"POST /login HTTP/1.1\r\nHost: x\r\nContent-Length: 20\r\n\r\npass"}, {},
                       &closed);
        QVERIFY(statusLine(got).startsWith("HTTP/1.1 408") && closed);
        // A connection that says nothing is closed after the idle time.
        t.restart();
        got = exchange({}, {}, &closed);
        QVERIFY(got.isEmpty() && closed && t.elapsed() >= 900);
        m_server->tcp().SetTimes(ConnectionGuard::kRequestMs, ConnectionGuard::kIdleMs);
        QCOMPARE(loginPage(), QByteArray("HTTP/1.1 200 OK"));
    }
};

QTEST_MAIN(tst_webserver)
#include "tst_webserver.moc"
