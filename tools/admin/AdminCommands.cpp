#include "tools/admin/AdminCommands.h"

#include "shared/db/clsDbConn.h"
#include "tools/admin/AdminCommand.h"
#include "tools/admin/CheckCommand.h"
#include "tools/admin/CorrectionCommands.h"
#include "tools/admin/ExchangeCommands.h"
#include "tools/admin/InitCommand.h"
#include "tools/admin/Migrate.h"
#include "tools/admin/PrintCards.h"
#include "tools/admin/ReplayJournal.h"
#include "tools/admin/ReportMonth.h"
#include "tools/admin/ReportSummary.h"
#include "tools/admin/ScheduleCommands.h"
#include "tools/admin/ServerOptions.h"
#include "tools/admin/SetAdminPassword.h"

namespace AdminCommands {

using Admin::Command;
using Admin::Gui;

namespace {

struct Option {
    const char* name;
    const char* valueName; // nullptr: a switch
    const char* help;
};

const QList<Option>& optionTable() {
    static const QList<Option> options = {
        {"dir", "DIR", "the program directory whose attendance.ini is used\n(default: %1)"},
        {"data", "DATADIR", "the folder of the database file (default: DIR)"},
        {"password", "PW",
         "init with a file: the administrator password; with a server:\n"
         "the server login's password; \"-\" asks on the terminal without echo"},
        {"password-file", "FILE",
         "the password of --password (set-admin-password: the new\n"
         "one) as the first line of FILE"},
        {"admin-password", "PW", "the administrator password (\"-\" asks on the terminal)"},
        {"unit", "NAME", "the unit name"},
        {"demo", nullptr, "adds the demo departments, employees and presence records"},
        {"engine", "ENGINE", "sqlite (the default) or postgresql"},
        {"server", "HOST[:PORT][,HOST[:PORT]...]",
         "the database server (several: the one accepting writes)"},
        {"user", "U", "the server login (the owner of the database)"},
        {"database", "NAME", "the database on the server"},
        {"arrival", "HH:MM", "the arrival time of the day"},
        {"departure", "HH:MM", "the departure time of the day"},
        {"change", nullptr, "changes the day's times instead of adding missing ones"},
        {"remove", nullptr, "removes the day's record"},
        {"reason", "TEXT", "why the record is corrected (required)"},
        {"from", "DATE", "the first day (YYYY-MM-DD) on which corrections were made"},
        {"to", "DATE", "the last day (YYYY-MM-DD) on which corrections were made"},
        {"employee", "N", "only the corrections of that employee number"},
        {"csv", "OUT", "writes the rows as CSV (UTF-8) to OUT, never over a file"},
    };
    return options;
}

// Every name a command lists is in the table.
const Option& optionNamed(const QString& name) {
    for (const Option& o : optionTable())
        if (name == QLatin1String(o.name))
            return o;
    Q_UNREACHABLE();
}

// Where the commands find attendance.ini without --dir: the folder of the
// packages' configuration, else the program's own.
QString defaultDirectory() {
#ifdef ATTENDANCE_CONFIG_DIR
    return QStringLiteral(ATTENDANCE_CONFIG_DIR);
#else
    return QStringLiteral("the directory of attendance-admin");
#endif
}

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* name : list)
        out << QLatin1String(name);
    return out;
}

// The attendance rules' files, then the corrections and closing of months.
QVector<Command> ruleCommands(const QStringList& dir) {
    return {
        {QStringLiteral("schedule-export"), QStringLiteral("FILE.csv"),
         QStringLiteral("Writes the working hours as CSV: one line per department (\"*\" for the\n"
                        "unit) and weekday: dept,weekday,working,start,end,late_grace,early_grace\n"
                        "(weekday 1 = Monday ... 7 = Sunday, working 0/1, HH:MM, grace minutes;\n"
                        "a rest day's times may be empty and are not checked)."),
         1, 1, dir, Gui::Never, ScheduleCommands::ExportSchedule},
        {QStringLiteral("schedule-import"), QStringLiteral("FILE.csv"),
         QStringLiteral("Replaces all working hours with those of the file (as schedule-export\n"
                        "writes it); a department without lines follows the unit. A faulty file\n"
                        "is refused whole, naming the line, and nothing changes."),
         1, 1, dir, Gui::Never, ScheduleCommands::ImportSchedule},
        {QStringLiteral("calendar-export"), QStringLiteral("FILE.csv"),
         QStringLiteral(
             "Writes the calendar as CSV: date (YYYY-MM-DD),kind (holiday, workday or\n"
             "rest),name,as_weekday. A make-up workday works the hours of the weekday\n"
             "as_weekday names (1-7; empty: the first working weekday of the schedule)."),
         1, 1, dir, Gui::Never, ScheduleCommands::ExportCalendar},
        {QStringLiteral("calendar-import"), QStringLiteral("FILE.csv"),
         QStringLiteral("Replaces the calendar's dates of every year the file names with the\n"
                        "file's dates, all or nothing (date,kind,name[,as_weekday] as\n"
                        "calendar-export writes it); a faulty file is refused whole, naming\n"
                        "the line (and the byte of text that is not UTF-8)."),
         1, 1, dir, Gui::Never, ScheduleCommands::ImportCalendar},
    };
}

