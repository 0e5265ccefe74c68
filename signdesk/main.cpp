#include "platform/ChineseUi.h"
#include "platform/DeferredIconStyle.h"
#include "platform/DesktopKit.h"
#include "platform/FontConfigLoad.h"
#include "report/ReportPainter.h"
#include "shared/base/AppClock.h"
#include "shared/base/AtomicFile.h"
#include "shared/db/clsDbConn.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

// Start-up: the database file check, the unit name, then the main window,
// which opens the sign-in screen once the event loop runs. The exit status
// is 0 when the administrator closes the station, so a service manager
// restarts it only after a crash or a failed start.
int main(int argc, char* argv[]) {
    // "--version" prints and ends, before any window, display or database.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("signdesk %d.%d.%d\n", Station::VersionMajor, Station::VersionMinor,
                        Station::VersionRevision);
            return 0;
        }
    }
    AppClock::UseSystemTimeZoneOnce();
    FontConfigLoad fontConfig;
    QApplication app(argc, argv);
    DeferredIconStyle::Install();
    // PDF files appear under their name only when complete.
    ReportPainter::SetFileWriter(AtomicFile::WriteWhole);
    DesktopKit::SetProgramTitle(Station::ProgramTitle());
    ChineseUi::Setup(app);

    if (!DesktopKit::CheckDatabase(Station::CanStartFromCopy))
        return 1;
    Station::AskUnitNameIfMissing();

    int status = 0;
    {
        fontConfig.Wait();
        frmMain mainWindow;
        gfrmMain = &mainWindow;
        mainWindow.show();
        status = QApplication::exec();
        gfrmMain = nullptr;
    }
    clsDbConn::CloseShared();
    return status;
}
