#include "signdesk/frmLogin.h"
#include "ui_frmLogin.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/config/PasswordModule.h"

frmLogin::frmLogin(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmLogin>()) {
    ui->setupUi(this);
    // Title bar without a close box: the dialog ends through its two buttons.
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::NoCloseBox);
    // No input method on the password: keystrokes go straight into the field.
    DesktopKit::MakePasswordField(ui->txtPwd);
    ui->btnLogin->setDefault(true);

    connect(ui->btnLogin, &QPushButton::clicked, this, &frmLogin::btnLogin_Click);
    connect(ui->btnCancle, &QPushButton::clicked, this, &frmLogin::btnCancle_Click);
}

frmLogin::~frmLogin() = default;

void frmLogin::btnLogin_Click() {
    const QString pwd = ui->txtPwd->text().trimmed();
    if (pwd.isEmpty()) {
        MsgBox::ShowMessage(this, tr("请输入密码！"), tr("警告"), MsgBox::Icon::Exclamation);
        ui->txtPwd->setFocus();
        return;
    }
    // A wrong password closes without a message; the caller stays in normal mode.
    m_loginOK = CheckPassword(pwd);
    ui->txtPwd->clear();
    done(m_loginOK ? QDialog::Accepted : QDialog::Rejected);
}

void frmLogin::btnCancle_Click() {
    reject();
}

// Escape and the cancel button: no login. The field is emptied as well, so a
// password typed and abandoned is not waiting in the hidden dialog for the
// next person to press Enter.
void frmLogin::reject() {
    m_loginOK = false;
    ui->txtPwd->clear();
    QDialog::reject();
}
