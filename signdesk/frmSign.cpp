#include "signdesk/frmSign.h"

#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/CopyRefresher.h"
#include "shared/offline/OfflineStation.h"
#include "shared/records/clsEmployee.h"
#include "shared/records/clsPresence.h"
#include "signdesk/PhotoDecoder.h"
#include "signdesk/StationGlobals.h"
#include "sound/SoundPlayer.h"

#include <QFile>
#include <QFont>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QTimer>

#include <algorithm>

// The resource file lives in a static library: register it explicitly.
static void initSignResources() {
    Q_INIT_RESOURCE(frmSign);
}

namespace {

const QString kCrLf = QStringLiteral("\r\n");

const QRect kPictureBox(5, 6, 295, 223);
const QSize kDefaultPictureSize(295, 233);

// The documented font of a text label, kept where the label's font shrinks
// to fit a long text.
const char kDocumentedFont[] = "documentedFont";

QFont songFont(qreal points, bool bold) {
    QFont f(QStringLiteral("宋体"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

void styleText(QLabel* label, const QFont& font, const QColor& colour, Qt::Alignment align) {
    label->setFont(font);
    label->setProperty(kDocumentedFont, font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    // Text starts at the top of the box, as the screen was laid out.
    label->setAlignment(align | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
}

// Drawn only should the built-in resource be missing from the build.
QPixmap drawnDefaultPicture() {
    QPixmap pix(kDefaultPictureSize);
    pix.fill(QColor(200, 214, 232));
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 248, 252));
    p.drawEllipse(QPointF(147.5, 88), 38, 44);
    p.drawEllipse(QRectF(62, 145, 171, 176));
    return pix;
}

// Sets the busy timeout of the shared connection for one attempt at a scan
// and restores the programs' usual one afterwards.
class ShortLockWait {
public:
    explicit ShortLockWait(int ms) { clsDbConn::SetBusyTimeout(ms); }
    ~ShortLockWait() { clsDbConn::SetBusyTimeout(clsDbConn::BusyTimeoutMs); }
    ShortLockWait(const ShortLockWait&) = delete;
    ShortLockWait& operator=(const ShortLockWait&) = delete;
};

// Whether a failed database step failed because another program holds the
// database right now.
bool databaseLockedNow() {
    const ShortLockWait noWait(0);
    return clsDbConn::ProbeLock() == clsDbConn::LockState::Busy;
}

} // namespace

frmSign::frmSign(QWidget* parent) : QDialog(parent) {
    initSignResources();
    setObjectName(QStringLiteral("frmSign"));
    setWindowTitle(QStringLiteral("签到窗体"));
    // Fixed border with a close box only.
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::FixedWithCloseBox);
    setFixedSize(ClientWidth, ClientHeight);

    m_defaultPicture = QPixmap(QStringLiteral(":/signdesk/images/default_head.png"));
    if (m_defaultPicture.isNull())
        m_defaultPicture = drawnDefaultPicture();

    buildControls();
    SetUpOffline();
}

frmSign::~frmSign() = default;

void frmSign::buildControls() {
    imgHead = makeLabel(this, "imgHead", kPictureBox);
    imgHead->setScaledContents(true);
    imgHead->setPixmap(m_defaultPicture);

    // The waiting frames lie over the photo, in the same box. Each element
    // carries the array's name and its index.
    for (int i = 0; i < WaitFrameCount; ++i) {
        QLabel* frame = makeLabel(this, "imgWait", kPictureBox);
        frame->setProperty("index", i);
        frame->setScaledContents(true);
        frame->hide();
        imgWait[i] = frame;
    }

    lblWelcome = makeLabel(this, "lblWelcome", QRect(312, 9, 151, 116));
    styleText(lblWelcome, songFont(21.75, false), QColor(0, 128, 0), Qt::AlignHCenter);
    lblWelcome->setWordWrap(true);

    lblName = makeLabel(this, "lblName", QRect(312, 126, 151, 20));
    styleText(lblName, songFont(15, true), QColor(0, 0, 255), Qt::AlignHCenter);

    lblJob = makeLabel(this, "lblJob", QRect(312, 170, 151, 16));
    styleText(lblJob, songFont(12, true), QColor(0, 0, 255), Qt::AlignHCenter);

    lblTime = makeLabel(this, "lblTime", QRect(312, 209, 96, 16));
    styleText(lblTime, songFont(12, false), QColor(255, 0, 0), Qt::AlignLeft);
    lblTime->installEventFilter(this);

    txtBarCode = new QLineEdit(this);
    txtBarCode->setObjectName(QStringLiteral("txtBarCode"));
    txtBarCode->setGeometry(304, 105, 129, 18);
    txtBarCode->hide();
    txtBarCode->installEventFilter(this);

    // None of the labels takes the focus: with the field hidden, every key
    // goes to the window itself.
    setFocusPolicy(Qt::StrongFocus);

    TimerDspWait = new QTimer(this);
    TimerDspWait->setObjectName(QStringLiteral("TimerDspWait"));
    TimerDspWait->setInterval(100);
    connect(TimerDspWait, &QTimer::timeout, this, &frmSign::TimerDspWait_Timer);

    TimerDspInfo = new QTimer(this);
    TimerDspInfo->setObjectName(QStringLiteral("TimerDspInfo"));
    TimerDspInfo->setInterval(10000);
    connect(TimerDspInfo, &QTimer::timeout, this, &frmSign::TimerDspInfo_Timer);

    TimerDspTime = new QTimer(this);
    TimerDspTime->setObjectName(QStringLiteral("TimerDspTime"));
    TimerDspTime->setInterval(1000);
    connect(TimerDspTime, &QTimer::timeout, this, &frmSign::TimerDspTime_Timer);

    // Retries the scans waiting for the database; runs also while the window
    // is closed, so no gathered scan is lost.
    TimerDbRetry = new QTimer(this);
    TimerDbRetry->setObjectName(QStringLiteral("TimerDbRetry"));
    TimerDbRetry->setSingleShot(true);
    connect(TimerDbRetry, &QTimer::timeout, this, &frmSign::TimerDbRetry_Timer);

    m_sounds = new SoundPlayer(Station::SoundsOn(), this);
    m_photos = new PhotoDecoder(this);

    lblOffline = makeLabel(this, "lblOffline", QRect(412, 209, 50, 16));
    styleText(lblOffline, songFont(12, true), QColor(255, 0, 0), Qt::AlignRight);
    lblOffline->setText(QStringLiteral("离线"));
    lblOffline->hide();

    TimerOffline = new QTimer(this);
    TimerOffline->setObjectName(QStringLiteral("TimerOffline"));
    TimerOffline->setInterval(OfflineRetryMs);
    connect(TimerOffline, &QTimer::timeout, this, &frmSign::TimerOffline_Timer);

    TimerCopy = new QTimer(this);
    TimerCopy->setObjectName(QStringLiteral("TimerCopy"));
    TimerCopy->setInterval(CopyRefreshMs);
    connect(TimerCopy, &QTimer::timeout, this, &frmSign::TimerCopy_Timer);
}

// On a server: the copy and the journal in the data folder, the copy
// refreshed now and every few minutes, a journal left from before given to
// the server.
void frmSign::SetUpOffline() {
    const QString folder = DataPath();
    if (clsDbConn::SharedEngine() != DbDialect::Engine::PostgreSQL || folder.isEmpty())
        return;
    auto station = std::make_unique<OfflineStation>(folder);
    if (!station->IsOpen())
        return;
    m_station = std::move(station);
    m_refresher = new CopyRefresher(OfflineStation::CacheFile(folder), this);
    m_refresher->setObjectName(QStringLiteral("copyRefresher"));
    m_refresher->Start(AppClock::now());
    TimerCopy->start();
    if (m_station->Pending() > 0)
        TimerOffline->start();
}

void frmSign::SetOffline(bool offline) {
    m_offline = offline;
    lblOffline->setVisible(offline);
    if (offline)
        TimerOffline->start();
}

// Gives the journal to the server: true when it holds every scan now. The
// list of today is read anew when scans went to the server.
bool frmSign::ReplayJournal() {
    if (!OfflineStation::ServerAnswers())
        return false;
    const JournalReplay::Result replay = m_station->Replay();
    if (replay.recorded > 0)
        emit onUpdatePresenceList();
    return replay.complete();
}

void frmSign::TimerOffline_Timer() {
    if (m_inScan || !m_station || !ReplayJournal())
        return;
    TimerOffline->stop();
    SetOffline(false);
    m_refresher->Start(AppClock::now());
}

void frmSign::TimerCopy_Timer() {
    if (!m_offline)
        m_refresher->Start(AppClock::now());
}

// A scan greeted from the copy and kept in the journal.
void frmSign::RecordOffline(const QString& barcode, clsEmployee& employee, qint16& found,
                            qint16& result) {
    SetOffline(true);
    const QDateTime now = AppClock::now();
    const OfflineStation::Greeting g = m_station->Scan(barcode, now);
    found = g.found;
    result = g.state;
    employee.setENUMBER(g.employee.number);
    employee.setENAME(g.employee.name);
    employee.setDNAME(g.employee.department);
    m_offlinePhoto = g.employee.photo;
    clsPresence record;
    record.setENUMBER(g.employee.number);
    record.setENAME(g.employee.name);
    const QDateTime at = now.addMSecs(-now.time().msec());
    if (result == clsPresence::Arrival)
        record.setenterTime(at);
    else if (result == clsPresence::Departure)
        record.setexitTime(at);
    m_recorded = record;
}

// Opening: every show of the window starts it afresh, as a newly loaded
// window; the gathered barcode, the last key time and the frame index stay.
void frmSign::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Form_Load();
}

void frmSign::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    // Closed: nothing ticks until the next opening.
    TimerDspWait->stop();
    TimerDspInfo->stop();
    TimerDspTime->stop();
}

