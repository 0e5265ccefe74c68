#include "signdesk/frmEmployeeMonthReport.h"
#include "ui_frmEmployeeMonthReport.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "platform/PreviewWiring.h"
#include "report/ReportDocument.h"
#include "report/ReportPreview.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/records/clsEmployeePresenceSet.h"

#include <QComboBox>

frmEmployeeMonthReport::frmEmployeeMonthReport(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmEmployeeMonthReport>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    FillMonthChoice(ui->cobYear, ui->cobMonth);

    connect(ui->cmdPreReport, &QPushButton::clicked, this,
            &frmEmployeeMonthReport::cmdPreReport_Click);
    connect(ui->cmdPrintReport, &QPushButton::clicked, this,
            &frmEmployeeMonthReport::cmdPrintReport_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
}

frmEmployeeMonthReport::~frmEmployeeMonthReport() = default;

void frmEmployeeMonthReport::FillMonthChoice(QComboBox* year, QComboBox* month) {
    year->clear();
    month->clear();
    year->addItems(MonthChoice::YearList(AppClock::now().date().year()));
    month->addItems(MonthChoice::MonthList());
    const MonthChoice::YearMonth last = MonthChoice::PreviousMonth(AppClock::now().date());
    // A year outside the list (a clock before 2007) keeps the first entry.
    const int y = year->findText(QString::number(last.year), Qt::MatchExactly);
    if (y >= 0)
        year->setCurrentIndex(y);
    const int m = month->findText(QString::number(last.month), Qt::MatchExactly);
    if (m >= 0)
        month->setCurrentIndex(m);
}

MonthChoice::YearMonth frmEmployeeMonthReport::SelectedMonth(const QComboBox* year,
                                                             const QComboBox* month) {
    const MonthChoice::YearMonth m = MonthChoice::Parse(year->currentText(), month->currentText());
    return m.IsValid() ? m : MonthChoice::YearMonth{};
}

void frmEmployeeMonthReport::ConnectPreview(ReportPreview& preview, const ReportPrinter& printer) {
    preview.Printer() = printer;
    WirePreview(preview);
}

void frmEmployeeMonthReport::cmdPreReport_Click() {
    ShowReport(true);
}

void frmEmployeeMonthReport::cmdPrintReport_Click() {
    ShowReport(false);
}

void frmEmployeeMonthReport::ShowReport(bool preview) {
    const MonthChoice::YearMonth chosen = SelectedMonth(ui->cobYear, ui->cobMonth);
    m_report.setSchoolName(clsSchoolArea().SNAME());
    m_report.setYear(chosen.year);
    m_report.setMonth(chosen.month);

    clsEmployeePresenceSet table;
    if (!EmployeeMonthReport::LoadMonthTable(MainSession::Get(), chosen.year, chosen.month,
                                             table)) {
        MsgBox::ShowMessage(this, tr("取得考勤信息出错！"), QString(), MsgBox::Icon::Exclamation);
        return;
    }
    // The finished pages keep their own texts: the table is needed only for the run.
    m_report.setMonthTable(&table);
    ReportDocument doc = ReportDocument::Run(m_report);
    m_report.setMonthTable(nullptr);

    if (preview) {
        ReportPreview window(std::move(doc), this);
        ConnectPreview(window, m_printer);
        window.exec();
        return;
    }
    if (m_printer.Print(doc, true, this) == ReportPrinter::Result::Failed)
        MsgBox::ShowMessage(this, tr("打印失败！"), tr("错误"), MsgBox::Icon::Exclamation);
}
