#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmDeptAppend;
}

// Adds a department of a new name.
class frmDeptAppend : public QDialog {
    Q_OBJECT

public:
    explicit frmDeptAppend(QWidget* parent = nullptr);
    ~frmDeptAppend() override;

    // True once a department has been added.
    bool Appended() const { return m_appended; }

private slots:
    void btnOK_Click();
    void btnCancel_Click();

private:
    std::unique_ptr<Ui::frmDeptAppend> ui;
    bool m_appended = false;
};