QVector<Command> correctionCommands(const QStringList& dir) {
    return {
        {QStringLiteral("correct"),
         QStringLiteral("ENUMBER DATE [--arrival HH:MM] [--departure HH:MM] [--change] "
                        "[--remove] --reason TEXT"),
         QStringLiteral("Corrects one day of an employee's records, as the office program's\n"
                        "\"考勤修正\" does: adds a missing arrival or departure, changes the\n"
                        "times (--change) or removes the day's record (--remove), and writes\n"
                        "the correction with its reason to the trail."),
         2, 2, names({"dir", "arrival", "departure", "change", "remove", "reason"}), Gui::Never,
         CorrectionCommands::Correct},
        {QStringLiteral("trail"),
         QStringLiteral("[--from DATE] [--to DATE] [--employee N] [--csv OUT]"),
         QStringLiteral("Prints every row of the corrections' trail (corrections, closing and\n"
                        "reopening of months), one per line, control characters escaped (\\n,\n"
                        "\\t, \\x1b), or writes them as CSV. DATE is YYYY-MM-DD of 1900-2100."),
         0, 0, names({"dir", "from", "to", "employee", "csv"}), Gui::Never,
         CorrectionCommands::Trail},
        {QStringLiteral("close-month"), QStringLiteral("YEAR MONTH"),
         QStringLiteral("Closes a past month: no correction, import or removal touches its\n"
                        "records afterwards."),
         2, 2, dir, Gui::Never, CorrectionCommands::CloseMonth},
        {QStringLiteral("reopen-month"), QStringLiteral("YEAR MONTH --admin-password PW"),
         QStringLiteral("Reopens a closed month; takes the administrator password."), 2, 2,
         names({"dir", "admin-password"}), Gui::Never, CorrectionCommands::ReopenMonth},
        {QStringLiteral("set-admin-password"), SetAdminPassword::Synopsis(),
         SetAdminPassword::Summary(), 0, 1, names({"dir", "password-file"}), Gui::Never,
         SetAdminPassword::Run},
    };
}

const QVector<Command>& commands() {
    const QStringList dir = names({"dir"});
    static const QVector<Command> list = [&] {
        QVector<Command> all = {
            {QStringLiteral("init"), InitCommand::Synopsis(), InitCommand::Summary(), 1, 1,
             names({"data", "password", "password-file", "admin-password", "unit", "demo", "engine",
                    "server", "user", "database"}),
             Gui::WithDemo, InitCommand::Run},
            {QStringLiteral("migrate"), Migrate::Synopsis(), Migrate::Summary(), 0, 0,
             names({"dir", "server", "user", "password", "password-file", "database"}), Gui::Never,
             Migrate::Run},
            {QStringLiteral("check"), QString(),
             QStringLiteral("Opens the database of the program directory as the programs do at\n"
                            "their start and names what is wrong: the server unreachable, a login\n"
                            "refused, a missing table, a missing, locked or read-only file."),
             0, 0, dir, Gui::Never, CheckCommand::Run},
            {QStringLiteral("replay-journal"), ReplayJournal::Synopsis(), ReplayJournal::Summary(),
             1, 1, dir, Gui::Never, ReplayJournal::Run},
            {QStringLiteral("export-employees"), QStringLiteral("FILE [ENUMBER...]"),
             QStringLiteral(
                 "Writes an employee file with the given employees (all when none given)."),
             1, -1, dir, Gui::Never, ExchangeCommands::ExportEmployees},
            {QStringLiteral("export-departments"), QStringLiteral("FILE"),
             QStringLiteral("Writes a department file with all departments."), 1, 1, dir,
             Gui::Never, ExchangeCommands::ExportDepartments},
            {QStringLiteral("import-employees"), QStringLiteral("FILE"),
             QStringLiteral("Inserts or overwrites the file's employees by number."), 1, 1, dir,
             Gui::Never, ExchangeCommands::ImportEmployees},
            {QStringLiteral("import-departments"), QStringLiteral("FILE"),
             QStringLiteral("Replaces all departments with those of the file."), 1, 1, dir,
             Gui::Never, ExchangeCommands::ImportDepartments},
            {QStringLiteral("backup-month"), QStringLiteral("FILE"),
             QStringLiteral("Writes the presence records of the current month up to today."), 1, 1,
             dir, Gui::Never, ExchangeCommands::BackupMonth},
            {QStringLiteral("export-month"), QStringLiteral("YEAR MONTH FILE"),
             QStringLiteral("Writes the presence records of one month."), 3, 3, dir, Gui::Never,
             ExchangeCommands::ExportMonth},
            // The reports lay out and draw their text.
            {QStringLiteral("report-month"), ReportMonth::Synopsis(), ReportMonth::Summary(), 3, 3,
             dir, Gui::Always, ReportMonth::Run},
            {QStringLiteral("report-summary"), ReportSummary::Synopsis(), ReportSummary::Summary(),
             3, 3, dir, Gui::Always, ReportSummary::Run},
            {QStringLiteral("print-cards"), PrintCards::Synopsis(), PrintCards::Summary(), 1, -1,
             dir, Gui::Always, PrintCards::Run},
            {QStringLiteral("dump"),
             QStringLiteral("FILE"),
             QStringLiteral("Prints a row-set XML file as a table: columns, then rows; binary\n"
                            "values as their byte count and SHA-256."),
             1,
             1,
             {},
             Gui::Never,
             ExchangeCommands::Dump},
        };
        all += ruleCommands(dir);
        all += correctionCommands(dir);
        return all;
    }();
    return list;
}

