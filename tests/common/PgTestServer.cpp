#include "tests/common/PgTestServer.h"

#include "shared/db/clsDbConn.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

bool PgTestServer::Available() {
    return !qEnvironmentVariableIsEmpty("ATTENDANCE_TEST_PG_SERVER") &&
           !qEnvironmentVariableIsEmpty("ATTENDANCE_TEST_PG_USER") &&
           qEnvironmentVariableIsSet("ATTENDANCE_TEST_PG_PASSWORD");
}

PgTestDatabase::PgTestDatabase() {
    if (!PgTestServer::Available()) {
        m_error = QStringLiteral("no test server: ATTENDANCE_TEST_PG_SERVER, _USER and _PASSWORD "
                                 "are not set (scripts/pg-server.sh start DIR writes them)");
        return;
    }
    m_settings.engine = DbSettings::Engine::PostgreSQL;
    m_settings.server = qEnvironmentVariable("ATTENDANCE_TEST_PG_SERVER");
    m_settings.user = qEnvironmentVariable("ATTENDANCE_TEST_PG_USER");
    m_settings.password = qEnvironmentVariable("ATTENDANCE_TEST_PG_PASSWORD");
    // Process id and a random part: unique among parallel test programs and
    // never clashing with a database a crashed earlier run left behind.
    const QString name =
        QStringLiteral("t_%1_%2")
            .arg(QCoreApplication::applicationPid())
            .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    m_adminConnection = QStringLiteral("pgtest_admin_") + name;

    DbSettings admin = m_settings;
    admin.database = QStringLiteral("postgres");
    Error why;
    QSqlDatabase db = clsDbConn::OpenServer(admin, m_adminConnection, &why, false);
    if (!db.isValid()) {
        m_error = why.Text();
        return;
    }
    // The name is made above from digits and letters only, so it may stand
    // in the statement (a database name cannot be a bound parameter).
    QSqlQuery q(db);
    if (!q.exec(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name))) {
        m_error = QStringLiteral("cannot create database %1: %2").arg(name, q.lastError().text());
        return;
    }
    m_settings.database = name;
    m_ok = true;
}

PgTestDatabase::~PgTestDatabase() {
    if (!QSqlDatabase::contains(m_adminConnection))
        return;
    {
        QSqlDatabase admin = QSqlDatabase::database(m_adminConnection, false);
        QSqlQuery q(admin);
        if (m_ok && !q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name())))
            qWarning("cannot drop test database %s: %s", qPrintable(name()),
                     qPrintable(q.lastError().text()));
        admin.close();
    }
    QSqlDatabase::removeDatabase(m_adminConnection);
}

QSqlDatabase PgTestDatabase::connect(const QString& connectionName) const {
    return clsDbConn::OpenServer(m_settings, connectionName, nullptr, false);
}
