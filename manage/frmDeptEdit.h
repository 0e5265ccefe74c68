#pragma once

#include <QDialog>
#include <memory>

#include "shared/records/clsDept.h"

namespace Ui {
class frmDeptEdit;
}

// Gives a department a new name.
class frmDeptEdit : public QDialog {
    Q_OBJECT

public:
    explicit frmDeptEdit(QWidget* parent = nullptr);
    ~frmDeptEdit() override;

    // The department key as decimal text; loads the department and shows its name.
    void setDeptID(const QString& id);
    QString DeptID() const { return m_deptID; }
    // True once a name has been stored.
    bool Changed() const { return m_changed; }

private slots:
    void btnOK_Click();

private:
    bool CheckInput();
    bool SaveName();

    std::unique_ptr<Ui::frmDeptEdit> ui;
    clsDept m_dept;
    QString m_deptID;
    bool m_changed = false;
};
