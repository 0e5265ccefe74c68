#include "manage/mdMain.h"

#include "manage/frmMain.h"
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/DesktopServices.h"
#include "shared/db/clsDbConn.h"

#include <QApplication>

namespace mdMain {

QString ProgramTitle() {
    return QCoreApplication::translate("mdMain", "签到系统管理软件");
}

QString HomePage() {
    return QStringLiteral(ATTENDANCE_HOME_PAGE);
}

QString HelpFile() {
    // Both programs share the program directory, each with its own page.
    return DesktopKit::HelpPage(QStringLiteral("HELP-manage"));
}

bool CheckDatabase() {
    return DesktopKit::CheckDatabase();
}

void OpenDocument(const QString& path) {
    DesktopServices::OpenDocument(path);
}

int Main(QApplication& app) {
    // The language first: the title is in it.
    ChineseUi::Setup(app);
    DesktopKit::SetProgramTitle(ProgramTitle());
    if (!CheckDatabase())
        return 1;
    int status = 0;
    {
        frmMain mainWindow;
        mainWindow.show();
        status = QApplication::exec();
    }
    clsDbConn::CloseShared();
    return status;
}

} // namespace mdMain
