#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmSetSchoolName;
}

// Sets the unit name shown by the station (UNIT/UNITNAME).
class frmSetSchoolName : public QDialog {
    Q_OBJECT

public:
    explicit frmSetSchoolName(QWidget* parent = nullptr);
    ~frmSetSchoolName() override;

private slots:
    void cmdSave_Click();

private:
    std::unique_ptr<Ui::frmSetSchoolName> ui;
};
