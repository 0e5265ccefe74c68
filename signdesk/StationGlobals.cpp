#include "StationGlobals.h"

#include "MsgBox.h"

#include "clsConfiguration.h"
#include "clsSchoolArea.h"
#include "frmSetSchoolName.h"
#include <exception>

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

bool RunExchange(QWidget* parent, Exchange kind, const std::function<bool()>& operation) {
    bool ok = false;
    try {
        ok = operation();
    } catch (const std::exception&) {
        ok = false;
    }
    const bool import = kind == Exchange::Import;
    if (ok)
        MsgBox::ShowMessage(
            parent, import ? QStringLiteral("数据导入完成！") : QStringLiteral("数据已成功导出！"),
            QStringLiteral("信息"), MsgBox::Icon::Information);
    else
        MsgBox::ShowMessage(
            parent, import ? QStringLiteral("导入数据失败！") : QStringLiteral("导出数据失败！"),
            QStringLiteral("错误"), MsgBox::Icon::Exclamation);
    return ok;
}

} // namespace Station
