#pragma once

#include <QString>
#include <QStringList>

// Which database the programs use and how to reach it, as the configuration
// file says: [DATA] ENGINE picks the engine (absent or "sqlite": the file
// "vorerur.dat" under [DATA] PATH; "postgresql": a server reached with the
// four settings of group ATTENDANCE).
struct DbSettings {
    enum class Engine { SQLite, PostgreSQL, Unknown };

    Engine engine = Engine::SQLite;
    QString engineText; // as written in the file, for messages
    QString server;     // "host" or "host:port", several separated by commas
    QString user;
    QString password;
    QString database;

    // The settings of the program directory's configuration file.
    static DbSettings FromConfiguration();
    // The engine named by the value of [DATA] ENGINE (case and blanks ignored).
    static Engine EngineNamed(const QString& text);
    // The value [DATA] ENGINE takes for an engine.
    static QString EngineName(Engine engine);

    // The servers `server` names, in order ("host1:5432,host2:5432": a
    // primary and its standby; the programs use the one accepting writes).
    QStringList Servers() const;
    // The host part of the first server and its port (5432 when none is
    // given); an IPv6 address is written in brackets when it has a port
    // ("[::1]:5433"). -1 when the port is not a number from 1 to 65535.
    QString Host() const;
    int Port() const;
    // The same of one server as written.
    static QString HostOf(const QString& server);
    static int PortOf(const QString& server);
    // The first server's port as written after the host (empty when none is
    // given), and what is wrong with any server for messages (empty when
    // nothing is).
    QString PortText() const;
    QString PortProblem() const;
    // Whether the servers, login name and database name are all given.
    bool ServerComplete() const;
    // "server HOST:PORT, database NAME" for messages (never the password).
    QString Describe() const;
    // Where the records are, for messages: the database file's path or
    // the server's description.
    QString Location() const;
    // The connection options Qt's PostgreSQL driver passes on to the client
    // library: the time-out of a connection attempt, and a link that notices
    // a silent network (keepalive probes on an idle link, data unacknowledged
    // for a few seconds) instead of waiting for the system's minutes.
    // With several servers also their hosts and ports, and that the
    // connection goes to the one that accepts writes (Qt's host name and
    // port stay unset then).
    QString ConnectOptions(int connectTimeoutS) const;

private:
    QString hostList() const;
};
