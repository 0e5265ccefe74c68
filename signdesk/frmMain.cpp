#include "signdesk/frmMain.h"
#include "ui_frmMain.h"

#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/DesktopServices.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "platform/PlainHeaderView.h"
#include "platform/frmAbout.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/exchange/ExchangeFiles.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/TodayListModel.h"
#include "signdesk/frimImportExport.h"
#include "signdesk/frmChgPwd.h"
#include "signdesk/frmConDbParaSet.h"
#include "signdesk/frmEmployeeMange.h"
#include "signdesk/frmEmployeeMonthExport.h"
#include "signdesk/frmEmployeeMonthReport.h"
#include "signdesk/frmLogin.h"
#include "signdesk/frmScanTest.h"
#include "signdesk/frmSetSchoolName.h"
#include "signdesk/frmSign.h"
#include "station/ScanService.h"
#include "texts/StationProblemText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <cmath>
#include <iterator>
#include <utility>

namespace {

// Column widths (pixels) of today's list.
constexpr int kColumnWidths[TodayListModel::ColumnCount] = {53, 67, 133, 133};

// Placement keys and their defaults in twips.
struct PlacementKey {
    const char* name;
    int defaultTwips;
};
constexpr PlacementKey kLeft{"MainLeft", 1000};
constexpr PlacementKey kTop{"MainTop", 1000};
constexpr PlacementKey kWidth{"MainWidth", 6500};
constexpr PlacementKey kHeight{"MainHeight", 6500};

int readTwips(QSettings& store, const PlacementKey& key) {
    bool ok = false;
    const int value = store.value(QLatin1String(key.name)).toString().trimmed().toInt(&ok);
    return ok ? value : key.defaultTwips;
}

int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(double(twips) / frmMain::TwipsPerPixel));
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()) {
    ui->setupUi(this);
    ui->mnuHelpAbout->setText(tr("关于(&A) "));

    // Separator lines carry their menu names too.
    const std::pair<QMenu*, const char*> splits[] = {{ui->mnuFile, "mnuSplit3"},
                                                     {ui->mnuPeopleMange, "mnuSplit4"},
                                                     {ui->mnuAttendance, "mnuSplit1"},
                                                     {ui->mnuSysMange, "mnuSplit5"}};
    for (const auto& [menu, name] : splits)
        for (QAction* action : menu->actions())
            if (action->isSeparator())
                action->setObjectName(QLatin1String(name));

    ui->mnuDbSet->setVisible(false);
    ui->mnuDbSet->setEnabled(false);

    m_today = new TodayListModel(this);
    // Measured in its own font: the window's first paint needs no bold one.
    QHeaderView* header = PlainHeaderView::Install(ui->lsvList);
    ui->lsvList->setModel(m_today);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    connect(header, &QHeaderView::sectionClicked, this, &frmMain::lsvList_ColumnClick);

    // Status bar: free panel, date, time (hours and minutes).
    m_panelText = new QLabel(ui->sbStatusBar);
    m_panelDate = new QLabel(ui->sbStatusBar);
    m_panelTime = new QLabel(ui->sbStatusBar);
    m_panelText->setObjectName(QStringLiteral("sbPanelText"));
    m_panelDate->setObjectName(QStringLiteral("sbPanelDate"));
    m_panelTime->setObjectName(QStringLiteral("sbPanelTime"));
    ui->sbStatusBar->addWidget(m_panelText, 1);
    ui->sbStatusBar->addPermanentWidget(m_panelDate);
    ui->sbStatusBar->addPermanentWidget(m_panelTime);
    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("sbClockTimer"));
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &frmMain::updateClock);
    m_clockTimer->start();
    updateClock();
    m_clockWarning = new QLabel(ui->sbStatusBar);
    m_clockWarning->setObjectName(QStringLiteral("sbClockWarning"));
    m_clockWarning->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_clockWarning->hide();
    ui->sbStatusBar->addWidget(m_clockWarning);
    m_stationWarning = new QLabel(ui->sbStatusBar);
    m_stationWarning->setObjectName(QStringLiteral("sbStationWarning"));
    m_stationWarning->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_stationWarning->hide();
    ui->sbStatusBar->addWidget(m_stationWarning);
    m_serverClockTimer = new QTimer(this);
    m_serverClockTimer->setObjectName(QStringLiteral("tmrServerClock"));
    m_serverClockTimer->setInterval(60 * 60 * 1000);
    connect(m_serverClockTimer, &QTimer::timeout, this, &frmMain::checkServerClock);
    m_serverClockTimer->start();

    connectMenus();

    // Loading: placement, title, the sign-in screen; today's list once the
    // sign-in screen is on the screen (see showEvent).
    RestorePlacement();
    setWindowTitle(ListTitle());
    checkServerClock();
    MakeSignWindow();
    SetManageMode(false);

    Timer_DspSign = new QTimer(this);
    Timer_DspSign->setObjectName(QStringLiteral("Timer_DspSign"));
    Timer_DspSign->setSingleShot(true);
    // Ten milliseconds after loading, and not before the main window's first
    // paint (see paintEvent), so this window is on the screen first and the
    // sign-in screen's fonts are not loaded ahead of its paint.
    Timer_DspSign->setInterval(10);
    connect(Timer_DspSign, &QTimer::timeout, this, &frmMain::Timer_DspSign_Timer);
    Timer_DspSign->start();
}

