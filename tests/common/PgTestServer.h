#pragma once

#include <QSqlDatabase>
#include <QString>

// The PostgreSQL server the test script starts (scripts/pg-server.sh), named
// by ATTENDANCE_TEST_PG_SERVER ("host" or "host:port"), ATTENDANCE_TEST_PG_USER
// and ATTENDANCE_TEST_PG_PASSWORD.
class PgTestServer {
public:
    // The three variables are set (server and user not empty).
    static bool Available();
    static QString Server();
    static QString User();
    static QString Password();
    // "host" or "host:port", split at the last ':'; 5432 without a port.
    // False when the host is empty or the port is not 1-65535.
    static bool SplitServer(const QString& server, QString* host, int* port);
};

// A new, empty database on the test server for as long as the object lives.
// The destructor drops it, ending any connection still open to it.
struct PgTestDatabase {
    PgTestDatabase();
    ~PgTestDatabase();
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QString name() const { return m_name; }
    QString server() const { return m_server; }
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    QString host() const { return m_host; }
    int port() const { return m_port; }

    // Adds a QPSQL connection `connectionName` to this database and opens it;
    // the caller removes it (QSqlDatabase::removeDatabase).
    QSqlDatabase connect(const QString& connectionName) const;

    // Options every test connection uses: no TLS or GSS negotiation with the
    // local server, and no endless wait for an unreachable one.
    static QString ConnectOptions();

private:
    QString m_name;
    QString m_adminConnection;
    QString m_server, m_user, m_password, m_host;
    int m_port = 0;
    bool m_ok = false;
    QString m_error;
};
