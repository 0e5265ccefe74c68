#include "shared/records/clsDeptSet.h"

#include "shared/db/DbQuery.h"

clsDeptSet::clsDeptSet(DbSession& session, bool doLoad) : m_session(&session) {
    if (doLoad)
        load();
}

clsDept& clsDeptSet::Add(qint16 id, const QString& dname, const QString& password,
                         const QString& sKey) {
    auto dept = std::make_unique<clsDept>(*m_session);
    dept->setID(id);
    dept->setDNAME(dname);
    dept->setPASSWORD(password);
    return Append(std::move(dept), sKey);
}

void clsDeptSet::load() {
    // One statement gives each department with its employee count; a failed
    // load leaves the set with what was read.
    auto q = DbQuery::Read(*m_session,
                           QStringLiteral("SELECT Dept.ID, Dept.DNAME, Dept.PASSWORD, "
                                          "(SELECT COUNT(*) FROM Employee WHERE Employee.DID = "
                                          "Dept.ID) FROM Dept ORDER BY Dept.ID"));
    if (!q)
        return;
    while (q->next()) {
        auto dept = std::make_unique<clsDept>(*m_session);
        const auto id = static_cast<qint16>(q->value(0).toInt());
        dept->assign(id, q->value(1).toString(), q->value(2).toString(),
                     static_cast<qint16>(q->value(3).toInt()));
        const QString key = KeyOf(id);
        if (Contains(key))
            Append(std::move(dept));
        else
            Append(std::move(dept), key);
    }
}