frmMain::~frmMain() = default;

void frmMain::connectMenus() {
    connect(ui->mnuMangeLogin, &QAction::triggered, this, &frmMain::mnuMangeLogin_Click);
    connect(ui->mnuChgPwd, &QAction::triggered, this, &frmMain::mnuChgPwd_Click);
    connect(ui->mnuLogout, &QAction::triggered, this, &frmMain::mnuLogout_Click);
    connect(ui->mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->mnuImportEmployeeInfo, &QAction::triggered, this,
            &frmMain::mnuImportEmployeeInfo_Click);
    connect(ui->mnuExportEmployeeInfo, &QAction::triggered, this,
            &frmMain::mnuExportEmployeeInfo_Click);
    connect(ui->mnuInputNewEmp, &QAction::triggered, this, &frmMain::mnuInputNewEmp_Click);
    connect(ui->mnuDspAttendanceDlg, &QAction::triggered, this,
            &frmMain::mnuDspAttendanceDlg_Click);
    connect(ui->mnuTodayPresence, &QAction::triggered, this, &frmMain::FillTodayList);
    connect(ui->mnuDbSet, &QAction::triggered, this, &frmMain::mnuDbSet_Click);
    connect(ui->mnuSetUnit, &QAction::triggered, this, &frmMain::mnuSetUnit_Click);
    connect(ui->mnuImportDetpInfo, &QAction::triggered, this, &frmMain::mnuImportDetpInfo_Click);
    connect(ui->mnuScanTest, &QAction::triggered, this, &frmMain::mnuScanTest_Click);
    connect(ui->mnuBackUpCurrentMonthPrs, &QAction::triggered, this,
            &frmMain::mnuBackUpCurrentMonthPrs_Click);
    connect(ui->mnuEmployeeAttendanceMonthExport, &QAction::triggered, this,
            &frmMain::mnuEmployeeAttendanceMonthExport_Click);
    connect(ui->mnuEmployeeAttendanceMonthReport, &QAction::triggered, this,
            &frmMain::mnuEmployeeAttendanceMonthReport_Click);
    connect(ui->mnuHelpFile, &QAction::triggered, this, &frmMain::mnuHelpFile_Click);
    connect(ui->mnuVistHomePage, &QAction::triggered, this, &frmMain::mnuVistHomePage_Click);
    connect(ui->mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

frmSign* frmMain::signWindow() const {
    return mfrmDialog;
}

std::unique_ptr<QSettings> frmMain::PlacementStore() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       Station::SettingsName());
}

QString frmMain::BaseTitle() {
    return tr("%1考勤系统 Ver%2").arg(clsSchoolArea().SNAME(), Station::VersionText());
}

QString frmMain::ListTitle() {
    return BaseTitle() + tr("-[当日员工签到列表]");
}

