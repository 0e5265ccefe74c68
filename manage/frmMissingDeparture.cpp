#include "manage/frmMissingDeparture.h"
#include "ui_frmMissingDeparture.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/attendance/AttendanceLists.h"
#include "shared/base/AppClock.h"

#include <QHeaderView>

frmMissingDeparture::frmMissingDeparture(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmMissingDeparture>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    ui->lsvList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // On the first of a month "yesterday" lies before the first: the range
    // starts then on the first of the month before.
    const QDate yesterday = AppClock::now().date().addDays(-1);
    ui->dtpFrom->setDate(QDate(yesterday.year(), yesterday.month(), 1));
    ui->dtpTo->setDate(yesterday);
    connect(ui->cmdQuery, &QPushButton::clicked, this, &frmMissingDeparture::cmdQuery_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    cmdQuery_Click();
}

frmMissingDeparture::~frmMissingDeparture() = default;

void frmMissingDeparture::cmdQuery_Click() {
    ui->lsvList->clear();
    ui->lblCount->clear();
    const QDate from = ui->dtpFrom->date();
    const QDate to = ui->dtpTo->date();
    if (to < from) {
        MsgBox::ShowMessage(this, tr("结束日期不能早于开始日期！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    std::vector<ListedEmployee> found;
    Error error;
    if (!AttendanceLists::MissingDepartures(MainSession::Get(), from, to, &found, &error)) {
        MsgBox::ShowMessage(this, tr("取得考勤信息出错！\n%1").arg(error.Text()), tr("错误"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    QList<QTreeWidgetItem*> rows;
    for (const ListedEmployee& e : found)
        rows << new QTreeWidgetItem( // owned by the list once added
            {e.number, e.name, e.dept, e.arrival.toString(QStringLiteral("yyyy-MM-dd HH:mm"))});
    ui->lsvList->addTopLevelItems(rows);
    ui->lblCount->setText(tr("共%1条未签退记录").arg(found.size()));
}
