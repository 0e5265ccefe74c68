#include "manage/frmDeptEdit.h"
#include "ui_frmDeptEdit.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"

frmDeptEdit::frmDeptEdit(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmDeptEdit>()), m_dept(MainSession::Get()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::FixedWithCloseBox);
    connect(ui->btnOK, &QPushButton::clicked, this, &frmDeptEdit::btnOK_Click);
    connect(ui->btnCanCel, &QPushButton::clicked, this, &QDialog::reject);
}

frmDeptEdit::~frmDeptEdit() = default;

void frmDeptEdit::setDeptID(const QString& id) {
    m_deptID = id;
    m_dept.setID(static_cast<qint16>(id.trimmed().toShort()));
    ui->txtOldName->setText(m_dept.DNAME());
    m_changed = false;
}

bool frmDeptEdit::CheckInput() {
    const QString newName = ui->txtNewName->text().trimmed();
    if (newName.isEmpty()) {
        MsgBox::ShowMessage(this, tr("请输入新的部门名称！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return false;
    }
    if (ui->txtOldName->text().trimmed() == newName) {
        MsgBox::ShowMessage(this, tr("新的部门名称不能与原名称相同！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return false;
    }
    return true;
}

bool frmDeptEdit::SaveName() {
    // Setting the name looks it up: a name another department bears gives
    // that department's key, and the update lands on it unchanged.
    m_dept.setDNAME(ui->txtNewName->text().trimmed());
    if (!m_dept.UpdateToDb()) {
        MsgBox::ShowMessage(this, tr("更新失败！"), tr("错误"), MsgBox::Icon::Exclamation);
        return false;
    }
    m_changed = true;
    return true;
}

void frmDeptEdit::btnOK_Click() {
    if (CheckInput())
        SaveName();
    // The dialog closes after a warning too; the user opens it again to retry.
    accept();
}
