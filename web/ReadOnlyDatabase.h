#pragma once

#include "shared/db/DbErrors.h"

// The web pages read the records through the calling thread's shared
// connection (clsDbConn::ConnectionName), which this opens read-only before
// the record classes would open it for writing: on a file with SQLite's
// read-only mode, on a server as a session whose transactions are
// read-only (a login with SELECT rights alone is enough there). Nothing the
// pages do can change the database.
namespace ReadOnlyDatabase {

// Opens the thread's shared connection read-only on the database of the
// program directory's configuration, unless it is open already and not
// lost; false, why in *why, when it cannot.
bool Ensure(Error* why = nullptr);

// Whether the thread's shared connection is the read-only one Ensure opened.
bool IsReadOnly();

} // namespace ReadOnlyDatabase