void frmSign::Form_Load() {
    ShowTime();
    txtBarCode->hide();
    imgHead->setPixmap(m_defaultPicture);
    imgHead->show();
    ShowIdleInfo();
    LoadWaitImages();
    TimerDspWait->start();
    TimerDspInfo->start();
    TimerDspTime->start();
    TakeKeyboard();
}

// The window gathers the scanner's keys: it takes the keyboard itself when
// it is shown and after every message box. Without a window manager nobody
// else gives it back, and the keys would go to the root window unseen.
void frmSign::TakeKeyboard() {
    DesktopKit::TakeKeyboardFocus(txtBarCode->isVisible() ? static_cast<QWidget*>(txtBarCode)
                                                          : this);
}

// The documented font where the text fits the label, else the largest
// smaller size at which it does, so that nothing is cut off.
void frmSign::SetLabelText(QLabel* label, const QString& text) {
    DesktopKit::SetFittedText(label, text, label->property(kDocumentedFont).value<QFont>());
}

void frmSign::ShowIdleInfo() {
    SetLabelText(lblName, Station::ProgramTitle());
    SetLabelText(lblJob, QStringLiteral("Ver") + Station::VersionText());
    const clsSchoolArea school;
    SetLabelText(lblWelcome, kCrLf + school.SNAME());
}

