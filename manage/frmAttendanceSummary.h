#pragma once

#include "report/ReportPrinter.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/records/MonthChoice.h"

#include <QDialog>
#include <QString>
#include <memory>

class QStandardItemModel;
class QSortFilterProxyModel;
class ReportDocument;

namespace Ui {
class frmAttendanceSummary;
}

// The attendance summary of a month, counted on opening and whenever the
// month chosen changes: one row an employee (sortable by any column, numbers
// as numbers, the corrected days last), the department totals and the
// unit's, the daily presence rate and the late arrivals of each department
// as charts; the summary report previewed, printed or written to PDF, and
// the workbook.
class frmAttendanceSummary : public QDialog {
    Q_OBJECT

public:
    explicit frmAttendanceSummary(QWidget* parent = nullptr);
    ~frmAttendanceSummary() override;

    // The printer of the print button; tests replace its dialog.
    ReportPrinter& Printer() { return m_printer; }
    // The summary on show (year 0 before the first one).
    const MonthSummary& Summary() const { return m_summary; }

private slots:
    void cmdSummary_Click();
    void cmdPreview_Click();
    void cmdPrint_Click();
    void cmdPdf_Click();
    void cmdExcel_Click();

private:
    void FillMonthChoice();
    // The year and month of the two lists (MonthChoice::Parse).
    MonthChoice::YearMonth ChosenMonth() const;
    // Loads the chosen month unless it is on show already; false after a message.
    bool EnsureSummary();
    bool LoadChosen();
    void ShowSummary();
    void ShowCharts();
    // The summary report of the month on show, run to its pages.
    ReportDocument RunReport();
    QString ProposedName(const QString& suffix) const;

    std::unique_ptr<Ui::frmAttendanceSummary> ui;
    QStandardItemModel* m_employees = nullptr; // owned by this window
    QSortFilterProxyModel* m_sorted = nullptr; // owned by this window
    QStandardItemModel* m_totals = nullptr;    // owned by this window
    MonthSummary m_summary;
    ReportPrinter m_printer;
};
