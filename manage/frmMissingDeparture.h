#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmMissingDeparture;
}

// The sign-ins without a departure between two dates (by default from the
// first of this month to yesterday), in arrival order.
class frmMissingDeparture : public QDialog {
    Q_OBJECT

public:
    explicit frmMissingDeparture(QWidget* parent = nullptr);
    ~frmMissingDeparture() override;

private slots:
    void cmdQuery_Click();

private:
    std::unique_ptr<Ui::frmMissingDeparture> ui;
};
