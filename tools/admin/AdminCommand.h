#pragma once

#include <QCommandLineParser>
#include <QDate>
#include <QStringList>
#include <QTextStream>

// One command of attendance-admin as the command table declares it, and the
// helpers every command shares. Exit status: 0 success, 1 failure, 2 wrong
// usage.
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

struct Command {
    QString name;
    QString synopsis;
    QString summary;
    int minArgs;
    int maxArgs;         // -1: any number
    QStringList options; // names of the option table, besides --help
    Gui gui;
    int (*run)(Context&);
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
