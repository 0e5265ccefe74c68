#pragma once

#include <QString>

// Database connection parameters of group ATTENDANCE, read at creation.
class clsConDbSet {
public:
    clsConDbSet();

    QString Server() const { return m_server; }
    void setServer(const QString& v) { m_server = v; }
    QString LoginName() const { return m_loginName; }
    void setLoginName(const QString& v) { m_loginName = v; }
    QString LoginPwd() const { return m_loginPwd; }
    void setLoginPwd(const QString& v) { m_loginPwd = v; }
    QString dbName() const { return m_dbName; }
    void setdbName(const QString& v) { m_dbName = v; }

    // Writes all four keys (every write attempted); true only if all succeeded.
    bool Save();

private:
    QString m_server, m_loginName, m_loginPwd, m_dbName;
};
