#include "shared/records/clsDept.h"

#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"

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
    auto q = DbQuery::Select(QStringLiteral("SELECT DNAME FROM Dept WHERE ID = ?"), {int(m_id)});
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
    auto q =
        DbQuery::Select(QStringLiteral("SELECT ID FROM Dept WHERE ") +
                            DbDialect::NoCaseEquals(DbDialect::Shared(), QStringLiteral("DNAME"),
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
    auto q =
        DbQuery::Select(QStringLiteral("SELECT COUNT(*) FROM Employee WHERE DID = ?"), {int(m_id)});
    if (q && q->next())
        m_employeeNum = static_cast<qint16>(q->value(0).toInt());
}

bool clsDept::AppendToDb() {
    if (m_id >= 1)
        return false;
    // The new key is left to the database and not read back.
    return DbQuery::Exec(QStringLiteral("INSERT INTO Dept(DNAME) VALUES(?)"), {m_dname}) >= 1;
}

bool clsDept::UpdateToDb() {
    if (m_id <= 0)
        return false;
    return DbQuery::Exec(QStringLiteral("UPDATE Dept SET DNAME = ? WHERE ID = ?"),
                         {m_dname, int(m_id)}) >= 1;
}

bool clsDept::Remove(const QString& did) {
    if (did.isEmpty())
        return false;
    bool ok = false;
    const qlonglong id = did.trimmed().toLongLong(&ok);
    if (!ok)
        return false;
    return DbQuery::Exec(QStringLiteral("DELETE FROM Dept WHERE ID = ?"), {id}) >= 1;
}

bool clsDept::RemoveMe() {
    return Remove(QString::number(m_id));
}
