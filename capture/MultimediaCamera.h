#pragma once

#include "capture/CameraSource.h"

#include <QByteArray>

class QCamera;
class QMediaCaptureSession;
class QMediaDevices;
class QVideoFrame;
class QVideoSink;

// The default video input through Qt Multimedia. The camera keeps running
// while the preview is frozen, so that a camera unplugged meanwhile is still
// noticed; a camera plugged in later is opened when it appears.
class MultimediaCamera : public CameraSource {
    Q_OBJECT

public:
    explicit MultimediaCamera(QObject* parent = nullptr);
    ~MultimediaCamera() override;

    // Whether a video input is open (present once it has delivered a frame).
    bool hasDevice() const { return m_camera != nullptr; }

private:
    void openDefault();
    void close();
    void inputsChanged();
    void frameArrived(const QVideoFrame& frame);

    QMediaDevices* m_devices;
    QMediaCaptureSession* m_session;
    QVideoSink* m_sink;
    QCamera* m_camera = nullptr;
    QByteArray m_deviceId;
};
