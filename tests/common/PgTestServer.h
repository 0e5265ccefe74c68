#pragma once

#include "shared/db/DbSettings.h"

#include <QSqlDatabase>
#include <QString>

// The PostgreSQL server the test script starts (scripts/pg-server.sh), named
// by ATTENDANCE_TEST_PG_SERVER ("host" or "host:port"), ATTENDANCE_TEST_PG_USER
// and ATTENDANCE_TEST_PG_PASSWORD.
namespace PgTestServer {
// The three variables are set (server and user not empty).
bool Available();
} // namespace PgTestServer

// A new, empty database on the test server for as long as the object lives.
// The destructor drops it, ending any connection still open to it.
struct PgTestDatabase {
    PgTestDatabase();
    ~PgTestDatabase();
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    // The settings that reach the database (engine postgresql).
    const DbSettings& settings() const { return m_settings; }
    QString name() const { return m_settings.database; }
    QString server() const { return m_settings.server; }
    QString user() const { return m_settings.user; }
    QString password() const { return m_settings.password; }
    QString host() const { return m_settings.Host(); }

    // Opens a connection `connectionName` to this database; the caller
    // removes it (QSqlDatabase::removeDatabase).
    QSqlDatabase connect(const QString& connectionName) const;

private:
    DbSettings m_settings;
    QString m_adminConnection;
    bool m_ok = false;
    QString m_error;
};
