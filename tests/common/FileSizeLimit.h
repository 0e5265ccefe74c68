#pragma once

#include "tests/common/TestProgramDir.h"

#include <functional>

// Writers cut off part-way, as a kill or a full disk does: the process may
// not make a file grow past `bytes`. Past it a write kills the process
// (SIGXFSZ, as abruptly as kill -9) or, with Outcome::FullDisk, fails as on
// a full disk.
namespace FileSizeLimit {

enum class Outcome { Killed, FullDisk };

// Runs `work` in a forked child under the limit; true when the child ended
// as `outcome` says (killed by the signal, or exited reporting failure).
bool Fork(qint64 bytes, Outcome outcome, const std::function<bool()>& work);

// Runs a program under the limit; code -1 when it was killed.
ToolRun Run(const QString& program, const QStringList& args, qint64 bytes, Outcome outcome);

} // namespace FileSizeLimit
