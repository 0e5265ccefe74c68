#include "DesktopKit.h"

#include "MsgBox.h"
#include "clsConfiguration.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <exception>

namespace DesktopKit {

void SetProgramTitle(const QString& title) {
    QCoreApplication::setApplicationName(title);
}

QString ProgramTitle() {
    return QCoreApplication::applicationName();
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

void SetTitleBar(QWidget* dialog, TitleBar bar) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (bar == TitleBar::FixedWithCloseBox)
        flags |= Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint;
    if (bar != TitleBar::NoCloseBox)
        flags |= Qt::WindowCloseButtonHint;
    dialog->setWindowFlags(flags);
}

void MakePasswordField(QLineEdit* field) {
    field->setEchoMode(QLineEdit::Password);
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
}

} // namespace DesktopKit
