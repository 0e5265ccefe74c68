#pragma once

#include "shared/db/DbErrors.h"
#include "tools/admin/AdminCommand.h"

#include <QByteArray>

// The FILE argument (the first) of the exchange, working hours and calendar
// commands: written new or read whole, and the outcome told.
namespace CommandFiles {

// `done` on the output when `ok`; otherwise fails with `error`.
int Reported(Admin::Context& c, bool ok, const Error& error, const QString& done);
// Reported, telling "wrote FILE".
int Wrote(Admin::Context& c, bool ok, const Error& error, const QString& file);
// Writes `bytes` as the FILE argument, never over a file, and tells "wrote
// FILE (what)".
int WriteNew(Admin::Context& c, const QByteArray& bytes, const QString& what);
// The bytes of the FILE argument; false, said on the error stream, when it
// cannot be read.
bool ReadWhole(Admin::Context& c, QByteArray* bytes);

} // namespace CommandFiles
