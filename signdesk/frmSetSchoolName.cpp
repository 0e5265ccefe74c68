#include "signdesk/frmSetSchoolName.h"
#include "ui_frmSetSchoolName.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/config/clsSchoolArea.h"

frmSetSchoolName::frmSetSchoolName(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmSetSchoolName>()) {
    ui->setupUi(this);
    // Close box, but neither maximise nor minimise.
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    ui->txtUnitName->setText(clsSchoolArea().SNAME());

    connect(ui->cmdSave, &QPushButton::clicked, this, &frmSetSchoolName::cmdSave_Click);
}

frmSetSchoolName::~frmSetSchoolName() = default;

void frmSetSchoolName::cmdSave_Click() {
    const QString name = ui->txtUnitName->text().trimmed();
    if (name.isEmpty()) {
        MsgBox::ShowMessage(this, tr("请输入使用单位名称！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    clsSchoolArea unit;
    unit.setSNAME(name);
    if (!unit.SaveInfo()) {
        MsgBox::ShowMessage(this, tr("设定使用单位名称失败！"), QString(),
                            MsgBox::Icon::Exclamation);
        return;
    }
    accept();
}
