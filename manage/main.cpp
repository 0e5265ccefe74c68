#include "manage/mdMain.h"
#include "platform/DeferredIconStyle.h"
#include "report/ReportPainter.h"
#include "shared/base/AppClock.h"
#include "shared/base/AtomicFile.h"

#include <QApplication>

// The office program: database check, then the main window with the
// employee list.
int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QApplication app(argc, argv);
    DeferredIconStyle::Install();
    // PDF files appear under their name only when complete.
    ReportPainter::SetFileWriter(AtomicFile::WriteWhole);
    return mdMain::Main(app);
}
