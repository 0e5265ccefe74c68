#include "devices/capture/MediaCamera.h"

#include "devices/media/MediaModule.h"

MediaCamera::MediaCamera(QObject* parent) : CameraSource(parent) {
    CameraBackend::Handlers handlers;
    // While frozen only the presence counts.
    handlers.wantsFrame = [this] { return preview() || !isPresent(); };
    handlers.frameArrived = [this](const QImage& frame) { deliverFrame(frame); };
    handlers.deviceLost = [this] { deviceLost(); };
    m_backend = MediaModule::OpenCamera(handlers);
}

MediaCamera::~MediaCamera() = default;
