#pragma once

#include <QString>

class DbSession;
class Error;

// A department (table Dept), read and written on the session it is given.
// Setting ID or DNAME through their setters also loads the rest of the
// record from the database.
class clsDept {
public:
    explicit clsDept(DbSession& session) : m_session(&session) {}

    qint16 ID() const { return m_id; }
    void setID(qint16 id);
    QString DNAME() const { return m_dname; }
    void setDNAME(const QString& name);
    QString PASSWORD() const { return m_password; }
    void setPASSWORD(const QString& p) { m_password = p; }
    qint16 EMPLOYEENUM() const { return m_employeeNum; }

    bool LoadByID();
    bool LoadByName();
    bool AppendToDb();
    bool UpdateToDb();
    bool Remove(const QString& did);
    bool RemoveMe();

    // Removing a department that employees still belong to is refused: the
    // count and the delete form one transaction that holds the department's
    // key, as storing an employee does, so an employee stored meanwhile by
    // another program is never left without its department.
    enum class RemoveResult { Removed, HasEmployees, NotFound, Failed };
    static RemoveResult RemoveEmpty(DbSession& session, qint16 id, Error* error = nullptr);

    // Assigns fields without any database access (used by set loads).
    void assign(qint16 id, const QString& name, const QString& password, qint16 employeeNum);

private:
    void countEmployees();

    DbSession* m_session;
    qint16 m_id = 0;
    QString m_dname;
    QString m_password;
    qint16 m_employeeNum = -1;
};
