#include "StationGlobals.h"

#include "MsgBox.h"
#include "clsConfiguration.h"
#include "clsSchoolArea.h"
#include "frmSetSchoolName.h"

#include <QFileInfo>

frmMain* gfrmMain = nullptr;

namespace Station {

QString ProgramTitle() {
    return QStringLiteral("签到系统");
}

QString VersionText() {
    return QString::number(VersionMajor) + QLatin1Char('.') + QString::number(VersionMinor) +
           QString::number(VersionRevision);
}

QString HomePage() {
    return QStringLiteral("https://signdesk.example.org/");
}

bool CheckDatabaseFile() {
    const QFileInfo file(DatabaseFilePath());
    if (file.isFile() && !file.isHidden())
        return true;
    MsgBox::ShowMessage(nullptr,
                        QStringLiteral("数据库异常，程序不能正常运行！点击确定后将程序将退出！"),
                        QStringLiteral("错误"), MsgBox::Icon::Exclamation);
    return false;
}

void AskUnitNameIfMissing() {
    if (!clsSchoolArea().SNAME().trimmed().isEmpty())
        return;
    frmSetSchoolName dialog;
    dialog.exec();
}

} // namespace Station