void frmMain::UpdateEmployeePresenceList(qint16 state, const clsPresence& record) {
    // A scan changes one row; the whole day is read only when that cannot
    // show it (another day, a departure of a number not listed) or when the
    // day has not been read yet.
    if (state == 0 || !m_listLoaded || m_fullReloadPerScan ||
        !m_today->Apply(state, record, SortKey())) {
        FillTodayList();
        return;
    }
    setWindowTitle(ListTitle());
}

std::optional<TodayListModel::SortKey> frmMain::SortKey() const {
    if (!m_sorted)
        return std::nullopt;
    return TodayListModel::SortKey{m_sortColumn, m_sortOrder};
}

void frmMain::FillTodayList() {
    m_listLoaded = true;
    // While the server is away the list stays as it is (the station's scans
    // are added to it as they are greeted); it is read once the server is back.
    if (mfrmDialog && mfrmDialog->Offline()) {
        m_listStale = true;
        setWindowTitle(ListTitle());
        return;
    }
    m_listStale = false;
    m_today->Reload(SortKey());
    for (int i = 0; i < int(std::size(kColumnWidths)); ++i)
        ui->lsvList->setColumnWidth(i, kColumnWidths[i]);
    setWindowTitle(ListTitle());
}

void frmMain::lsvList_ColumnClick(int column) {
    if (m_sortColumn != column)
        m_sortColumn = column;
    else
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sorted = true;
    QHeaderView* header = ui->lsvList->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(m_sortColumn, m_sortOrder);
    m_today->sort(m_sortColumn, m_sortOrder);
}

void frmMain::updateClock() {
    const QDateTime now = AppClock::now();
    m_panelDate->setText(ChineseUi::ShortDate(now.date()));
    m_panelTime->setText(ChineseUi::ShortTime(now.time()));
}

void frmMain::checkServerClock() {
    // A station on a database file has no other clock: its file is not
    // opened for this (at start-up it is opened after the first paint).
    if (DbSettings::FromConfiguration().engine != DbSettings::Engine::PostgreSQL ||
        (mfrmDialog && mfrmDialog->Offline()))
        return;
    const std::optional<qint64> ahead = clsDbConn::ServerClockOffset(clsDbConn().GetDbConn());
    // A station in another time zone than the server's writes records hours off.
    const std::optional<int> zone = clsDbConn::ServerUtcOffset(clsDbConn().GetDbConn());
    const int stationZone = AppClock::now().offsetFromUtc();
    const auto utc = [](int s) {
        return QStringLiteral("UTC%1%2:%3")
            .arg(s < 0 ? QLatin1Char('-') : QLatin1Char('+'))
            .arg(qAbs(s) / 3600, 2, 10, QLatin1Char('0'))
            .arg(qAbs(s) % 3600 / 60, 2, 10, QLatin1Char('0'));
    };
    QStringList warnings;
    if (ahead && qAbs(*ahead) > clsDbConn::ClockDriftLimitS)
        warnings << tr("本机时钟与服务器相差 %1 秒，请校准时间").arg(qAbs(*ahead));
    if (zone && *zone != stationZone)
        warnings << tr("本机时区（%1）与服务器时区（%2）不同，请校准时区")
                        .arg(utc(stationZone), utc(*zone));
    if (!warnings.isEmpty())
        m_clockWarning->setText(warnings.join(tr("；")));
    m_clockWarning->setVisible(!warnings.isEmpty());
}

// What the station could not use as it was (a damaged journal kept aside),
// on the status bar until the program ends; also in the log.
void frmMain::ShowStationProblems() {
    const QStringList problems = StationProblemTexts(mfrmDialog->Service()->Problems());
    m_stationWarning->setText(problems.join(tr("；")));
    m_stationWarning->setVisible(!problems.isEmpty());
}

