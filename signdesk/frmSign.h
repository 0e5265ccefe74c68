#pragma once

#include "shared/records/clsPresence.h"
#include "signdesk/ScanInput.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <array>
#include <future>

class QLabel;
class QLineEdit;
class QTimer;
class QKeyEvent;
class SoundPlayer;
class ScanService;
struct ScanOutcome;

// The sign-in screen that employees face. A barcode scanner acting as a
// keyboard types the card's barcode and a terminator (Enter, Tab, CR or LF);
// the window gathers the keys (ScanInput) and hands each barcode, with the
// time of its end key, to the station's scan service (ScanService), which
// finds the employee and records the arrival or departure, on the database
// file by a thread of its own or, on a server, through the station's
// journal. The window
// shows each outcome: photo, name, department and a greeting for ten
// seconds, or the message of a refused scan. Between scans it shows the idle
// texts, the clock and a looping waiting animation. A short sound tells an
// arrival, a departure and a refused scan apart ([OTHER] SOUND=0: none).
//
// Every key reaches the window whichever child has the focus; keys are only
// appended to a text, all database work waits for Enter, and nothing in the
// scan path spins an event loop except the modal warning boxes. A scan
// greeted from the station's copy while the server is away is marked "离线".
class frmSign : public QDialog {
    Q_OBJECT

public:
    explicit frmSign(QWidget* parent = nullptr);
    ~frmSign() override;

    static constexpr int ClientWidth = 468;
    static constexpr int ClientHeight = 234;
    static constexpr int WaitFrameCount = 60;
    // A pause between two keys of at least this long starts a new barcode.
    static constexpr qint64 KeyPauseMs = ScanInput::KeyPauseMs;

    // A warning box closes by itself this long after it opened.
    static constexpr int WarningCloseMs = 5000;

    // Scans are greeted from the station's copy (the server is away).
    bool Offline() const;
    // Scans gathered but not greeted yet.
    int PendingScans() const;
    // The road of the scans behind the window.
    ScanService* Service() const { return m_service; }

    // The built-in picture (295 x 233) shown where no picture can be read.
    QPixmap DefaultPicture() const { return defaultPicture(); }

signals:
    // A known card was scanned: its clsPresence::State and the record as
    // written (number, name, the time written), for today's list; no state:
    // the list is read anew.
    void onUpdatePresenceList(qint16 state = 0, const clsPresence& record = clsPresence());

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void TimerDspWait_Timer();
    void TimerDspInfo_Timer();
    void TimerDspTime_Timer();

private:
    void buildControls();
    void Form_Load();
    void ShowIdleInfo();
    void LoadWaitImages();
    void ShowHeadImage();
    void ShowTime();

    void HandleKeyText(const QKeyEvent* event);
    void HandleEnter(const QString& gathered, qint64 keyTimeMs);
    void ShowScanResult(const ScanOutcome& outcome);
    void ShowWarning(const QString& text);
    void TakeKeyboard();
    void SetLabelText(QLabel* label, const QString& text);

    QLabel* imgHead = nullptr;
    std::array<QLabel*, WaitFrameCount> imgWait{};
    QLabel* lblWelcome = nullptr;
    QLineEdit* txtBarCode = nullptr;
    QLabel* lblName = nullptr;
    QLabel* lblJob = nullptr;
    QLabel* lblTime = nullptr;
    QTimer* TimerDspWait = nullptr;
    QTimer* TimerDspInfo = nullptr;
    QTimer* TimerDspTime = nullptr;
    QLabel* lblOffline = nullptr;
    SoundPlayer* m_sounds = nullptr;
    ScanService* m_service = nullptr;

    // The built-in picture, decoded on a thread of its own from the
    // window's construction (with its copy scaled to the picture box, which
    // stands in for missing waiting frames) while the main window is built
    // and painted; taken over at the first use.
    struct DefaultPictures {
        QImage picture, boxed;
    };
    const QPixmap& defaultPicture() const;
    void takeDefaultPictures() const;
    mutable std::future<DefaultPictures> m_picturesLoad;
    mutable QPixmap m_defaultPicture, m_boxedDefault;

    // The scanner's keys gathered into barcodes.
    ScanInput m_scanInput;
    // Index of the waiting frame shown last (0 to 59).
    qint16 miWaitFrame = 0;
};
