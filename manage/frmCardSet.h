#pragma once

#include "reports/cards/clsTextDspStyle.h"

#include <QDialog>
#include <memory>

class QLabel;

namespace Ui {
class frmCardSet;
}

// The sign-in card design ("签到卡设置"): unit name and memo text with their
// fonts and colours, and the logo, each written to "attendance.ini" at once
// and shown on a sample card. A write that fails is reported and the
// preview shows what is stored.
class frmCardSet : public QDialog {
    Q_OBJECT

public:
    explicit frmCardSet(QWidget* parent = nullptr);
    ~frmCardSet() override;

private slots:
    void btnUnitName_Click();
    void btnUnitFont_Click();
    void btnUnitColor_Click();
    void btnUnitLogo_Click();
    void btnMemoText_Click();
    void btnMemoFont_Click();
    void btnMemoColor_Click();

private:
    void RefreshPreview();
    void showStyle(QLabel* label);
    void askText(const QString& group, QLabel* label, const QString& prompt);
    void chooseFont(const QString& group, QLabel* label);
    void chooseColor(const QString& group, QLabel* label);
    void writeFailed();
    void refuseLogo(const QString& text);

    std::unique_ptr<Ui::frmCardSet> ui;
    clsTextDspStyle m_style;
};
