#pragma once

#include "shared/records/clsPresence.h"
#include "signdesk/TodayListModel.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <memory>
#include <optional>

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
    // The title with the list suffix "-[当日员工签到列表]".
    static QString ListTitle();

    bool isManageMode() const { return m_manageMode; }
    frmSign* signWindow() const;

public slots:
    // Shows a scan of the sign-in screen in today's list: the one changed
    // row (clsPresence::State and the record written). Without a state, or
    // on another day, today's list is read anew.
    void UpdateEmployeePresenceList(qint16 state = 0, const clsPresence& record = clsPresence());
    // The comparison path of the benchmarks: every scan reads the list anew.
    void SetFullReloadPerScan(bool on) { m_fullReloadPerScan = on; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Timer_DspSign_Timer();
    void lsvList_ColumnClick(int column);
    void updateClock();
    // On a server: compares the station's clock with the server's and shows
    // a difference of more than a minute, or of the time zone, in the status bar.
    void checkServerClock();

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
    // Each menu entry to its handler.
    void connectMenus();
    void SetManageMode(bool on);
    void FillTodayList();
    void FillTodayListOnce();
    void ShowStationProblems();
    // The arrangement of a full reload: none before the first header click.
    std::optional<TodayListModel::SortKey> SortKey() const;
    void MakeSignWindow();
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
    QLabel* m_clockWarning = nullptr;
    QLabel* m_stationWarning = nullptr;
    QTimer* m_serverClockTimer = nullptr;
    QPointer<frmSign> mfrmDialog;
    QPointer<frmLogin> m_login;
    TodayListModel* m_today = nullptr;
    bool m_fullReloadPerScan = false;
    bool m_listLoaded = false; // today's list read since the window was made
    bool m_painted = false;    // the window's first paint has been done
    bool m_waitedForPaint = false;
    static constexpr int kPaintWaitMs = 250;
    bool m_listStale = false; // not read while the server was away
    bool m_manageMode = false;
    bool m_sorted = false; // sorted since the first header click
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
