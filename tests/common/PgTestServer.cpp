#include "PgTestServer.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const char* const ServerVar = "ATTENDANCE_TEST_PG_SERVER";
const char* const UserVar = "ATTENDANCE_TEST_PG_USER";
const char* const PasswordVar = "ATTENDANCE_TEST_PG_PASSWORD";

QSqlDatabase addConnection(const QString& connectionName, const QString& host, int port,
                           const QString& user, const QString& password, const QString& database) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(host);
    db.setPort(port);
    db.setUserName(user);
    db.setPassword(password);
    db.setDatabaseName(database);
    db.setConnectOptions(PgTestDatabase::ConnectOptions());
    db.open();
    return db;
}

} // namespace

bool PgTestServer::Available() {
    return !qEnvironmentVariableIsEmpty(ServerVar) && !qEnvironmentVariableIsEmpty(UserVar) &&
           qEnvironmentVariableIsSet(PasswordVar);
}

QString PgTestServer::Server() {
    return qEnvironmentVariable(ServerVar);
}
QString PgTestServer::User() {
    return qEnvironmentVariable(UserVar);
}
QString PgTestServer::Password() {
    return qEnvironmentVariable(PasswordVar);
}

bool PgTestServer::SplitServer(const QString& server, QString* host, int* port) {
    const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
    *host = colon < 0 ? server : server.left(colon);
    *port = 5432;
    if (colon >= 0) {
        bool isNumber = false;
        *port = server.mid(colon + 1).toInt(&isNumber);
        if (!isNumber || *port < 1 || *port > 65535)
            return false;
    }
    return !host->isEmpty();
}

QString PgTestDatabase::ConnectOptions() {
    return QStringLiteral("connect_timeout=10;sslmode=disable;gssencmode=disable");
}

PgTestDatabase::PgTestDatabase() {
    if (!PgTestServer::Available()) {
        m_error = QStringLiteral("no test server: ATTENDANCE_TEST_PG_SERVER, _USER and _PASSWORD "
                                 "are not set (scripts/pg-server.sh start DIR writes them)");
        return;
    }
    m_server = PgTestServer::Server();
    m_user = PgTestServer::User();
    m_password = PgTestServer::Password();
    if (!PgTestServer::SplitServer(m_server, &m_host, &m_port)) {
        m_error = QStringLiteral("bad server \"%1\": expected host or host:port").arg(m_server);
        return;
    }
    // Process id and a random part: unique among parallel test programs and
    // never clashing with a database a crashed earlier run left behind.
    m_name = QStringLiteral("t_%1_%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    m_adminConnection = QStringLiteral("pgtest_admin_") + m_name;

    QSqlDatabase admin = addConnection(m_adminConnection, m_host, m_port, m_user, m_password,
                                       QStringLiteral("postgres"));
    if (!admin.isValid()) {
        m_error = QStringLiteral("the QPSQL driver is missing (package libqt6sql6-psql)");
        return;
    }
    if (!admin.isOpen()) {
        m_error =
            QStringLiteral("cannot connect to %1: %2").arg(m_server, admin.lastError().text());
        return;
    }
    // The name is made above from digits and letters only, so it may stand
    // in the statement (a database name cannot be a bound parameter).
    QSqlQuery q(admin);
    if (!q.exec(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(m_name))) {
        m_error = QStringLiteral("cannot create database %1: %2").arg(m_name, q.lastError().text());
        return;
    }
    m_ok = true;
}

PgTestDatabase::~PgTestDatabase() {
    if (m_adminConnection.isEmpty())
        return;
    {
        QSqlDatabase admin = QSqlDatabase::database(m_adminConnection, false);
        if (m_ok && admin.isOpen()) {
            QSqlQuery q(admin);
            if (!q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name)))
                qWarning("cannot drop test database %s: %s", qPrintable(m_name),
                         qPrintable(q.lastError().text()));
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(m_adminConnection);
}

QSqlDatabase PgTestDatabase::connect(const QString& connectionName) const {
    return addConnection(connectionName, m_host, m_port, m_user, m_password, m_name);
}
