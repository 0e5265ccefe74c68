#include "shared/records/clsDept.h"

#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"

void clsDept::setID(qint16 id) {
    m_id = id;
    LoadByID();
}

void clsDept::setDNAME(const QString& name) {
    m_dname = name;
    LoadByName();
}

void clsDept::assign(qint16 id, const QString& name, const QString& password, qint16 employeeNum) {
    m_id = id;
    m_dname = name;
    m_password = password;
    m_employeeNum = employeeNum;
}

bool clsDept::LoadByID() {
    if (m_id == 0)
        return false;
    auto q = DbQuery::Read(*m_session, QStringLiteral("SELECT DNAME FROM Dept WHERE ID = ?"),
                           {int(m_id)});
    if (!q)
        return false;
    if (q->next())
        m_dname = q->value(0).toString();
    q->finish();
    countEmployees();
    return true;
}

bool clsDept::LoadByName() {
    if (m_dname.isEmpty())
        return false;
    // Names compare without regard to case, so "Office" finds "office".
    auto q = DbQuery::Read(*m_session,
                           QStringLiteral("SELECT ID FROM Dept WHERE ") +
                               DbDialect::NoCaseEquals(m_session->Engine(), QStringLiteral("DNAME"),
                                                       QStringLiteral("?")),
                           {m_dname});
    if (!q)
        return false;
    if (q->next())
        m_id = static_cast<qint16>(q->value(0).toInt());
    q->finish();
    countEmployees();
    return true;
}

void clsDept::countEmployees() {
    m_employeeNum = -1;
    auto q = DbQuery::Read(
        *m_session, QStringLiteral("SELECT COUNT(*) FROM Employee WHERE DID = ?"), {int(m_id)});
    if (q && q->next())
        m_employeeNum = static_cast<qint16>(q->value(0).toInt());
}

namespace {
// One writing statement in its own transaction: true when it changed a row.
bool writeOne(DbSession& session, const QString& sql, const QVariantList& params) {
    DbTransaction tx(session);
    return tx.Exec(sql, params) >= 1 && tx.Commit();
}
} // namespace

bool clsDept::AppendToDb() {
    if (m_id >= 1)
        return false;
    // The new key is left to the database and not read back.
    return writeOne(*m_session, QStringLiteral("INSERT INTO Dept(DNAME) VALUES(?)"), {m_dname});
}

bool clsDept::UpdateToDb() {
    if (m_id <= 0)
        return false;
    return writeOne(*m_session, QStringLiteral("UPDATE Dept SET DNAME = ? WHERE ID = ?"),
                    {m_dname, int(m_id)});
}

bool clsDept::Remove(const QString& did) {
    if (did.isEmpty())
        return false;
    bool ok = false;
    const qlonglong id = did.trimmed().toLongLong(&ok);
    if (!ok)
        return false;
    return writeOne(*m_session, QStringLiteral("DELETE FROM Dept WHERE ID = ?"), {id});
}

bool clsDept::RemoveMe() {
    return Remove(QString::number(m_id));
}

clsDept::RemoveResult clsDept::RemoveEmpty(DbSession& session, qint16 id, Error* error) {
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    if (!tx.LockKey(QStringLiteral("Dept"), QString::number(id))) {
        tx.Error().Report(error);
        return RemoveResult::Failed;
    }
    auto count = DbQuery::Read(
        session, QStringLiteral("SELECT COUNT(*) FROM Employee WHERE DID = ?"), {int(id)}, error);
    if (!count || !count->next())
        return RemoveResult::Failed;
    const int employees = count->value(0).toInt();
    count = {};
    if (employees > 0)
        return RemoveResult::HasEmployees;
    const int removed = tx.Exec(QStringLiteral("DELETE FROM Dept WHERE ID = ?"), {int(id)});
    if (removed < 0 || (removed > 0 && !tx.Commit())) {
        tx.Error().Report(error);
        return RemoveResult::Failed;
    }
    return removed > 0 ? RemoveResult::Removed : RemoveResult::NotFound;
}
