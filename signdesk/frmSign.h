#pragma once

#include "shared/records/clsPresence.h"
#include "signdesk/ScanInput.h"

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <array>
#include <deque>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QTimer;
class QKeyEvent;
class clsEmployee;
class SoundPlayer;
class PhotoDecoder;
class OfflineStation;
class CopyRefresher;

// The sign-in screen that employees face. A barcode scanner acting as a
// keyboard types the card's barcode and a terminator (Enter, Tab, CR or LF);
// the window gathers the keys (ScanInput),
// finds the employee, records the arrival or departure and shows photo,
// name, department and a greeting for ten seconds. Between scans it shows the
// idle texts, the clock and a looping waiting animation. A short sound tells
// an arrival, a departure and a refused scan apart ([OTHER] SOUND=0: none).
//
// Every key reaches the window whichever child has the focus; keys are only
// appended to a text, all database work waits for Enter, and nothing in the
// scan path spins an event loop except the modal warning boxes.
//
// While another program holds the database, scans wait in a queue and are
// retried from a timer, each attempt waiting for the lock only briefly: the
// window keeps its clock and animation going and gathers further cards,
// which are recorded in scan order once the database is free. Only a scan
// that has waited longer than DbWaitLimitMs ends in its failure message.
//
// On a server the station keeps a copy of the employees and today's records
// (refreshed in the background) and a journal (OfflineStation, both in the
// data folder): while the server cannot be reached a scan is greeted from
// the copy, marked "离线" and journalled; the journal goes to the server in
// scan order once it answers again (tried every OfflineRetryMs).
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
    // How long one attempt waits for a locked database, how often a waiting
    // scan is tried again, and how long it may wait in all.
    static constexpr int DbLockWaitMs = 50;
    static constexpr int DbRetryMs = 50;
    static constexpr qint64 DbWaitLimitMs = 30000;

    // A warning box closes by itself this long after it opened.
    static constexpr int WarningCloseMs = 5000;

    static constexpr int OfflineRetryMs = 5000;
    static constexpr int CopyRefreshMs = 5 * 60 * 1000;
    // Scans are greeted from the station's copy (the server is away).
    bool Offline() const { return m_offline; }

    // Scans gathered but not recorded yet (the database was busy).
    int PendingScans() const { return int(m_pending.size()); }

    // The built-in picture (295 x 233) shown where no picture can be read.
    QPixmap DefaultPicture() const { return m_defaultPicture; }

signals:
    // A known card was scanned: its clsPresence::State and the record as
    // written (number, name, the time written), for today's list.
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
    void TimerDbRetry_Timer();
    void TimerOffline_Timer();
    void TimerCopy_Timer();

private:
    void buildControls();
    void Form_Load();
    void ShowIdleInfo();
    void LoadWaitImages();
    void ShowHeadImage();
    void ShowTime();

    void HandleKeyText(const QKeyEvent* event);
    void HandleEnter(const QString& gathered);
    void ProcessPendingScans();
    bool RecordScan(const QString& barcode, bool lastTry, clsEmployee& employee, qint16& found,
                    qint16& result);
    void SetUpOffline();
    void SetOffline(bool offline);
    bool ReplayJournal();
    void RecordOffline(const QString& barcode, clsEmployee& employee, qint16& found,
                       qint16& result);
    void ShowScanResult(const clsEmployee& employee, qint16 found, qint16 result);
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
    QTimer* TimerDbRetry = nullptr;
    QTimer* TimerOffline = nullptr;
    QTimer* TimerCopy = nullptr;
    QLabel* lblOffline = nullptr;
    SoundPlayer* m_sounds = nullptr;
    PhotoDecoder* m_photos = nullptr;

    QPixmap m_defaultPicture;

    // The scanner's keys gathered into barcodes.
    ScanInput m_scanInput;
    // Index of the waiting frame shown last (0 to 59).
    qint16 miWaitFrame = 0;

    // Scans in order, each with the clock milliseconds of its Enter.
    struct PendingScan {
        QString barcode;
        qint64 scannedAt = 0;
    };
    std::deque<PendingScan> m_pending;
    // A scan is being recorded or its message is open.
    bool m_inScan = false;
    // The record the last scan wrote.
    clsPresence m_recorded;

    // The copy and the journal (server only), the copy's background refresh.
    std::unique_ptr<OfflineStation> m_station;
    CopyRefresher* m_refresher = nullptr;
    bool m_offline = false;
    // The photo of a scan greeted from the copy.
    std::optional<QByteArray> m_offlinePhoto;
};
