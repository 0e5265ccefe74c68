#include "tools/admin/ServerOptions.h"

#include "tools/admin/Migrate.h"

#include <QFile>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace ServerOptions {

namespace {

// Echo off on the terminal for as long as this lives.
class HiddenInput {
public:
    HiddenInput() : m_ok(::tcgetattr(STDIN_FILENO, &m_saved) == 0) {
        if (!m_ok)
            return;
        termios quiet = m_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    ~HiddenInput() {
        if (m_ok)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
    }
    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

private:
    termios m_saved{};
    bool m_ok;
};

QString withoutLineEnd(QByteArray line) {
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

QString askOnce(Admin::Context& c, const QString& label) {
    QByteArray line;
    {
        // Echo off before the prompt, so nothing typed after it is shown.
        const HiddenInput hidden;
        c.err << label << ": " << Qt::flush;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, stdin)) {
            line += buffer;
            if (line.endsWith('\n'))
                break;
        }
    }
    c.err << Qt::endl;
    return withoutLineEnd(line);
}

} // namespace

bool Prompt(Admin::Context& c, const QString& label, QString* value, Ask ask) {
    if (!::isatty(STDIN_FILENO)) {
        return Admin::Fail(c.err,
                           QStringLiteral("\"-\" asks for %1 on the terminal, but the input is "
                                          "not one")
                               .arg(label));
    }
    *value = askOnce(c, label);
    if (ask == Ask::Once)
        return true;
    if (askOnce(c, label + QStringLiteral(" (again)")) != *value) {
        value->clear();
        return Admin::Fail(c.err, QStringLiteral("the two passwords differ; nothing was changed"));
    }
    return true;
}

bool FromFile(Admin::Context& c, const QString& path, QString* value) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Admin::Fail(
            c.err,
            QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString()));
    }
    *value = withoutLineEnd(file.readLine());
    return true;
}

bool AdminPasswordUsable(Admin::Context& c, const QString& password) {
    if (password.isEmpty() || password.trimmed() != password)
        return Admin::Fail(c.err, QStringLiteral("the password must not be empty nor begin or end "
                                                 "with blanks"));
    return true;
}

const QStringList& Names() {
    static const QStringList names = {QStringLiteral("server"), QStringLiteral("user"),
                                      QStringLiteral("password"), QStringLiteral("database")};
    return names;
}

bool Secret(Admin::Context& c, const char* option, const char* environment, QString* value,
            bool* given, Ask ask) {
    const bool withFile = qstrcmp(option, "password") == 0 && c.isSet("password-file");
    *given = c.isSet(option) || withFile;
    if (c.isSet(option) && withFile) {
        return Admin::Fail(c.err, QStringLiteral("give --password or --password-file, not both"));
    }
    if (withFile)
        return FromFile(c, c.value("password-file"), value);
    if (c.isSet(option)) {
        *value = c.value(option);
        return *value != QLatin1String("-") ||
               Prompt(c, QStringLiteral("--") + QLatin1String(option), value, ask);
    }
    if (environment && qEnvironmentVariableIsSet(environment)) {
        *given = true;
        *value = qEnvironmentVariable(environment);
    }
    return true;
}

bool Read(Admin::Context& c, DbSettings* settings) {
    bool passwordGiven = false;
    if (!Secret(c, "password", kPasswordVariable, &settings->password, &passwordGiven))
        return false;
    QStringList missing;
    for (const QString& name : Names())
        if (name == QLatin1String("password") ? !passwordGiven : !c.parser.isSet(name))
            missing << QStringLiteral("--") + name;
    if (!missing.isEmpty()) {
        return Admin::Fail(
            c.err,
            QStringLiteral("a database server needs --server HOST[:PORT][,HOST[:PORT]...], --user, "
                           "--password (or --password-file, or %1) and --database "
                           "(missing: %2)")
                .arg(QLatin1String(kPasswordVariable), missing.join(QStringLiteral(", "))));
    }
    settings->engine = DbSettings::Engine::PostgreSQL;
    settings->engineText = DbSettings::EngineName(settings->engine);
    settings->server = c.value("server").trimmed();
    settings->user = c.value("user").trimmed();
    settings->database = c.value("database").trimmed();
    Error error;
    if (!settings->ServerComplete()) {
        return Admin::Fail(c.err,
                           QStringLiteral("the servers, login name and database name must not be "
                                          "empty and each port must be a number: %1")
                               .arg(settings->server));
    }
    if (!Migrate::SettingsStorable(*settings, &error)) {
        return Admin::Fail(c.err, error.Text());
    }
    return true;
}

} // namespace ServerOptions
