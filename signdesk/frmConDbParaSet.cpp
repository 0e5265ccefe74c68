#include "signdesk/frmConDbParaSet.h"
#include "ui_frmConDbParaSet.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConDbSet.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"

namespace {
// Whether every "host[:port]" of a comma-separated list is complete.
bool serverListValid(const QString& text) {
    DbSettings settings;
    settings.server = text;
    settings.user = settings.database = QStringLiteral("-");
    return settings.ServerComplete();
}
} // namespace

frmConDbParaSet::frmConDbParaSet(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmConDbParaSet>()) {
    ui->setupUi(this);
    // Title bar without a close box: the dialog ends through its buttons.
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::NoCloseBox);
    DesktopKit::MakePasswordField(ui->txtPwd);

    const clsConDbSet set;
    ui->txtServer->setText(set.Server());
    ui->txtLoginName->setText(set.LoginName());
    ui->txtPwd->setText(set.LoginPwd());
    ui->txtDbName->setText(set.dbName());

    connect(ui->cmdTest, &QPushButton::clicked, this, &frmConDbParaSet::cmdTest_Click);
    connect(ui->cmbSet, &QPushButton::clicked, this, &frmConDbParaSet::cmbSet_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmConDbParaSet::reject);
}

frmConDbParaSet::~frmConDbParaSet() = default;

bool frmConDbParaSet::CheckInput() {
    const char* missing = nullptr;
    if (ui->txtServer->text().trimmed().isEmpty())
        missing = QT_TR_NOOP("请输入数据库服务器名称或IP！");
    else if (ui->txtLoginName->text().trimmed().isEmpty())
        missing = QT_TR_NOOP("请输入数据库登陆名！");
    else if (ui->txtPwd->text().isEmpty()) // the password counts as typed, blanks too
        missing = QT_TR_NOOP("请输入数据库登陆密码！");
    else if (ui->txtDbName->text().trimmed().isEmpty())
        missing = QT_TR_NOOP("请输入数据库名称！");
    else if (!serverListValid(ui->txtServer->text().trimmed()))
        missing = QT_TR_NOOP(
            "数据库服务器的写法不正确：每台写作“主机”或“主机:端口”，多台之间用逗号分隔！");
    if (!missing)
        return true;
    MsgBox::ShowMessage(this, tr(missing), tr("提示"), MsgBox::Icon::Exclamation);
    return false;
}

void frmConDbParaSet::cmbSet_Click() {
    if (!CheckInput())
        return;
    clsConDbSet set;
    set.setServer(ui->txtServer->text().trimmed());
    set.setLoginName(ui->txtLoginName->text().trimmed());
    set.setLoginPwd(ui->txtPwd->text());
    set.setdbName(ui->txtDbName->text().trimmed());
    if (!set.Save()) {
        MsgBox::ShowMessage(this, tr("保存数据库连接信息失败！"), tr("错误"),
                            MsgBox::Icon::Critical);
        return;
    }
    MsgBox::ShowMessage(this, tr("数据库连接参数已被成功保存！"), tr("信息"),
                        MsgBox::Icon::Information);
    accept();
}

void frmConDbParaSet::cmdTest_Click() {
    // With a database server configured, the test is of the server as the
    // fields name it, so settings can be tried before they are saved.
    DbSettings settings = DbSettings::FromConfiguration();
    bool ok = false;
    if (settings.engine == DbSettings::Engine::PostgreSQL) {
        settings.server = ui->txtServer->text().trimmed();
        settings.user = ui->txtLoginName->text().trimmed();
        settings.password = ui->txtPwd->text();
        settings.database = ui->txtDbName->text().trimmed();
        ok = clsDbConn::TestSettings(settings);
    } else {
        // "vorerur.mdb" of the program directory, never created by the test.
        ok = clsDbConn::TestFile(JoinPath(ProgramDirectory(), QStringLiteral("vorerur.mdb")));
    }
    MsgBox::ShowMessage(this, ok ? tr("数据库连接成功！") : tr("数据库连接失败！"), tr("信息"),
                        MsgBox::Icon::Information);
}
