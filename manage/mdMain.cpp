#include "mdMain.h"

#include "ChineseUi.h"
#include "DesktopKit.h"
#include "DesktopServices.h"
#include "ProgramDirectory.h"
#include "clsDbConn.h"
#include "frmMain.h"

#include <QApplication>

namespace mdMain {

QString ProgramTitle() {
    return QStringLiteral("签到系统管理软件");
}

QString HomePage() {
    return QStringLiteral("https://signdesk.example.org/");
}

QString HelpFile() {
    // Both programs share the program directory, each with its own page.
    return JoinPath(ProgramDirectory(), QStringLiteral("HELP-manage.html"));
}

bool CheckDatabase() {
    return DesktopKit::CheckDatabase();
}

void OpenDocument(const QString& path) {
    DesktopServices::OpenDocument(path);
}

int Main(QApplication& app) {
    DesktopKit::SetProgramTitle(ProgramTitle());
    ChineseUi::Setup(app);
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