void frmMain::SetManageMode(bool on) {
    QAction* const adminEntries[] = {ui->mnuChgPwd,
                                     ui->mnuLogout,
                                     ui->mnuImportEmployeeInfo,
                                     ui->mnuExportEmployeeInfo,
                                     ui->mnuInputNewEmp,
                                     ui->mnuEmployeeAttendanceMonthExport,
                                     ui->mnuEmployeeAttendanceMonthReport,
                                     ui->mnuSetUnit,
                                     ui->mnuImportDetpInfo,
                                     ui->mnuScanTest,
                                     ui->mnuBackUpCurrentMonthPrs};
    for (QAction* action : adminEntries)
        action->setEnabled(on);
    ui->mnuMangeLogin->setEnabled(!on);
    m_manageMode = on;
}

void frmMain::Timer_DspSign_Timer() {
    Timer_DspSign->stop();
    // The main window shown but not yet painted (its first expose is still
    // to come): wait for that paint, a quarter of a second at most.
    if (isVisible() && !m_painted && !std::exchange(m_waitedForPaint, true)) {
        Timer_DspSign->start(kPaintWaitMs);
        return;
    }
    ShowSignWindow();
}

// The sign-in screen, its scans shown in today's list, its first paint
// watched (see showEvent).
void frmMain::MakeSignWindow() {
    mfrmDialog = new frmSign(this);
    connect(mfrmDialog, &frmSign::onUpdatePresenceList, this, &frmMain::UpdateEmployeePresenceList);
    connect(mfrmDialog->Service(), &ScanService::OfflineChanged, this, [this](bool offline) {
        if (!offline && m_listStale)
            FillTodayList();
    });
    ShowStationProblems();
    mfrmDialog->installEventFilter(this);
}

void frmMain::ShowSignWindow() {
    if (!mfrmDialog)
        MakeSignWindow();
    if (mfrmDialog->isVisible()) {
        mfrmDialog->raise();
        DesktopKit::TakeKeyboardFocus(mfrmDialog);
        return;
    }
    // Modal without a nested event loop: scans keep flowing through the one loop.
    mfrmDialog->setWindowModality(Qt::ApplicationModal);
    mfrmDialog->show();
    mfrmDialog->raise();
    mfrmDialog->activateWindow();
}

void frmMain::mnuDspAttendanceDlg_Click() {
    ShowSignWindow();
}

void frmMain::mnuMangeLogin_Click() {
    if (!m_login)
        m_login = new frmLogin(this);
    m_login->exec();
    if (m_login && m_login->LoginOK())
        SetManageMode(true);
}

void frmMain::mnuChgPwd_Click() {
    frmChgPwd dialog;
    dialog.exec();
}

void frmMain::mnuLogout_Click() {
    SetManageMode(false);
}

void frmMain::mnuImportEmployeeInfo_Click() {
    frimImportExport dialog;
    dialog.setImportMode(true);
    dialog.exec();
    FillTodayList(); // names may have changed
}

void frmMain::mnuExportEmployeeInfo_Click() {
    frimImportExport dialog;
    dialog.setImportMode(false);
    dialog.exec();
}

void frmMain::mnuInputNewEmp_Click() {
    frmEmployeeMange dialog(this);
    dialog.exec();
    FillTodayList(); // names may have changed
}

void frmMain::mnuDbSet_Click() {
    frmConDbParaSet dialog;
    dialog.exec();
}

void frmMain::mnuSetUnit_Click() {
    frmSetSchoolName dialog;
    dialog.exec();
}

void frmMain::mnuScanTest_Click() {
    frmScanTest dialog(this);
    dialog.exec();
}

void frmMain::mnuImportDetpInfo_Click() {
    const QString chosen = FileDialog::OpenFile(this, QString(), tr("XML文件 (*.xml *.XML)"));
    if (chosen.isEmpty())
        return;
    // Replaces all departments in one transaction: a bad file keeps the old ones.
    DesktopKit::RunExchange(this, MainSession::Get(), DesktopKit::Exchange::Import, [&] {
        return ExchangeFiles::ImportDepartments(MainSession::Get(), chosen.trimmed());
    });
}

