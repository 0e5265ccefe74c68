#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmLogin;
}

// The administrator login. The main window keeps one instance and exec()s it;
// closing only hides it, so LoginOK() can be read afterwards.
class frmLogin : public QDialog {
    Q_OBJECT

public:
    explicit frmLogin(QWidget* parent = nullptr);
    ~frmLogin() override;

    // Result of the last use: true only after the right password.
    bool LoginOK() const { return m_loginOK; }

public slots:
    void reject() override;

private slots:
    void btnLogin_Click();
    void btnCancle_Click();

private:
    std::unique_ptr<Ui::frmLogin> ui;
    bool m_loginOK = false;
};
