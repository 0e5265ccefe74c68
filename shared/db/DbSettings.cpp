#include "shared/db/DbSettings.h"

#include "shared/config/clsConDbSet.h"
#include "shared/config/clsConfiguration.h"

DbSettings::Engine DbSettings::EngineNamed(const QString& text) {
    const QString name = text.trimmed().toLower();
    if (name.isEmpty() || name == QLatin1String("sqlite"))
        return Engine::SQLite;
    if (name == QLatin1String("postgresql"))
        return Engine::PostgreSQL;
    return Engine::Unknown;
}

QString DbSettings::EngineName(Engine engine) {
    switch (engine) {
    case Engine::SQLite:
        return QStringLiteral("sqlite");
    case Engine::PostgreSQL:
        return QStringLiteral("postgresql");
    case Engine::Unknown:
        break;
    }
    return {};
}

DbSettings DbSettings::FromConfiguration() {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("DATA"));
    DbSettings s;
    s.engineText = cfg.GetItem(QStringLiteral("ENGINE"));
    s.engine = EngineNamed(s.engineText);
    const clsConDbSet server;
    s.server = server.Server().trimmed();
    s.user = server.LoginName().trimmed();
    s.password = server.LoginPwd();
    s.database = server.dbName().trimmed();
    return s;
}

namespace {
// The position of the ':' before a port, or -1.
qsizetype portColon(const QString& server) {
    if (server.startsWith(QLatin1Char('['))) {
        const qsizetype close = server.indexOf(QLatin1Char(']'));
        return close >= 0 && server.mid(close + 1).startsWith(QLatin1Char(':')) ? close + 1 : -1;
    }
    const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
    // More than one ':' without brackets: an IPv6 address without a port.
    return colon >= 0 && server.indexOf(QLatin1Char(':')) == colon ? colon : -1;
}

QString portTextOf(const QString& server) {
    const qsizetype colon = portColon(server);
    return colon < 0 ? QString() : server.mid(colon + 1).trimmed();
}

// Whether a host name can stand in the client library's option text, which
// separates with blanks and '=' and quotes with ' and '\'.
bool plainHost(const QString& host) {
    for (const QChar c : host)
        if (c.isSpace() || QStringLiteral(";='\\").contains(c))
            return false;
    return !host.isEmpty();
}
} // namespace

QStringList DbSettings::Servers() const {
    QStringList servers = server.split(QLatin1Char(','));
    for (QString& s : servers)
        s = s.trimmed();
    return servers;
}

QString DbSettings::HostOf(const QString& server) {
    const qsizetype colon = portColon(server);
    QString host = colon >= 0 ? server.left(colon) : server;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host;
}

int DbSettings::PortOf(const QString& server) {
    if (portColon(server) < 0)
        return 5432;
    bool ok = false;
    const int port = portTextOf(server).toInt(&ok);
    return ok && port > 0 && port < 65536 ? port : -1;
}

QString DbSettings::Host() const {
    return HostOf(Servers().constFirst());
}

QString DbSettings::PortText() const {
    return portTextOf(Servers().constFirst());
}

int DbSettings::Port() const {
    return PortOf(Servers().constFirst());
}

QString DbSettings::PortProblem() const {
    for (const QString& s : Servers()) {
        if (PortOf(s) > 0)
            continue;
        bool number = false;
        portTextOf(s).toLongLong(&number);
        return number
                   ? QStringLiteral("the port %1 is out of range (1 to 65535)").arg(portTextOf(s))
                   : QStringLiteral("the port \"%1\" is not a number").arg(portTextOf(s));
    }
    return {};
}

bool DbSettings::ServerComplete() const {
    const QStringList servers = Servers();
    for (const QString& s : servers)
        if (HostOf(s).isEmpty() || PortOf(s) < 0 || (servers.size() > 1 && !plainHost(HostOf(s))))
            return false;
    return !user.isEmpty() && !database.isEmpty();
}

QString DbSettings::Location() const {
    return engine == Engine::PostgreSQL ? Describe() : DatabaseFilePath();
}

QString DbSettings::Describe() const {
    // An IPv6 address in brackets, so its colons are not read as the port's;
    // a port that is no port as written.
    QStringList servers;
    for (const QString& s : Servers()) {
        const QString host = HostOf(s);
        servers << QStringLiteral("%1:%2").arg(
            host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host,
            PortOf(s) > 0 ? QString::number(PortOf(s)) : portTextOf(s));
    }
    return QStringLiteral("server %1, database %2")
        .arg(servers.join(QStringLiteral(", ")), database);
}

QString DbSettings::hostList() const {
    const QStringList servers = Servers();
    if (servers.size() < 2)
        return {};
    QStringList hosts, ports;
    for (const QString& s : servers) {
        hosts << HostOf(s);
        ports << QString::number(PortOf(s));
    }
    return QStringLiteral(";host=%1;port=%2;target_session_attrs=read-write")
        .arg(hosts.join(QLatin1Char(',')), ports.join(QLatin1Char(',')));
}

QString DbSettings::ConnectOptions(int connectTimeoutS) const {
    return QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=5;"
                          "keepalives_interval=2;keepalives_count=3;tcp_user_timeout=%2;"
                          "application_name=attendance")
               .arg(connectTimeoutS)
               .arg(connectTimeoutS * 1000) +
           hostList();
}
