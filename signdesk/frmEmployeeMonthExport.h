#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class frmEmployeeMonthExport;
}

// Picks a month and writes its presence records to a month presence file.
class frmEmployeeMonthExport : public QDialog {
    Q_OBJECT

public:
    explicit frmEmployeeMonthExport(QWidget* parent = nullptr);
    ~frmEmployeeMonthExport() override;

private slots:
    void cmdReportExport_Click();

private:
    // Arrivals from `first` 00:00 up to, not including, the day after `last`.
    bool Export(const QDate& first, const QDate& last, const QString& fileName);

    std::unique_ptr<Ui::frmEmployeeMonthExport> ui;
};
