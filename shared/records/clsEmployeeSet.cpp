#include "shared/records/clsEmployeeSet.h"

#include "shared/db/DbDateTime.h"
#include "shared/db/DbQuery.h"

#include <QSqlError>

bool clsEmployeeSet::LoadSet(Error* error) {
    // Photos are not read here: each record fetches its own when asked, so
    // listing thousands of employees reads and writes no photo. By
    // department and number, the order of the list index, on every engine.
    auto rows = DbQuery::Read(
        *m_session,
        QStringLiteral("SELECT Employee.ID, Employee.DID, Employee.ENUMBER, Employee.EBARCODE, "
                       "Employee.ENAME, Employee.ENTERDATE, Dept.DNAME FROM Employee, Dept WHERE "
                       "Employee.DID = Dept.ID ORDER BY Employee.DID, Employee.ENUMBER"),
        {}, error);
    if (!rows)
        return false;
    QSqlQuery& q = *rows;
    while (q.next()) {
        auto e = std::make_unique<clsEmployee>(*m_session);
        e->setdid(static_cast<qint16>(q.value(1).toInt()));
        e->setDNAME(q.value(6).toString());
        e->setEBARCODE(q.isNull(3) ? QString() : q.value(3).toString());
        e->setENUMBER(q.value(2).toString());
        e->setENAME(q.value(4).toString());
        e->setENTERDATE(q.isNull(5) ? DbDateTime::Zero()
                                    : DbDateTime::FromText(q.value(5).toString()));
        e->setID(q.value(0).toInt());
        e->setPhotoDeferred();
        if (Contains(e->ENUMBER()))
            return Error(QStringLiteral("duplicate key in collection: %1").arg(e->ENUMBER()))
                .Report(error);
        Add(std::move(e));
    }
    if (q.lastError().isValid())
        return Error(q.lastError().text()).Report(error);
    return true;
}

clsEmployee& clsEmployeeSet::Add(std::unique_ptr<clsEmployee> objNewMember) {
    const QString key = objNewMember->ENUMBER();
    return Append(std::move(objNewMember), key);
}

QStringList clsEmployeeSet::WithUnknownDepartment(DbSession& session, Error* error) {
    QStringList numbers;
    auto q = DbQuery::Read(session,
                           QStringLiteral("SELECT ENUMBER FROM Employee WHERE DID IS NULL OR DID "
                                          "NOT IN (SELECT ID FROM Dept) ORDER BY ENUMBER"),
                           {}, error);
    while (q && q->next())
        numbers << q->value(0).toString();
    return numbers;
}
