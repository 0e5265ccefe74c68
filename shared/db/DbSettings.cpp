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
} // namespace

QString DbSettings::Host() const {
    const qsizetype colon = portColon(server);
    QString host = colon >= 0 ? server.left(colon) : server;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host;
}

QString DbSettings::PortText() const {
    const qsizetype colon = portColon(server);
    return colon < 0 ? QString() : server.mid(colon + 1).trimmed();
}

int DbSettings::Port() const {
    if (portColon(server) < 0)
        return 5432;
    bool ok = false;
    const int port = PortText().toInt(&ok);
    return ok && port > 0 && port < 65536 ? port : -1;
}

QString DbSettings::PortProblem() const {
    if (Port() > 0)
        return {};
    bool number = false;
    PortText().toLongLong(&number);
    return number ? QStringLiteral("the port %1 is out of range (1 to 65535)").arg(PortText())
                  : QStringLiteral("the port \"%1\" is not a number").arg(PortText());
}

bool DbSettings::ServerComplete() const {
    return !Host().isEmpty() && Port() > 0 && !user.isEmpty() && !database.isEmpty();
}

QString DbSettings::Location() const {
    return engine == Engine::PostgreSQL ? Describe() : DatabaseFilePath();
}

QString DbSettings::Describe() const {
    // An IPv6 address in brackets, so its colons are not read as the port's;
    // a port that is no port as written.
    const QString host = Host();
    return QStringLiteral("server %1:%2, database %3")
        .arg(host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host,
             Port() > 0 ? QString::number(Port()) : PortText(), database);
}

QString DbSettings::ConnectOptions(int connectTimeoutS) const {
    return QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=5;"
                          "keepalives_interval=2;keepalives_count=3;tcp_user_timeout=%2;"
                          "application_name=attendance")
        .arg(connectTimeoutS)
        .arg(connectTimeoutS * 1000);
}
