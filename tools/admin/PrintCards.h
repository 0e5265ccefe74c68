#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

// attendance-admin print-cards OUT.pdf [ENUMBER...]: the sign-in cards of
// the given employees (all when none given) as a PDF file, without a window.
namespace PrintCards {

QString Synopsis();
QString Summary();

// `args` are OUT and the numbers; `openDirectory` points the records at the
// program directory (false: it has reported why). Returns the exit status.
int Run(const QStringList& args, const std::function<bool()>& openDirectory, QTextStream& out,
        QTextStream& err);

} // namespace PrintCards
