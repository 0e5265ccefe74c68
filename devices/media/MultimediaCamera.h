#pragma once

#include "devices/media/CameraBackend.h"

#include <QByteArray>
#include <QObject>

class QCamera;
class QMediaCaptureSession;
class QMediaDevices;
class QVideoFrame;
class QVideoSink;

// The default video input through Qt Multimedia, inside the media module.
// The QObject base is the module's own (the receiver of Qt Multimedia's
// signals); the program sees the CameraBackend only.
class MultimediaCamera final : public QObject, public CameraBackend {
public:
    explicit MultimediaCamera(const CameraBackend::Handlers& handlers);
    ~MultimediaCamera() override;

    bool HasDevice() const override { return m_camera != nullptr; }

private:
    void openDefault();
    void close();
    void inputsChanged();
    void frameArrived(const QVideoFrame& frame);

    CameraBackend::Handlers m_handlers;
    QMediaDevices* m_devices;
    QMediaCaptureSession* m_session;
    QVideoSink* m_sink;
    QCamera* m_camera = nullptr;
    QByteArray m_deviceId;
};