// Frames are scaled to the box once, at opening, so the animation only
// switches visibility and memory stays small whatever size the files have.
void frmSign::LoadWaitImages() {
    const QString folder = JoinPath(ProgramDirectory(), QStringLiteral("wait"));
    // One scaled copy of the default picture, shared by every frame whose
    // file is missing or cannot be read as a picture.
    const QPixmap fallback = m_defaultPicture.scaled(kPictureBox.size(), Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation);
    for (int i = 0; i < WaitFrameCount; ++i) {
        QLabel* frame = imgWait[i];
        frame->hide();
        const QString path = JoinPath(folder, QStringLiteral("1_%1.jpg").arg(i + 1));
        QImage image;
        if (QFile::exists(path)) {
            QImageReader reader(path);
            reader.setDecideFormatFromContent(true);
            image = reader.read();
        }
        frame->setPixmap(image.isNull() ? fallback
                                        : QPixmap::fromImage(image.scaled(
                                              kPictureBox.size(), Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation)));
        frame->raise();
    }
    txtBarCode->raise();
}

void frmSign::ShowHeadImage() {
    imgHead->show();
    for (QLabel* frame : imgWait)
        frame->hide();
}

void frmSign::ShowTime() {
    lblTime->setText(ChineseUi::GeneralDateTime(AppClock::now()));
    // The label grows with its text (within the window) so the clock is never cut.
    const int width = qBound(96, lblTime->sizeHint().width(), ClientWidth - lblTime->x());
    lblTime->resize(width, lblTime->height());
}

