#include "devices/media/MultimediaCamera.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>

namespace {

// The picture of the enrolment window is 640 x 480: a camera that offers that
// size is asked for it (at its best frame rate); otherwise it keeps its own.
QCameraFormat preferredFormat(const QCameraDevice& device) {
    QCameraFormat best;
    for (const QCameraFormat& f : device.videoFormats()) {
        if (f.resolution() != QSize(640, 480))
            continue;
        if (best.isNull() || f.maxFrameRate() > best.maxFrameRate())
            best = f;
    }
    return best;
}

} // namespace

MultimediaCamera::MultimediaCamera(const CameraBackend::Handlers& handlers)
    : m_handlers(handlers), m_devices(new QMediaDevices(this)),
      m_session(new QMediaCaptureSession(this)), m_sink(new QVideoSink(this)) {
    m_session->setVideoSink(m_sink);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &MultimediaCamera::frameArrived);
    connect(m_devices, &QMediaDevices::videoInputsChanged, this, &MultimediaCamera::inputsChanged);
    openDefault();
}

MultimediaCamera::~MultimediaCamera() {
    // Stop the device before the session and sink go.
    close();
}

void MultimediaCamera::openDefault() {
    const QCameraDevice device = QMediaDevices::defaultVideoInput();
    if (device.isNull())
        return;
    m_deviceId = device.id();
    m_camera = new QCamera(device, this);
    const QCameraFormat format = preferredFormat(device);
    if (!format.isNull())
        m_camera->setCameraFormat(format);
    connect(m_camera, &QCamera::errorOccurred, this, [this](QCamera::Error error) {
        if (error != QCamera::NoError) {
            close();
            m_handlers.deviceLost();
        }
    });
    m_session->setCamera(m_camera);
    m_camera->start();
}

void MultimediaCamera::close() {
    if (!m_camera)
        return;
    QCamera* camera = m_camera;
    m_camera = nullptr;
    m_deviceId.clear();
    camera->disconnect(this);
    camera->stop();
    m_session->setCamera(nullptr);
    // It may be the sender of the signal being handled.
    camera->deleteLater();
}

void MultimediaCamera::inputsChanged() {
    if (m_camera) {
        for (const QCameraDevice& d : QMediaDevices::videoInputs())
            if (d.id() == m_deviceId)
                return;
        close();
        m_handlers.deviceLost();
    }
    openDefault();
}

void MultimediaCamera::frameArrived(const QVideoFrame& frame) {
    if (!m_camera || !frame.isValid())
        return;
    // While the owner's picture is frozen only the presence counts: no need
    // to convert the frame.
    if (!m_handlers.wantsFrame())
        return;
    m_handlers.frameArrived(frame.toImage());
}
