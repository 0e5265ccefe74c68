#include "signdesk/frmSign.h"

#include "devices/sound/SoundPlayer.h"
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/records/clsPresence.h"
#include "signdesk/StationGlobals.h"
#include "station/ScanService.h"

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
    // The installed faces that stand for 宋体 (ReportFonts), named directly:
    // a face that is not installed costs a search of every font for its
    // stand-ins, once for each script, before the first paint.
    const QString song = QStringLiteral("宋体");
    const QStringList faces = QFont::substitutes(song);
    QFont f(song);
    if (!faces.isEmpty())
        f.setFamilies(faces);
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

} // namespace

frmSign::frmSign(QWidget* parent) : QDialog(parent) {
    initSignResources();
    setObjectName(QStringLiteral("frmSign"));
    setWindowTitle(tr("签到窗体"));
    // Fixed border with a close box only.
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::FixedWithCloseBox);
    setFixedSize(ClientWidth, ClientHeight);

    m_picturesLoad = std::async(std::launch::async, [] {
        DefaultPictures pictures;
        // Read as PNG without asking the image format plugins, which would
        // all be loaded (and their libraries linked) before the first paint.
        QImageReader reader(QStringLiteral(":/signdesk/images/default_head.png"), "png");
        reader.setAutoDetectImageFormat(false);
        pictures.picture = reader.read();
        if (!pictures.picture.isNull())
            pictures.boxed = pictures.picture.scaled(kPictureBox.size(), Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation);
        return pictures;
    });

    buildControls();
}

void frmSign::takeDefaultPictures() const {
    if (!m_picturesLoad.valid())
        return;
    const DefaultPictures pictures = m_picturesLoad.get();
    if (pictures.picture.isNull()) {
        m_defaultPicture = drawnDefaultPicture();
        m_boxedDefault = m_defaultPicture.scaled(kPictureBox.size(), Qt::IgnoreAspectRatio,
                                                 Qt::SmoothTransformation);
    } else {
        m_defaultPicture = QPixmap::fromImage(pictures.picture);
        m_boxedDefault = QPixmap::fromImage(pictures.boxed);
    }
}

const QPixmap& frmSign::defaultPicture() const {
    takeDefaultPictures();
    return m_defaultPicture;
}

frmSign::~frmSign() = default;

void frmSign::buildControls() {
    imgHead = makeLabel(this, "imgHead", kPictureBox);
    imgHead->setScaledContents(true); // its picture is set at opening (Form_Load)

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

    m_sounds = new SoundPlayer(Station::SoundsOn(), this);

    lblOffline = makeLabel(this, "lblOffline", QRect(412, 209, 50, 16));
    styleText(lblOffline, songFont(12, true), QColor(255, 0, 0), Qt::AlignRight);
    lblOffline->setText(tr("离线"));
    lblOffline->hide();

    m_service = new ScanService(this);
    m_service->setObjectName(QStringLiteral("scanService"));
    connect(m_service, &ScanService::Greeted, this, &frmSign::ShowScanResult);
    connect(m_service, &ScanService::ListChanged, this, [this] { emit onUpdatePresenceList(); });
    connect(m_service, &ScanService::OfflineChanged, lblOffline, &QLabel::setVisible);
    lblOffline->setVisible(m_service->Offline());
}

bool frmSign::Offline() const {
    return m_service->Offline();
}

int frmSign::PendingScans() const {
    return m_service->PendingScans();
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
    imgHead->setPixmap(defaultPicture());
    imgHead->show();
    // Photos come at the size the box paints them (its pixels on this screen).
    m_service->SetPhotoSize(imgHead->contentsRect().size() * imgHead->devicePixelRatio());
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
    // The unit's name on one line, smaller where needed: wrapped, it would
    // break inside a word. Only a name too long to read on one line wraps.
    constexpr qreal kSmallestOneLine = 12;
    lblWelcome->setWordWrap(false);
    SetLabelText(lblWelcome, kCrLf + school.SNAME());
    if (lblWelcome->font().pointSizeF() < kSmallestOneLine) {
        lblWelcome->setWordWrap(true);
        SetLabelText(lblWelcome, kCrLf + school.SNAME());
    }
}

