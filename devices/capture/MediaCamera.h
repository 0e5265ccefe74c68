#pragma once

#include "devices/capture/CameraSource.h"
#include "devices/media/CameraBackend.h"

#include <memory>

// The default video input of the media module (Qt Multimedia, loaded when
// this camera is made). The camera keeps running while the preview is
// frozen, so that a camera unplugged meanwhile is still noticed; a camera
// plugged in later is opened when it appears. Without the module the camera
// is simply absent, as without a video input.
class MediaCamera : public CameraSource {
    Q_OBJECT

public:
    explicit MediaCamera(QObject* parent = nullptr);
    ~MediaCamera() override;

    // Whether a video input is open (present once it has delivered a frame).
    bool hasDevice() const { return m_backend && m_backend->HasDevice(); }

private:
    std::unique_ptr<CameraBackend> m_backend;
};
