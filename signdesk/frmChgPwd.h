#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmChgPwd;
}

// Changes the administrator password (administrator mode only).
class frmChgPwd : public QDialog {
    Q_OBJECT

public:
    explicit frmChgPwd(QWidget* parent = nullptr);
    ~frmChgPwd() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void btnOK_Click();

private:
    std::unique_ptr<Ui::frmChgPwd> ui;
};
