#include "manage/frmAttendanceSummary.h"
#include "ui_frmAttendanceSummary.h"

#include "manage/SummaryCharts.h"
#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "platform/PreviewWiring.h"
#include "platform/WriteFailure.h"
#include "report/ReportDocument.h"
#include "report/ReportPainter.h"
#include "report/ReportPreview.h"
#include "reports/summary/SummaryReport.h"
#include "reports/summary/SummaryXlsx.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/records/MonthChoice.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

namespace {

// The count columns of both tables, after the columns naming the row.
constexpr const char* kCountCaptions[] = {QT_TRANSLATE_NOOP("frmAttendanceSummary", "应出勤天数"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "出勤天数"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "迟到次数"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "迟到分钟"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "早退次数"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "早退分钟"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "未签退"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "缺勤天数"),
                                          QT_TRANSLATE_NOOP("frmAttendanceSummary", "工作时长")};

// A cell: its text, and the key it sorts by (a number for the counts).
QStandardItem* cell(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text); // owned by the model once added
    item->setData(sortKey, Qt::UserRole);
    if (sortKey.typeId() == QMetaType::Int)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QStandardItem* textCell(const QString& text) {
    return cell(text, text);
}

QList<QStandardItem*> countCells(const SummaryCounts& c) {
    QList<QStandardItem*> cells;
    for (int n : {c.workingDays, c.present, c.lateCount, c.lateMinutes, c.earlyCount,
                  c.earlyMinutes, c.missingDepartures, c.absent})
        cells << cell(QString::number(n), n);
    cells << cell(SummaryReport::HoursText(c.workedMinutes), c.workedMinutes);
    return cells;
}

void setCaptions(QStandardItemModel* model, const QStringList& leading,
                 const QStringList& trailing = {}) {
    QStringList captions = leading;
    for (const char* c : kCountCaptions)
        captions << frmAttendanceSummary::tr(c);
    captions << trailing;
    model->setHorizontalHeaderLabels(captions);
}

// The chart view on a tab, made on first use and named for the tests.
QChartView* chartView(QWidget* tab, const QString& name) {
    if (auto* view = tab->findChild<QChartView*>(name))
        return view;
    auto* view = new QChartView(tab); // owned by the tab
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    tab->layout()->addWidget(view);
    return view;
}

} // namespace

frmAttendanceSummary::frmAttendanceSummary(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAttendanceSummary>()),
      m_employees(new QStandardItemModel(this)), m_sorted(new QSortFilterProxyModel(this)),
      m_totals(new QStandardItemModel(this)) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    FillMonthChoice();

    m_employees->setObjectName(QStringLiteral("mdlEmployees"));
    m_totals->setObjectName(QStringLiteral("mdlTotals"));
    m_sorted->setObjectName(QStringLiteral("mdlEmployeesSorted"));
    m_sorted->setSourceModel(m_employees);
    m_sorted->setSortRole(Qt::UserRole);
    ui->tblEmployees->setModel(m_sorted);
    ui->tblEmployees->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    ui->tblTotals->setModel(m_totals);
    ui->tblEmployees->verticalHeader()->hide();
    ui->tblTotals->verticalHeader()->hide();
    setCaptions(m_employees, {tr("工号"), tr("姓名"), tr("部门")}, {tr("修正天数")});
    setCaptions(m_totals, {tr("部门")});

    connect(ui->cmdSummary, &QPushButton::clicked, this, &frmAttendanceSummary::cmdSummary_Click);
    connect(ui->cmdPreview, &QPushButton::clicked, this, &frmAttendanceSummary::cmdPreview_Click);
    connect(ui->cmdPrint, &QPushButton::clicked, this, &frmAttendanceSummary::cmdPrint_Click);
    connect(ui->cmdPdf, &QPushButton::clicked, this, &frmAttendanceSummary::cmdPdf_Click);
    connect(ui->cmdExcel, &QPushButton::clicked, this, &frmAttendanceSummary::cmdExcel_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    // The month on show follows the choice; 统计 counts it again.
    connect(ui->cobYear, &QComboBox::currentIndexChanged, this, &frmAttendanceSummary::LoadChosen);
    connect(ui->cobMonth, &QComboBox::currentIndexChanged, this, &frmAttendanceSummary::LoadChosen);
    LoadChosen();
}

frmAttendanceSummary::~frmAttendanceSummary() = default;

void frmAttendanceSummary::FillMonthChoice() {
    // The month so far by default: the summary counts up to yesterday.
    const QDate today = AppClock::now().date();
    ui->cobYear->addItems(MonthChoice::YearList(today.year()));
    ui->cobMonth->addItems(MonthChoice::MonthList());
    ui->cobYear->setCurrentIndex(
        std::max(0, ui->cobYear->findText(QString::number(today.year()), Qt::MatchExactly)));
    ui->cobMonth->setCurrentIndex(today.month() - 1);
}

MonthChoice::YearMonth frmAttendanceSummary::ChosenMonth() const {
    return MonthChoice::Parse(ui->cobYear->currentText(), ui->cobMonth->currentText());
}

