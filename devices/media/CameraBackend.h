#pragma once

#include <QImage>

#include <functional>

// A video input inside the media module (attendance-media), as the program
// sees it across the module's boundary: a plain interface without Qt's object
// model, made by the module's function attendance_media_camera and deleted by
// its owner. The camera keeps running while the owner wants no pictures, so
// that a camera unplugged meanwhile is still noticed; a camera plugged in
// later is opened when it appears. Everything runs on the thread that made it.
class CameraBackend {
public:
    struct Handlers {
        // Whether the next frame is wanted as a picture; while false, frames
        // are not converted and not passed on.
        std::function<bool()> wantsFrame;
        // A frame from the device.
        std::function<void(const QImage&)> frameArrived;
        // The device went away or failed.
        std::function<void()> deviceLost;
    };

    virtual ~CameraBackend() = default;

    // Whether a video input is open.
    virtual bool HasDevice() const = 0;
};

// The module's camera factory: never null.
using CameraBackendFactory = CameraBackend* (*)(const CameraBackend::Handlers& handlers);
