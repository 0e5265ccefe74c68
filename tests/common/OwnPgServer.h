#pragma once

#include <QString>
#include <QTemporaryDir>

// A PostgreSQL server of the test's own (scripts/pg-server.sh in a temporary
// folder) that the test stops, starts again, hangs and resumes, as servers
// really fail. Started, it names itself in the ATTENDANCE_TEST_PG_*
// variables of the process, so TestProgramDir makes its databases there.
class OwnPgServer {
public:
    OwnPgServer();
    ~OwnPgServer();
    OwnPgServer(const OwnPgServer&) = delete;
    OwnPgServer& operator=(const OwnPgServer&) = delete;

    // Empty when a server is installed; else why not (for QSKIP).
    static QString Unavailable();

    bool Start();
    // pg_ctl stop -m fast or -m immediate; Resume starts it on its port again.
    bool Halt(bool immediate);
    bool Resume();
    // SIGSTOP of the postmaster and its children: the machine still
    // acknowledges, the server answers nothing. Unhang sends SIGCONT.
    bool Hang();
    bool Unhang();
    QString Error() const { return m_error; }

private:
    bool run(const QStringList& args);
    bool signal(int sig);

    QTemporaryDir m_root{QStringLiteral("/tmp/att-own.XXXXXX")};
    QString m_dir;
    bool m_started = false;
    QString m_error;
};
