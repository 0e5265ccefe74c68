#include "manage/frmDeptAppend.h"
#include "ui_frmDeptAppend.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/records/clsDept.h"

frmDeptAppend::frmDeptAppend(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmDeptAppend>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::FixedWithCloseBox);
    connect(ui->btnOK, &QPushButton::clicked, this, &frmDeptAppend::btnOK_Click);
    connect(ui->btnCancel, &QPushButton::clicked, this, &frmDeptAppend::btnCancel_Click);
}

frmDeptAppend::~frmDeptAppend() = default;

void frmDeptAppend::btnOK_Click() {
    const QString name = ui->txtDeptName->text().trimmed();
    if (name.isEmpty()) {
        MsgBox::ShowMessage(this, tr("请输入部门名称！"), tr("警告"), MsgBox::Icon::Exclamation);
        return;
    }
    clsDept dept(MainSession::Get());
    dept.setDNAME(name); // looks the name up: an existing department gives its key
    if (dept.ID() >= 1) {
        MsgBox::ShowMessage(this, tr("部门名称已经存在，请重新输入！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    if (!dept.AppendToDb()) {
        MsgBox::ShowMessage(this, tr("追加部门失败！"), tr("错误"), MsgBox::Icon::Exclamation);
        return;
    }
    m_appended = true;
    accept();
}

void frmDeptAppend::btnCancel_Click() {
    m_appended = false;
    reject();
}
