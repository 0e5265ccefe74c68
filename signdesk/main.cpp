#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "report/ReportPainter.h"
#include "shared/base/AppClock.h"
#include "shared/base/AtomicFile.h"
#include "shared/db/clsDbConn.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmMain.h"

#include <QApplication>

// Start-up: the database file check, the unit name, then the main window,
// which opens the sign-in screen once the event loop runs.
int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QApplication app(argc, argv);
    // PDF files appear under their name only when complete.
    ReportPainter::SetFileWriter(AtomicFile::WriteWhole);
    DesktopKit::SetProgramTitle(Station::ProgramTitle());
    ChineseUi::Setup(app);

    if (!DesktopKit::CheckDatabase())
        return 1;
    Station::AskUnitNameIfMissing();

    int status = 0;
    {
        frmMain mainWindow;
        gfrmMain = &mainWindow;
        mainWindow.show();
        status = QApplication::exec();
        gfrmMain = nullptr;
    }
    clsDbConn::CloseShared();
    return status;
}
