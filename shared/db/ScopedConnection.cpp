#include "shared/db/ScopedConnection.h"

#include "shared/db/StatementCache.h"

#include <QSqlDatabase>

void ScopedConnection::Drop(const QString& name) {
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        StatementCache::Forget(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
