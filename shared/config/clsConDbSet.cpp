#include "shared/config/clsConDbSet.h"

#include "shared/config/clsConfiguration.h"

namespace {
clsConfiguration AttendanceGroup() {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("ATTENDANCE"));
    return cfg;
}
} // namespace

clsConDbSet::clsConDbSet() {
    const clsConfiguration cfg = AttendanceGroup();
    m_server = cfg.GetItem(QStringLiteral("DBSERVER"));
    m_loginName = cfg.GetItem(QStringLiteral("DBLOGINNAME"));
    m_loginPwd = cfg.GetItem(QStringLiteral("DBLOGINPWD"));
    m_dbName = cfg.GetItem(QStringLiteral("DBNAME"));
}

bool clsConDbSet::Save() {
    clsConfiguration cfg = AttendanceGroup();
    // Every write is attempted even after a failure, so as much as possible
    // is kept; the result tells whether all of them succeeded.
    bool ok = cfg.SetItem(QStringLiteral("DBSERVER"), m_server);
    ok = cfg.SetItem(QStringLiteral("DBLOGINNAME"), m_loginName) && ok;
    ok = cfg.SetItem(QStringLiteral("DBLOGINPWD"), m_loginPwd) && ok;
    ok = cfg.SetItem(QStringLiteral("DBNAME"), m_dbName) && ok;
    return ok;
}
