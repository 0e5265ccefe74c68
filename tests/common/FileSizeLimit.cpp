#include "tests/common/FileSizeLimit.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace FileSizeLimit {

namespace {

// In the child, before the work or the program starts (an ignored signal
// stays ignored across exec).
void limit(qint64 bytes, Outcome outcome) {
    const rlimit none{0, 0};
    const rlimit size{rlim_t(bytes), rlim_t(bytes)};
    ::setrlimit(RLIMIT_CORE, &none);
    ::setrlimit(RLIMIT_FSIZE, &size);
    ::signal(SIGXFSZ, outcome == Outcome::FullDisk ? SIG_IGN : SIG_DFL);
}

} // namespace

bool Fork(qint64 bytes, Outcome outcome, const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        limit(bytes, outcome);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return false;
    return outcome == Outcome::Killed ? WIFSIGNALED(status)
                                      : WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

ToolRun Run(const QString& program, const QStringList& args, qint64 bytes, Outcome outcome) {
    return RunTool(program, args, 300000, [bytes, outcome] { limit(bytes, outcome); });
}

} // namespace FileSizeLimit