const Command* commandNamed(const QString& name) {
    for (const Command& candidate : commands())
        if (candidate.name == name)
            return &candidate;
    return nullptr;
}

QString commandUsage(const Command& cmd) {
    QString text =
        QStringLiteral("usage: attendance-admin ") + (cmd.name + u' ' + cmd.synopsis).trimmed();
    if (cmd.options == QStringList{QStringLiteral("dir")})
        text += QStringLiteral(" [--dir DIR]");
    text += QStringLiteral("\n\n") + cmd.summary + QStringLiteral("\n\noptions:\n");
    for (const QString& name : cmd.options) {
        const Option& o = optionNamed(name);
        const QString head =
            QStringLiteral("  --%1%2")
                .arg(QLatin1String(o.name),
                     o.valueName ? QLatin1Char(' ') + QLatin1String(o.valueName) : QString());
        QString help = QString::fromUtf8(o.help);
        if (name == QLatin1String("dir"))
            help = help.arg(defaultDirectory());
        help.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(30, QLatin1Char(' ')));
        text += head.leftJustified(29) + QLatin1Char(' ') + help + QLatin1Char('\n');
    }
    if (cmd.options.contains(QStringLiteral("server")))
        text += QStringLiteral("\nThe server login's password, kept out of the process list: "
                               "\"--password -\"\n(asked on the terminal), --password-file "
                               "FILE, or the variable %1.\n")
                    .arg(QLatin1String(ServerOptions::kPasswordVariable));
    if (cmd.name.startsWith(QLatin1String("export")) ||
        cmd.name.endsWith(QLatin1String("-export")) || cmd.name == QLatin1String("backup-month"))
        text += QStringLiteral(
            "\nThe file is never overwritten: an existing FILE makes the command fail.\n");
    return text;
}

int wrongUsage(QTextStream& err, const Command& cmd, const QString& why) {
    err << "attendance-admin " << cmd.name << ": " << why << "\n\n" << commandUsage(cmd);
    return Admin::WrongUsage;
}

} // namespace

bool NeedsGui(const QStringList& arguments) {
    const Command* cmd = arguments.size() > 1 ? commandNamed(arguments[1]) : nullptr;
    return cmd && (cmd->gui == Gui::Always ||
                   (cmd->gui == Gui::WithDemo && arguments.contains(QStringLiteral("--demo"))));
}

QString Usage() {
    QString text =
        QStringLiteral(
            "usage: attendance-admin COMMAND [ARGS] [--dir DIR]\n\n"
            "Sets up and scripts a program directory of the attendance system (the folder with\n"
            "attendance.ini). Commands other than init work on the program directory given\n"
            "by --dir, by default %1.\n\n"
            "commands:\n")
            .arg(defaultDirectory());
    for (const Command& cmd : commands())
        text += QStringLiteral("  ") + (cmd.name + u' ' + cmd.synopsis).trimmed() + u'\n';
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
    const Command* cmd = commandNamed(name);
    if (!cmd) {
        if (!name.isEmpty())
            err << "attendance-admin: unknown command: " << name << "\n\n";
        err << Usage();
        return Admin::WrongUsage;
    }
    QCommandLineParser parser;
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help")});
    // --dir is always known, so that init can say it takes none.
    parser.addOption({QStringLiteral("dir"), QString(), QStringLiteral("DIR")});
    for (const QString& name : cmd->options) {
        const Option& o = optionNamed(name);
        if (name != QLatin1String("dir"))
            parser.addOption({name, QString::fromUtf8(o.help),
                              o.valueName ? QLatin1String(o.valueName) : QString()});
    }
    if (!parser.parse(QStringList{arguments[0]} + arguments.mid(2)))
        return wrongUsage(err, *cmd, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << commandUsage(*cmd);
        return Admin::Success;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() < cmd->minArgs || (cmd->maxArgs >= 0 && args.size() > cmd->maxArgs))
        return wrongUsage(err, *cmd, QStringLiteral("wrong number of arguments"));
    Admin::Context context{parser, args, out, err};
    const int status = cmd->run(context);
    clsDbConn::CloseShared();
    out.flush();
    err.flush();
    return status;
}

} // namespace AdminCommands
