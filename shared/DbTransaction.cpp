#include "DbTransaction.h"

#include <QSqlQuery>

DbTransaction::DbTransaction(QSqlDatabase db, Mode mode) : m_db(std::move(db)) {
    if (!m_db.isValid() || !m_db.isOpen()) {
        m_error = DbError(QStringLiteral("the database cannot be opened"));
        return;
    }
    m_active = run(mode == Mode::Immediate ? "BEGIN IMMEDIATE" : "BEGIN");
}

DbTransaction::~DbTransaction() {
    if (m_active)
        run("ROLLBACK");
}

bool DbTransaction::Commit() {
    if (!m_active)
        return false;
    if (!run("COMMIT")) {
        run("ROLLBACK");
        m_active = false;
        return false;
    }
    m_active = false;
    return true;
}

bool DbTransaction::run(const char* statement) {
    QSqlQuery q(m_db);
    if (q.exec(QLatin1String(statement)))
        return true;
    if (!m_error.IsSet())
        m_error = DbError::From(q.lastError());
    return false;
}
