// The media module attendance-media: the station's one part linking Qt
// Multimedia, loaded by the program when it first needs a camera or its
// sounds (devices/media/MediaModule), so the program starts without Qt
// Multimedia's libraries. Only plain interfaces cross its boundary.
#include "devices/media/EffectSoundOutput.h"
#include "devices/media/MultimediaCamera.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include <memory>
#include <type_traits>

extern "C" Q_DECL_EXPORT CameraBackend*
attendance_media_camera(const CameraBackend::Handlers& handlers) {
    return std::make_unique<MultimediaCamera>(handlers).release();
}

// Without an audio output device: none (the station stays quiet).
extern "C" Q_DECL_EXPORT SoundOutput* attendance_media_sound(const QStringList& sources) {
    if (QMediaDevices::defaultAudioOutput().isNull())
        return nullptr;
    return std::make_unique<EffectSoundOutput>(sources).release();
}

// The program calls them through these types.
static_assert(std::is_same_v<decltype(&attendance_media_camera), CameraBackendFactory>);
static_assert(std::is_same_v<decltype(&attendance_media_sound), SoundOutputFactory>);
