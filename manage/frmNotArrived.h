#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmNotArrived;
}

// The employees who have to work today and have not signed in yet, by
// department, with their number; "刷新" asks the database again.
class frmNotArrived : public QDialog {
    Q_OBJECT

public:
    explicit frmNotArrived(QWidget* parent = nullptr);
    ~frmNotArrived() override;

private slots:
    void cmdRefresh_Click();

private:
    std::unique_ptr<Ui::frmNotArrived> ui;
};
