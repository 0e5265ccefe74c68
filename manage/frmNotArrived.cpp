#include "manage/frmNotArrived.h"
#include "ui_frmNotArrived.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/attendance/AttendanceLists.h"
#include "shared/base/AppClock.h"

#include <QHeaderView>

frmNotArrived::frmNotArrived(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmNotArrived>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    ui->lsvList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(ui->cmdRefresh, &QPushButton::clicked, this, &frmNotArrived::cmdRefresh_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    cmdRefresh_Click();
}

frmNotArrived::~frmNotArrived() = default;

void frmNotArrived::cmdRefresh_Click() {
    ui->lsvList->clear();
    const QDateTime now = AppClock::now();
    std::vector<ListedEmployee> missing;
    Error error;
    if (!AttendanceLists::NotArrivedToday(MainSession::Get(), now, &missing, &error)) {
        ui->lblCount->setText(QString());
        MsgBox::ShowMessage(this, tr("取得考勤信息出错！\n%1").arg(error.Text()), tr("错误"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    // The list comes by department; a department's first row names it, the
    // rows below it leave the cell empty so the groups stand out.
    QList<QTreeWidgetItem*> rows;
    QString lastDept;
    for (const ListedEmployee& e : missing) {
        const bool first = rows.isEmpty() || e.dept != lastDept;
        rows << new QTreeWidgetItem( // owned by the list once added
            {first ? e.dept : QString(), e.number, e.name});
        lastDept = e.dept;
    }
    ui->lsvList->addTopLevelItems(rows);
    ui->lblCount->setText(tr("%1 截至%2，未到%3人")
                              .arg(now.date().toString(QStringLiteral("yyyy-MM-dd")),
                                   now.time().toString(QStringLiteral("HH:mm")))
                              .arg(missing.size()));
    setWindowTitle(tr("今日未到（%1人）").arg(missing.size()));
}
