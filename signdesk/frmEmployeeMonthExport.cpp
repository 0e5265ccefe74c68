#include "signdesk/frmEmployeeMonthExport.h"
#include "ui_frmEmployeeMonthExport.h"

#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/MonthChoice.h"
#include "signdesk/frmEmployeeMonthReport.h"

frmEmployeeMonthExport::frmEmployeeMonthExport(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmEmployeeMonthExport>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    frmEmployeeMonthReport::FillMonthChoice(ui->cobYear, ui->cobMonth);

    connect(ui->cmdReportExport, &QPushButton::clicked, this,
            &frmEmployeeMonthExport::cmdReportExport_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
}

frmEmployeeMonthExport::~frmEmployeeMonthExport() = default;

void frmEmployeeMonthExport::cmdReportExport_Click() {
    const QString chosen =
        FileDialog::SaveFile(this, tr("设定导出文件"), tr("XML文件 (*.XML *.xml)"));
    if (chosen.isNull())
        return; // cancelled
    const QString fileName = chosen.trimmed();
    if (fileName.isEmpty()) {
        MsgBox::ShowMessage(this, tr("没有指导出文件名!"), tr("错误"), MsgBox::Icon::Exclamation);
        return;
    }
    const MonthChoice::YearMonth month =
        frmEmployeeMonthReport::SelectedMonth(ui->cobYear, ui->cobMonth);
    Export(MonthChoice::FirstDate(month.year, month.month),
           MonthChoice::LastDate(month.year, month.month), fileName);
    // The window stays open for further months.
}

bool frmEmployeeMonthExport::Export(const QDate& first, const QDate& last,
                                    const QString& fileName) {
    // An existing file is refused and left as it is, never overwritten.
    return DesktopKit::RunExchange(this, MainSession::Get(), DesktopKit::Exchange::Export, [&] {
        return first.isValid() && last.isValid() &&
               ExchangeFiles::ExportPresence(MainSession::Get(), fileName, first, last,
                                             ExchangeFiles::Existing::Refuse);
    });
}
