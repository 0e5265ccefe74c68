#include "signdesk/frmChgPwd.h"
#include "ui_frmChgPwd.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/config/PasswordModule.h"

#include <QKeyEvent>
#include <QLineEdit>

frmChgPwd::frmChgPwd(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmChgPwd>()) {
    ui->setupUi(this);
    // Title bar without a close box: the dialog ends through its two buttons.
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::NoCloseBox);
    for (QLineEdit* field : {ui->txtOldPwd, ui->txtNewPWD1, ui->txtNewPWD2})
        DesktopKit::MakePasswordField(field);
    // Enter in the first two fields moves on to the next one: only the last
    // field confirms, so a single Enter after the old password stores nothing.
    ui->txtOldPwd->installEventFilter(this);
    ui->txtNewPWD1->installEventFilter(this);

    connect(ui->btnOK, &QPushButton::clicked, this, &frmChgPwd::btnOK_Click);
    connect(ui->btnCancel, &QPushButton::clicked, this, &frmChgPwd::reject);
}

frmChgPwd::~frmChgPwd() = default;

bool frmChgPwd::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            (watched == ui->txtOldPwd ? ui->txtNewPWD1 : ui->txtNewPWD2)
                ->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmChgPwd::btnOK_Click() {
    if (!CheckPassword(ui->txtOldPwd->text().trimmed())) {
        MsgBox::ShowMessage(this, tr("原密码错误！"), tr("警告"), MsgBox::Icon::Exclamation);
        return;
    }
    const QString newPwd = ui->txtNewPWD1->text().trimmed();
    // An empty password can never log in (the login refuses an empty entry):
    // storing it would lock every administrator out.
    if (newPwd.isEmpty()) {
        MsgBox::ShowMessage(this, tr("请输入新密码！"), tr("提示"), MsgBox::Icon::Exclamation);
        ui->txtNewPWD1->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (newPwd != ui->txtNewPWD2->text().trimmed()) {
        MsgBox::ShowMessage(this, tr("输入的两次新密码不一致！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    // Only a completed write is reported as done; otherwise the old password
    // stays in force and the dialog stays open for another try or cancel.
    if (!SavePassword(newPwd)) {
        MsgBox::ShowMessage(this, tr("保存新密码失败，原密码仍然有效！"), tr("错误"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    MsgBox::ShowMessage(this, tr("新密码已成功设定！"), tr("消息"), MsgBox::Icon::Information);
    accept();
}
