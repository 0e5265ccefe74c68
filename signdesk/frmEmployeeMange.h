#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <memory>

class CameraSource;
class CameraView;
class QTemporaryDir;
class QTimer;

namespace Ui {
class frmEmployeeMange;
}

// Enrolment of a new employee at the station: name, post and a camera photo
// are written to a new-employee file; the database is not touched. The
// office program gives the employee a number and a barcode later.
class frmEmployeeMange : public QDialog {
    Q_OBJECT

public:
    explicit frmEmployeeMange(QWidget* parent = nullptr);
    ~frmEmployeeMange() override;

    CameraSource* camera() const { return m_camera; }
    // Where "tmp.bmp" and "tmp.jpg" go: the program directory when they can
    // be written there, else a private folder of this window (a station
    // installed read-only). Empty when neither is usable.
    QString TempFolder();

    static constexpr int ClockInterval = 1000;

private slots:
    void TimerDspTime_Timer();
    void cmdAddNew_Click();
    void cmdAppend_Click();

private:
    void FillKinds();
    void StartClock();
    void ShowTime();
    void SetInputEnabled(bool e);
    bool Validate();
    QString AskFileName();
    // The save steps after validation; the caller removes the temporary files.
    void SaveEmployee(const QString& bitmapPath, const QString& photoPath);

    std::unique_ptr<Ui::frmEmployeeMange> ui;
    QTimer* TimerDspTime = nullptr;
    CameraSource* m_camera = nullptr;
    CameraView* ezVidCap = nullptr;
    QDateTime m_shownTime; // the date-time lblEnterTime shows
    std::unique_ptr<QTemporaryDir> m_privateTemp;
};