// Frames are scaled to the box once, at opening, so the animation only
// switches visibility and memory stays small whatever size the files have.
void frmSign::LoadWaitImages() {
    const QString folder = JoinPath(ProgramDirectory(), QStringLiteral("wait"));
    // One scaled copy of the default picture, shared by every frame whose
    // file is missing or cannot be read as a picture.
    takeDefaultPictures();
    const QPixmap fallback = m_boxedDefault;
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
    const qint64 at = AppClock::msecsSinceEpoch();
    const QStringList scans = m_scanInput.Feed(event->key(), event->text(), at);
    for (const QString& gathered : scans)
        HandleEnter(gathered, at);
}

// A barcode ended at `keyTimeMs` (the time of its end key) goes to the
// scan service, which greets it (ShowScanResult) once it is recorded.
void frmSign::HandleEnter(const QString& gathered, qint64 keyTimeMs) {
    // A manual entry takes precedence over the gathered keys.
    const QString typed = txtBarCode->text().trimmed();
    const QString barcode = typed.isEmpty() ? gathered : typed;
    txtBarCode->clear();
    txtBarCode->hide();
    // A terminator with nothing before it (the LF of a CR LF) is no scan.
    if (barcode.isEmpty())
        return;
    m_service->Scan(barcode.toUpper(), keyTimeMs);
}

void frmSign::ShowScanResult(const ScanOutcome& outcome) {
    // Heard at once, also before a warning box opens.
    using Cue = SoundPlayer::Cue;
    const qint16 result = outcome.state;
    m_sounds->Play(!outcome.Recorded() ? Cue::Refused
                   : result == 1       ? Cue::Arrival
                                       : Cue::Departure);
    if (outcome.found != clsEmployee::Lookup::Found) {
        ShowWarning(outcome.found == clsEmployee::Lookup::NotFound
                        ? tr("无效条码！如果签到卡无误，请重试一遍！")
                        : tr("数据库操作失败！"));
        return;
    }

    if (outcome.Recorded()) {
        TimerDspInfo->start(); // ten seconds from now
        TimerDspWait->stop();
        // The scan is recorded: a photo that cannot be read still greets,
        // with the default picture.
        imgHead->setPixmap(outcome.photo.isNull() ? defaultPicture()
                                                  : QPixmap::fromImage(outcome.photo));
        ShowHeadImage();
        SetLabelText(lblName, outcome.name);
        SetLabelText(lblJob, outcome.department);
        lblWelcome->setWordWrap(true);
        SetLabelText(lblWelcome,
                     result == 1 ? tr("上班喽%1轻松点%1快乐点").arg(kCrLf) : kCrLf + tr("下班啦"));
        // The greeting is painted before the list is rebuilt behind it.
        if (isVisible())
            repaint();
    }

    emit onUpdatePresenceList(result, outcome.record);

    switch (result) {
    case 1:
    case 2:
        break;
    case 3:
        ShowWarning(tr("今天您已经签退了！"));
        break;
    case 4:
        ShowWarning(tr("连续扫描签到卡！"));
        break;
    default:
        ShowWarning(tr("系统错误！"));
        break;
    }
}

// The next person may scan while the warning is up: the box closes by itself
// after WarningCloseMs, and the keys typed into it are gathered as on the
// screen, so that a card scanned into it closes it and waits in the queue,
// greeted once this scan's handling ends. A lone Enter, Escape or a blank
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
    MsgBox::ShowMessage(this, text, tr("警告"), MsgBox::Icon::Exclamation, MsgBox::Buttons::Ok,
                        {WarningCloseMs, scanIntoBox});
    if (isVisible())
        TakeKeyboard();
}
