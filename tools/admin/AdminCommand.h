#pragma once

#include <QCommandLineParser>
#include <QDate>
#include <QList>
#include <QStringList>
#include <QTextStream>

#include <utility>

// One command of attendance-admin (AdminCommand: what it declares, how it
// runs) and the helpers every command shares. Exit status: 0 success, 1
// failure, 2 wrong usage.
namespace Admin {

enum Status { Success = 0, Failure = 1, WrongUsage = 2 };

// Whether a command draws (fonts, pictures) and so needs a GUI platform.
enum class Gui { Never, Always, WithDemo };

// What a command's run function gets: the parsed command line, the
// positional arguments after the command's name, and the two streams.
struct Context {
    const QCommandLineParser& parser;
    QStringList args;
    QTextStream& out;
    QTextStream& err;

    bool isSet(const char* option) const { return parser.isSet(QLatin1String(option)); }
    QString value(const char* option) const { return parser.value(QLatin1String(option)); }
};

// An option a command takes, besides --help.
struct Option {
    QString name;
    QString valueName; // empty: a switch
    QString help;      // its later lines are indented under the first in the usage
};

// What a command declares of itself; its usage text and its command line
// parser are built from it. Every member has a default, so a declaration
// names only what differs.
struct CommandSpec {
    QString name = {};
    QString synopsis = {}; // after the name: the arguments and options
    QString summary = {};  // the paragraphs of the usage
    int minArgs = 0;
    int maxArgs = 0; // -1: any number
    QList<Option> options = {};
    Gui gui = Gui::Never;
    // The usage ends saying that an existing FILE makes the command fail.
    bool refusesExistingFile = false;
};

// What Fail returns: the exit status Failure where a command's status is
// asked for, false where a step's success is.
struct Failed {
    operator int() const { return Failure; }
    operator bool() const { return false; }
};

// The one way a command fails: "attendance-admin: MESSAGE" on standard
// error.
Failed Fail(QTextStream& err, const QString& message);
// As Fail, for an argument the command cannot take: WrongUsage.
int Misused(QTextStream& err, const QString& message);

// The absolute, clean form of a path given on the command line.
QString Absolute(const QString& path);

// Points the shared classes at the program directory of --dir (default: the
// executable's own); false, said on `err`, when it does not exist.
bool UseDirOption(Context& c);

// Why the program directory's database file cannot be used: the
// configuration cannot be read or names no folder, or the file is absent;
// empty when none of these.
QString DatabaseFileProblem();

// UseDirOption, then checks that the configuration names a database and
// opens it, so a missing, locked, read-only or empty database, or an
// unreachable server, is named before the command starts.
bool OpenProgramDirectory(Context& c);

// The years every command takes: those of the calendar and its files.
constexpr int kFirstYear = 1900, kLastYear = 2100;

// The argument checks return an exit status: Success, else said on `err`.
// YEAR (1900-2100) and MONTH (1-12) from two arguments; WrongUsage when not.
int ParseMonth(Context& c, int first, int* year, int* month);
// A date YYYY-MM-DD of 1900-2100; WrongUsage when not.
int ParseDate(Context& c, const QString& text, QDate* out);
// YEAR MONTH OUT of a report command as ParseMonth; then OUT must end in one
// of `suffixes` (lower case, without the dot) and must not exist yet
// (Failure when it does not or does).
int ParseMonthReport(Context& c, const QStringList& suffixes, int* year, int* month, QString* out);

} // namespace Admin

// One command: its declaration, given to the constructor, and its run. The
// commands hold no state; CommandRegistry lists them.
class AdminCommand {
public:
    explicit AdminCommand(Admin::CommandSpec spec) : m_spec(std::move(spec)) {}
    virtual ~AdminCommand() = default;
    AdminCommand(const AdminCommand&) = delete;
    AdminCommand& operator=(const AdminCommand&) = delete;

    const Admin::CommandSpec& Spec() const { return m_spec; }
    // The text of `attendance-admin NAME --help`.
    QString Usage() const;
    // Whether the whole command line (`arguments`, as AdminCommands::Run
    // takes them) needs the GUI library.
    bool NeedsGui(const QStringList& arguments) const;
    // Runs the command on the checked command line; returns the exit status.
    virtual int Run(Admin::Context& c) const = 0;

private:
    Admin::CommandSpec m_spec;
};
