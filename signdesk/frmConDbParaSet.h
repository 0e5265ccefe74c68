#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmConDbParaSet;
}

// Edits the four database connection parameters of group ATTENDANCE. The
// station itself only uses its database file; the parameters are kept in the
// configuration file.
class frmConDbParaSet : public QDialog {
    Q_OBJECT

public:
    explicit frmConDbParaSet(QWidget* parent = nullptr);
    ~frmConDbParaSet() override;

private slots:
    void cmdTest_Click();
    void cmbSet_Click();

private:
    bool CheckInput();

    std::unique_ptr<Ui::frmConDbParaSet> ui;
};
