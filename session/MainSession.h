#pragma once

#include "shared/db/DbErrors.h"
#include "shared/db/DbSession.h"

// The session a program's windows, commands and pages give the record
// classes: one for each thread that reads or writes records (the main
// thread's; a worker's of its own), on the database of the configuration
// file. The record classes of shared/ take a session and never reach for
// this. It is the thread's shared connection (clsDbConn's, opened, reopened
// and closed as there), so what still runs on that connection (the file
// station's lock probe and busy timeout) sees the same transactions.
namespace MainSession {

// The calling thread's session, its connection opened when needed (not open,
// why in *why, when the database cannot be opened or a server that did not
// answer a moment ago is not asked again yet).
DbSession& Get(Error* why = nullptr);
// Closes the calling thread's session (program end, a worker's end, tests).
void Close();

} // namespace MainSession
