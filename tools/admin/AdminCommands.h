#pragma once

#include <QStringList>
#include <QTextStream>

// The command line of attendance-admin: the command its first argument names
// (CommandRegistry), its options parsed as the command declares them. Run
// takes the whole argument list (program name first), writes results to
// `out` and errors to `err`, and returns the process exit status: 0 success,
// 1 failure, 2 wrong usage.
namespace AdminCommands {

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);

// Whether the command line needs the GUI library (init --demo draws photos).
bool NeedsGui(const QStringList& arguments);

// The overall usage text (--help), listing every command.
QString Usage();

} // namespace AdminCommands
