#pragma once

#include "devices/media/CameraBackend.h"
#include "devices/media/SoundOutput.h"

#include <memory>

// The program's side of the media module attendance-media: loaded from the
// program's folder when first asked for (never at start-up, as Qt Multimedia
// and the libraries it brings cost every start), and kept loaded. Without the
// module there is no camera and no sound, and nothing is said.
namespace MediaModule {

// The default video input; null without the module.
std::unique_ptr<CameraBackend> OpenCamera(const CameraBackend::Handlers& handlers);
// The sounds `sources` on the default audio output; null without the module
// or without an audio output device.
std::unique_ptr<SoundOutput> OpenSound(const QStringList& sources);

} // namespace MediaModule
