#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmAbout;
}

// The About window: program title, version, the home page link and the
// system information tool.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    // The system information tool of this desktop; empty when none is installed.
    static QString SystemInfoTool();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private slots:
    void cmdSysInfo_Click();

private:
    void setLinkColor(const QColor& color);

    std::unique_ptr<Ui::frmAbout> ui;
};
