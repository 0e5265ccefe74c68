#pragma once

#include "shared/records/clsCorrection.h"
#include "tools/admin/AdminCommand.h"

// The end of correct, close-month and reopen-month: what was done on the
// output, or the refusal's reason, naming the month where it is closed.
namespace CorrectionOutcome {

// `done` when `result` is Done (Success); else Failure, said on the error
// stream: `why` for Failed, the reason of any other refusal of `day`.
int Tell(Admin::Context& c, clsCorrection::Result result, const Error& why, const QDate& day,
         const QString& done);

} // namespace CorrectionOutcome
