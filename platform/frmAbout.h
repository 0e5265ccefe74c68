#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class frmAbout;
}

// The About window of either program: program title, version, the home page
// link and the system information tool.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    struct Info {
        QString caption; // the window's caption, e.g. "关于 签到系统"
        QString title;   // the program title shown in large type
        int major = 0, minor = 0, revision = 0;
        QString homePage; // the maker's home page, opened by the link
    };

    explicit frmAbout(const Info& info, QWidget* parent = nullptr);
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

    QString m_homePage;

    std::unique_ptr<Ui::frmAbout> ui;
};
