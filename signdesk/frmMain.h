#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <memory>

class QLabel;
class QTimer;
class QSettings;
class frmLogin;
class frmSign;

namespace Ui {
class frmMain;
}

// The station's main window: today's sign-in list, the menus of both modes,
// and the two commands it carries out itself (department update, backup).
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The per-user store of the window placement.
    static std::unique_ptr<QSettings> PlacementStore();
    static constexpr int TwipsPerPixel = 15;

    // Title without the list suffix: unit name, "考勤系统", " Ver2.00".
    static QString BaseTitle();

    bool isManageMode() const { return m_manageMode; }
    frmSign* signWindow() const;

public slots:
    // Rebuilds today's list; the sign-in screen calls it after every scan.
    void UpdateEmployeePresenceList();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Timer_DspSign_Timer();
    void lsvList_ColumnClick(int column);
    void updateClock();

    void mnuMangeLogin_Click();
    void mnuChgPwd_Click();
    void mnuLogout_Click();
    void mnuImportEmployeeInfo_Click();
    void mnuExportEmployeeInfo_Click();
    void mnuInputNewEmp_Click();
    void mnuDspAttendanceDlg_Click();
    void mnuDbSet_Click();
    void mnuSetUnit_Click();
    void mnuImportDetpInfo_Click();
    void mnuScanTest_Click();
    void mnuBackUpCurrentMonthPrs_Click();
    void mnuEmployeeAttendanceMonthExport_Click();
    void mnuEmployeeAttendanceMonthReport_Click();
    void mnuHelpFile_Click();
    void mnuVistHomePage_Click();
    void mnuHelpAbout_Click();

private:
    void SetManageMode(bool on);
    void FillTodayList();
    void ShowSignWindow();
    void RestorePlacement();
    void StorePlacement();
    void CloseOtherWindows();

    std::unique_ptr<Ui::frmMain> ui;
    QTimer* Timer_DspSign = nullptr;
    QTimer* m_clockTimer = nullptr;
    QLabel* m_panelText = nullptr;
    QLabel* m_panelDate = nullptr;
    QLabel* m_panelTime = nullptr;
    QPointer<frmSign> mfrmDialog;
    QPointer<frmLogin> m_login;
    bool m_manageMode = false;
    bool m_sorted = false; // sorted since the first header click
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
