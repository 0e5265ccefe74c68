#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QTimer;
class QKeyEvent;

// The sign-in screen that employees face. A barcode scanner acting as a
// keyboard types the card's barcode and Enter; the window gathers the keys,
// finds the employee, records the arrival or departure and shows photo,
// name, department and a greeting for ten seconds. Between scans it shows the
// idle texts, the clock and a looping waiting animation.
//
// Every key reaches the window whichever child has the focus; keys are only
// appended to a text, all database work waits for Enter, and nothing in the
// scan path spins an event loop except the modal warning boxes.
class frmSign : public QDialog {
    Q_OBJECT

public:
    explicit frmSign(QWidget* parent = nullptr);
    ~frmSign() override;

    static constexpr int ClientWidth = 468;
    static constexpr int ClientHeight = 234;
    static constexpr int WaitFrameCount = 60;
    // A pause between two keys of at least this long starts a new barcode.
    static constexpr qint64 KeyPauseMs = 2000;

    // The built-in picture (295 x 233) shown where no picture can be read.
    QPixmap DefaultPicture() const { return m_defaultPicture; }

signals:
    // A known card was scanned: today's list should be rebuilt.
    void onUpdatePresenceList();

protected:
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
    void HandleCharacter(QChar c);
    void HandleEnter();
    void ShowWarning(const QString& text);

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

    QPixmap m_defaultPicture;

    // The barcode gathered so far; empty at start and after every Enter.
    QString mstrBarCode;
    // Clock milliseconds of the previous key other than Enter; none yet at start.
    std::optional<qint64> mdtLastKey;
    // Index of the waiting frame shown last (0 to 59).
    qint16 miWaitFrame = 0;
};
