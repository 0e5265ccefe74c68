#include "shared/offline/LocalFile.h"

#include <QSqlQuery>
#include <QUuid>

LocalFile::LocalFile(const QString& path, const QStringList& schema)
    : m_path(path),
      m_name(QStringLiteral("local:") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return;
    QSqlQuery q(db);
    m_open = q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
             q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    for (const QString& statement : schema)
        m_open = m_open && q.exec(statement);
}

LocalFile::~LocalFile() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase LocalFile::Db() const {
    return QSqlDatabase::database(m_name, false);
}
