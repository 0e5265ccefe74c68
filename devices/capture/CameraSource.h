#pragma once

#include <QImage>
#include <QObject>
#include <QString>

// The station's video camera as the enrolment window sees it: whether a camera
// is present, the current frame saved as a Windows bitmap, and the live
// picture switched on or frozen on its last frame. Implementations feed their
// frames in through deliverFrame and report a vanished device with deviceLost.
class CameraSource : public QObject {
    Q_OBJECT

public:
    explicit CameraSource(QObject* parent = nullptr);

    // True while a video input exists and has delivered a frame.
    bool isPresent() const { return m_present; }
    // Writes the picture shown (the frozen one while the preview is off) as a
    // 24-bit Windows bitmap; false without a camera or when the file cannot be
    // written. An existing file is replaced.
    bool saveFrame(const QString& path) const;
    // Live picture on (true) or frozen on the last frame shown (false).
    bool preview() const { return m_preview; }
    void setPreview(bool on);
    // The picture shown; null before the first frame and after the camera
    // went away while live.
    QImage frame() const { return m_frame; }

signals:
    void frameChanged(const QImage& frame);
    void presentChanged(bool present);

protected:
    // A new frame from the device: the camera becomes present, and the
    // picture shown follows it while the preview is live.
    void deliverFrame(const QImage& frame);
    // The device went away: not present any more; a live picture goes blank,
    // a frozen one stays.
    void deviceLost();
    // Called after the preview was switched.
    virtual void previewSwitched(bool /*on*/) {}

private:
    void setPresent(bool present);

    QImage m_frame;
    bool m_present = false;
    bool m_preview = true;
};

// The still-picture camera when the environment variable SIGNDESK_CAMERA
// names a picture file or a folder, else the default video input through the
// media module (MediaCamera). The result belongs to parent.
CameraSource* CreateCameraSource(QObject* parent);