void frmSign::TimerDspWait_Timer() {
    miWaitFrame = static_cast<qint16>(miWaitFrame + 1);
    if (miWaitFrame > WaitFrameCount - 1)
        miWaitFrame = 0;
    imgWait[miWaitFrame]->show();
    imgWait[miWaitFrame == 0 ? WaitFrameCount - 1 : miWaitFrame - 1]->hide();
}

void frmSign::TimerDspInfo_Timer() {
    ShowIdleInfo();
    imgHead->clear();
    if (!TimerDspWait->isActive())
        TimerDspWait->start();
}

void frmSign::TimerDspTime_Timer() {
    ShowTime();
}

void frmSign::TimerDbRetry_Timer() {
    ProcessPendingScans();
}

// Tab ends a scan like Enter: taken here, before it could move the focus.
bool frmSign::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::event(event);
}

void frmSign::keyPressEvent(QKeyEvent* event) {
    // Keys are the scanner's: never passed on, so Escape does not close the
    // window and Enter presses no button.
    HandleKeyText(event);
    event->accept();
}

bool frmSign::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtBarCode && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (ScanInput::IsTerminatorKey(key->key())) {
            HandleKeyText(key);
            return true;
        }
        // The window sees the key first; the field still gets the character.
        // Delivered here so it does not travel on to the window a second time.
        HandleKeyText(key);
        static_cast<QObject*>(txtBarCode)->event(event);
        return true;
    }
    if (watched == lblTime && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && mouse->modifiers() == Qt::ShiftModifier) {
            txtBarCode->show();
            txtBarCode->raise();
            txtBarCode->setFocus(Qt::OtherFocusReason);
            m_scanInput.Clear();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSign::HandleKeyText(const QKeyEvent* event) {
    const QStringList scans =
        m_scanInput.Feed(event->key(), event->text(), AppClock::msecsSinceEpoch());
    for (const QString& gathered : scans)
        HandleEnter(gathered);
}

void frmSign::HandleEnter(const QString& gathered) {
    // A manual entry takes precedence over the gathered keys.
    const QString typed = txtBarCode->text().trimmed();
    const QString barcode = typed.isEmpty() ? gathered : typed;
    txtBarCode->clear();
    txtBarCode->hide();
    // A terminator with nothing before it (the LF of a CR LF) is no scan.
    if (barcode.isEmpty())
        return;
    // Ready for the next card before anything else happens, also before a
    // message box opens. Scans already waiting for the database go first.
    const bool othersWaiting = !m_pending.empty();
    m_pending.push_back({barcode.toUpper(), AppClock::msecsSinceEpoch()});
    if (!othersWaiting)
        ProcessPendingScans();
}

// Records the oldest waiting scan and shows its result; while the database
// is locked by another program it stays first in the queue and is tried
// again shortly. One scan per call, so each greeting is painted before the
// next scan is recorded.
void frmSign::ProcessPendingScans() {
    if (m_inScan || m_pending.empty())
        return;
    m_inScan = true;
    const PendingScan scan = m_pending.front();
    const bool lastTry = AppClock::msecsSinceEpoch() - scan.scannedAt >= DbWaitLimitMs;
    clsEmployee employee;
    qint16 found = 0;
    qint16 result = 0;
    if (!RecordScan(scan.barcode, lastTry, employee, found, result)) {
        m_inScan = false;
        TimerDbRetry->start(DbRetryMs);
        return;
    }
    m_pending.pop_front();
    ShowScanResult(employee, found, result);
    m_inScan = false;
    if (!m_pending.empty())
        TimerDbRetry->start(0);
}

// One attempt at the database for a scan: false when another program holds
// the database (nothing has been written then). On the last try the scan
// runs whatever the lock, and fails with its documented result.
bool frmSign::RecordScan(const QString& barcode, bool lastTry, clsEmployee& employee, qint16& found,
                         qint16& result) {
    m_offlinePhoto.reset();
    // Scans journalled before go to the server first, so the order holds.
    if (m_station && (m_offline || (m_station->Pending() > 0 && !ReplayJournal()))) {
        RecordOffline(barcode, employee, found, result);
        return true;
    }
    const ShortLockWait shortWait(DbLockWaitMs);
    if (!lastTry && clsDbConn::ProbeLock() == clsDbConn::LockState::Busy)
        return false;
    employee.setEBARCODE(barcode);
    found = employee.IsExist();
    if (found == -1 && m_station && !OfflineStation::ServerAnswers()) {
        RecordOffline(barcode, employee, found, result);
        return true;
    }
    if (found != 1)
        return found == 0 || lastTry || !databaseLockedNow();
    m_photos->Start(employee.HeadImgBytes());
    clsPresence presence;
    presence.setENUMBER(employee.ENUMBER());
    presence.setENAME(employee.ENAME());
    result = presence.Add();
    m_recorded = presence;
    // Nothing was written: the server away, the scan is greeted from the copy.
    if ((result == -1 || result == -2) && m_station && !OfflineStation::ServerAnswers()) {
        RecordOffline(barcode, employee, found, result);
        return true;
    }
    // A failed write is rolled back: trying again later records it once.
    return (result != -1 && result != -2) || lastTry || !databaseLockedNow();
}

void frmSign::ShowScanResult(const clsEmployee& employee, qint16 found, qint16 result) {
    // Heard at once, also before a warning box opens.
    using Cue = SoundPlayer::Cue;
    const bool recorded = found == 1 && (result == 1 || result == 2);
    m_sounds->Play(!recorded ? Cue::Refused : result == 1 ? Cue::Arrival : Cue::Departure);
    if (found != 1) {
        ShowWarning(found == 0 ? QStringLiteral("无效条码！如果签到卡无误，请重试一遍！")
                               : QStringLiteral("数据库操作失败！"));
        return;
    }

    if (result == 1 || result == 2) {
        TimerDspInfo->start(); // ten seconds from now
        TimerDspWait->stop();
        // The scan is recorded: a photo that cannot be read still greets,
        // with the default picture.
        QPixmap photo;
        if (m_offlinePhoto) {
            if (!photo.loadFromData(*m_offlinePhoto))
                photo = m_defaultPicture;
        } else {
            photo = m_photos->Take().value_or(QPixmap());
            if (photo.isNull())
                photo = m_defaultPicture;
        }
        imgHead->setPixmap(photo);
        ShowHeadImage();
        SetLabelText(lblName, employee.ENAME());
        SetLabelText(lblJob, employee.DNAME());
        SetLabelText(lblWelcome, result == 1
                                     ? QStringLiteral("上班喽") + kCrLf + QStringLiteral("轻松点") +
                                           kCrLf + QStringLiteral("快乐点")
                                     : kCrLf + QStringLiteral("下班啦"));
        // The greeting is painted before the list is rebuilt behind it.
        if (isVisible())
            repaint();
    }

    emit onUpdatePresenceList(result, m_recorded);

    switch (result) {
    case 1:
    case 2:
        break;
    case 3:
        ShowWarning(QStringLiteral("今天您已经签退了！"));
        break;
    case 4:
        ShowWarning(QStringLiteral("连续扫描签到卡！"));
        break;
    default:
        ShowWarning(QStringLiteral("系统错误！"));
        break;
    }
}

// The next person may scan while the warning is up: the box closes by itself
// after WarningCloseMs, and the keys typed into it are gathered as on the
// screen, so that a card scanned into it closes it and waits in the queue,
// recorded once this scan's handling ends. A lone Enter, Escape or a blank
// still answer the box; a card's characters never reach it.
void frmSign::ShowWarning(const QString& text) {
    const auto scanIntoBox = [this](const QKeyEvent& key) {
        const int queued = PendingScans();
        const bool gathering = !m_scanInput.Gathered().isEmpty();
        HandleKeyText(&key);
        if (PendingScans() > queued)
            return MsgBox::KeyAction::Close;
        // A card's characters, and blanks within one, are the scan's.
        const QString chars = key.text();
        const bool partOfScan = std::any_of(chars.begin(), chars.end(), [gathering](QChar c) {
            return ScanInput::IsKept(c) && (gathering || !c.isSpace());
        });
        return partOfScan ? MsgBox::KeyAction::Take : MsgBox::KeyAction::Pass;
    };
    MsgBox::ShowMessage(this, text, QStringLiteral("警告"), MsgBox::Icon::Exclamation,
                        MsgBox::Buttons::Ok, {WarningCloseMs, scanIntoBox});
    if (isVisible())
        TakeKeyboard();
}