void frmMain::mnuBackUpCurrentMonthPrs_Click() {
    // An existing backup file is refused by the backup itself, never overwritten.
    const QString chosen =
        FileDialog::SaveFile(this, tr("设定导出文件"), tr("XML文件 (*.XML *.xml)"));
    if (chosen.isNull())
        return; // cancelled
    if (chosen.trimmed().isEmpty()) {
        MsgBox::ShowMessage(this, tr("没有指定备份文件名!"), tr("错误"), MsgBox::Icon::Exclamation);
        return;
    }
    DesktopKit::RunExchange(this, MainSession::Get(), DesktopKit::Exchange::Export, [&] {
        return ExchangeFiles::BackupMonth(MainSession::Get(), chosen.trimmed());
    });
}

void frmMain::mnuEmployeeAttendanceMonthExport_Click() {
    frmEmployeeMonthExport dialog;
    dialog.exec();
}

void frmMain::mnuEmployeeAttendanceMonthReport_Click() {
    frmEmployeeMonthReport dialog;
    dialog.exec();
}

void frmMain::mnuHelpFile_Click() {
    DesktopServices::OpenDocument(DesktopKit::HelpPage(QStringLiteral("HELP")));
}

void frmMain::mnuVistHomePage_Click() {
    DesktopServices::OpenDocument(Station::HomePage());
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about({tr("关于 %1").arg(Station::ProgramTitle()), Station::ProgramTitle(),
                    Station::VersionMajor, Station::VersionMinor, Station::VersionRevision,
                    Station::HomePage()},
                   this);
    about.exec();
}

void frmMain::RestorePlacement() {
    const std::unique_ptr<QSettings> store = PlacementStore();
    store->beginGroup(QStringLiteral("Settings"));
    const int left = twipsToPixels(readTwips(*store, kLeft));
    const int top = twipsToPixels(readTwips(*store, kTop));
    int width = twipsToPixels(readTwips(*store, kWidth));
    int height = twipsToPixels(readTwips(*store, kHeight));
    // A damaged store must not make the window vanish.
    if (width < 1)
        width = twipsToPixels(kWidth.defaultTwips);
    if (height < 1)
        height = twipsToPixels(kHeight.defaultTwips);
    move(left, top);
    resize(width, height);
}

void frmMain::StorePlacement() {
    const std::unique_ptr<QSettings> store = PlacementStore();
    store->beginGroup(QStringLiteral("Settings"));
    store->setValue(QLatin1String(kLeft.name), QString::number(x() * TwipsPerPixel));
    store->setValue(QLatin1String(kTop.name), QString::number(y() * TwipsPerPixel));
    store->setValue(QLatin1String(kWidth.name), QString::number(width() * TwipsPerPixel));
    store->setValue(QLatin1String(kHeight.name), QString::number(height() * TwipsPerPixel));
    store->endGroup();
    store->sync();
}

void frmMain::CloseOtherWindows() {
    const auto closeWindow = [](QWidget* w) {
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject(); // hides it and ends its modal loop
        else
            w->close();
        if (w->isVisible())
            w->hide();
    };
    // Modal windows stack up: the active one is always the most recently opened.
    while (QWidget* w = QApplication::activeModalWidget()) {
        if (w == this)
            break;
        closeWindow(w);
        if (w->isVisible())
            break;
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            closeWindow(w);
}

// Today's list is read after the sign-in screen has been painted, so the
// station is ready for the first card without waiting for the day's
// records; behind the screen the list is not seen before then. Without the
// sign-in screen opening at start-up, it is read at the next turn of the
// event loop.
void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_listLoaded && !Timer_DspSign->isActive())
        QTimer::singleShot(0, this, &frmMain::FillTodayListOnce);
}

void frmMain::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (!std::exchange(m_painted, true) && Timer_DspSign->isActive())
        Timer_DspSign->start(0); // at the next turn, once this paint is flushed
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mfrmDialog && event->type() == QEvent::Paint && !m_listLoaded)
        QTimer::singleShot(0, this, &frmMain::FillTodayListOnce);
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::FillTodayListOnce() {
    if (!m_listLoaded)
        FillTodayList();
}

void frmMain::closeEvent(QCloseEvent* event) {
    CloseOtherWindows();
    if (!isMinimized())
        StorePlacement();
    event->accept();
}
