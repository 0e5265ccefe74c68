#include "tools/admin/AdminCommands.h"

#include "shared/db/clsDbConn.h"
#include "tools/admin/AdminCommand.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/CommandRegistry.h"

namespace AdminCommands {

namespace {

int wrongUsage(QTextStream& err, const AdminCommand& cmd, const QString& why) {
    err << "attendance-admin " << cmd.Spec().name << ": " << why << "\n\n" << cmd.Usage();
    return Admin::WrongUsage;
}

} // namespace

bool NeedsGui(const QStringList& arguments) {
    const AdminCommand* cmd = arguments.size() > 1 ? CommandRegistry::Named(arguments[1]) : nullptr;
    return cmd && cmd->NeedsGui(arguments);
}

QString Usage() {
    QString text =
        QStringLiteral(
            "usage: attendance-admin COMMAND [ARGS] [--dir DIR]\n\n"
            "Sets up and scripts a program directory of the attendance system (the folder with\n"
            "attendance.ini). Commands other than init work on the program directory given\n"
            "by --dir, by default %1.\n\n"
            "commands:\n")
            .arg(AdminOptions::DefaultDirectory());
    for (const auto& cmd : CommandRegistry::All())
        text += QStringLiteral("  ") + (cmd->Spec().name + u' ' + cmd->Spec().synopsis).trimmed() +
                u'\n';
    text +=
        QStringLiteral("\n'attendance-admin COMMAND --help' describes one command.\n"
                       "Exit status: 0 success, 1 failure, 2 wrong usage (also a YEAR outside\n"
                       "1900-2100, a MONTH outside 1-12, a DATE not YYYY-MM-DD of 1900-2100).\n");
    return text;
}

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString name = arguments.value(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        out << Usage();
        return Admin::Success;
    }
    const AdminCommand* cmd = CommandRegistry::Named(name);
    if (!cmd) {
        if (!name.isEmpty())
            err << "attendance-admin: unknown command: " << name << "\n\n";
        err << Usage();
        return Admin::WrongUsage;
    }
    const Admin::CommandSpec& spec = cmd->Spec();
    QCommandLineParser parser;
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help")});
    // --dir is always known, so that init can say it takes none.
    parser.addOption({QStringLiteral("dir"), QString(), QStringLiteral("DIR")});
    for (const Admin::Option& o : spec.options)
        if (o.name != QLatin1String("dir"))
            parser.addOption({o.name, o.help, o.valueName});
    if (!parser.parse(QStringList{arguments[0]} + arguments.mid(2)))
        return wrongUsage(err, *cmd, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << cmd->Usage();
        return Admin::Success;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() < spec.minArgs || (spec.maxArgs >= 0 && args.size() > spec.maxArgs))
        return wrongUsage(err, *cmd, QStringLiteral("wrong number of arguments"));
    Admin::Context context{parser, args, out, err};
    const int status = cmd->Run(context);
    clsDbConn::CloseShared();
    out.flush();
    err.flush();
    return status;
}

} // namespace AdminCommands
