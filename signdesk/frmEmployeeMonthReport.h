#pragma once

#include "report/ReportPrinter.h"
#include "reports/month/EmployeeMonthReport.h"
#include "shared/records/MonthChoice.h"

#include <QDialog>
#include <QString>
#include <memory>

class QComboBox;
class ReportPreview;

namespace Ui {
class frmEmployeeMonthReport;
}

// Picks a month and previews or prints its attendance report.
class frmEmployeeMonthReport : public QDialog {
    Q_OBJECT

public:
    explicit frmEmployeeMonthReport(QWidget* parent = nullptr);
    ~frmEmployeeMonthReport() override;

    // The printer of the print button; tests replace its dialog.
    ReportPrinter& Printer() { return m_printer; }

    // The month lists of this window and of the monthly export: years up to
    // the current one, months 1 to 12, the previous calendar month selected.
    static void FillMonthChoice(QComboBox* year, QComboBox* month);
    // The selected month; year and month 0 when a list has no valid selection.
    static MonthChoice::YearMonth SelectedMonth(const QComboBox* year, const QComboBox* month);

    // Wires a preview to the program's own dialogs and message boxes.
    static void ConnectPreview(ReportPreview& preview, const ReportPrinter& printer);

private slots:
    void cmdPreReport_Click();
    void cmdPrintReport_Click();

private:
    void ShowReport(bool preview);

    std::unique_ptr<Ui::frmEmployeeMonthReport> ui;
    EmployeeMonthReport m_report;
    ReportPrinter m_printer;
};