bool frmAttendanceSummary::LoadChosen() {
    const MonthChoice::YearMonth chosen = ChosenMonth();
    const int year = chosen.year;
    const int month = chosen.month;
    MonthSummary loaded;
    Error error;
    if (!chosen.IsValid() || !MonthSummary::Load(MainSession::Get(), year, month,
                                                 AppClock::now().date(), &loaded, &error)) {
        MsgBox::ShowMessage(this, tr("取得考勤信息出错！\n%1").arg(error.Text()), tr("错误"),
                            MsgBox::Icon::Exclamation);
        return false;
    }
    m_summary = std::move(loaded);
    ShowSummary();
    return true;
}

bool frmAttendanceSummary::EnsureSummary() {
    const MonthChoice::YearMonth chosen = ChosenMonth();
    if (m_summary.year == chosen.year && m_summary.month == chosen.month)
        return true;
    return LoadChosen();
}

void frmAttendanceSummary::ShowSummary() {
    m_employees->removeRows(0, m_employees->rowCount());
    for (const EmployeeSummary& e : m_summary.employees)
        m_employees->appendRow(
            QList<QStandardItem*>{textCell(e.number), textCell(e.name), textCell(e.dept)} +
            countCells(e.counts) +
            QList<QStandardItem*>{cell(QString::number(e.corrections), e.corrections)});
    m_totals->removeRows(0, m_totals->rowCount());
    for (const auto& [dept, counts] : m_summary.departments)
        m_totals->appendRow(QList<QStandardItem*>{textCell(dept)} + countCells(counts));
    m_totals->appendRow(QList<QStandardItem*>{textCell(tr("全单位"))} + countCells(m_summary.unit));
    ui->tblEmployees->resizeColumnsToContents();
    ui->tblTotals->resizeColumnsToContents();
    ui->lblState->setText(tr("%1年%2月，%3名员工")
                              .arg(m_summary.year)
                              .arg(m_summary.month)
                              .arg(m_summary.employees.size()));
    ShowCharts();
}

void frmAttendanceSummary::ShowCharts() {
    // A chart view owns its chart but only lets go of the one it showed
    // before: that one is deleted here, or every month shown would stay.
    const auto show = [](QChartView* view, QChart* chart) {
        const QPointer<QChart> before = view->chart();
        view->setChart(chart);
        if (before && before != chart)
            delete before.data();
    };
    show(chartView(ui->tabPresence, QStringLiteral("chvPresence")),
         SummaryCharts::PresenceChart(m_summary));
    show(chartView(ui->tabLate, QStringLiteral("chvLate")), SummaryCharts::LateChart(m_summary));
}

void frmAttendanceSummary::cmdSummary_Click() {
    LoadChosen();
}

ReportDocument frmAttendanceSummary::RunReport() {
    SummaryReport report;
    report.setUnitName(clsSchoolArea().SNAME());
    report.setSummary(&m_summary);
    return ReportDocument::Run(report);
}

QString frmAttendanceSummary::ProposedName(const QString& suffix) const {
    return tr("考勤统计_%1年%2月").arg(m_summary.year).arg(m_summary.month) + suffix;
}

void frmAttendanceSummary::cmdPreview_Click() {
    if (!EnsureSummary())
        return;
    ReportPreview window(RunReport(), this);
    window.Printer() = m_printer;
    WirePreview(window);
    window.exec();
}

void frmAttendanceSummary::cmdPrint_Click() {
    if (!EnsureSummary())
        return;
    if (m_printer.Print(RunReport(), true, this) == ReportPrinter::Result::Failed)
        MsgBox::ShowMessage(this, tr("打印失败！"), tr("错误"), MsgBox::Icon::Exclamation);
}

void frmAttendanceSummary::cmdPdf_Click() {
    if (!EnsureSummary())
        return;
    const QString path = FileDialog::SaveFile(this, tr("导出PDF"), tr("PDF文件 (*.pdf)"),
                                              ProposedName(QStringLiteral(".pdf")))
                             .trimmed();
    if (path.isEmpty())
        return;
    // As the preview's PDF tool: an existing file is refused and left as it is.
    if (ReportPainter::WritePdfFile(RunReport(), path, false))
        MsgBox::ShowMessage(this, tr("PDF文件已导出！"), tr("信息"), MsgBox::Icon::Information);
    else
        MsgBox::ShowMessage(this, tr("导出PDF失败！\n%1").arg(WriteFailure::Cause(path)),
                            tr("错误"), MsgBox::Icon::Exclamation);
}

void frmAttendanceSummary::cmdExcel_Click() {
    if (!EnsureSummary())
        return;
    const QString path = FileDialog::SaveFile(this, tr("导出Excel"), tr("Excel文件 (*.xlsx)"),
                                              ProposedName(QStringLiteral(".xlsx")))
                             .trimmed();
    if (path.isEmpty())
        return;
    // Like the PDF and the month CSV: an existing file is never replaced.
    const bool written = !QFileInfo::exists(path) &&
                         SummaryXlsx::Write(m_summary, clsSchoolArea().SNAME(), path, nullptr);
    if (written)
        MsgBox::ShowMessage(this, tr("Excel文件已导出！"), tr("信息"), MsgBox::Icon::Information);
    else
        MsgBox::ShowMessage(this, tr("导出Excel失败！\n%1").arg(WriteFailure::Cause(path)),
                            tr("错误"), MsgBox::Icon::Exclamation);
}
