#pragma once

#include <QStringList>
#include <QTextStream>

// The commands of attendance-admin. Run takes the whole argument list
// (program name first), writes results to `out` and errors to `err`, and
// returns the process exit status: 0 success, 1 failure, 2 wrong usage.
namespace AdminCommands {

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);

// Whether the command line needs the GUI library (init --demo draws photos).
bool NeedsGui(const QStringList& arguments);

// The overall usage text (--help).
QString Usage();

} // namespace AdminCommands
