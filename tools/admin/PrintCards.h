#pragma once

#include "tools/admin/AdminCommand.h"

// attendance-admin print-cards OUT.pdf [ENUMBER...]: the sign-in cards of
// the given employees (all when none given) as a PDF file, without a window.
namespace PrintCards {

QString Synopsis();
QString Summary();

// The arguments are OUT and the numbers. Returns the exit status.
int Run(Admin::Context& c);

} // namespace PrintCards
