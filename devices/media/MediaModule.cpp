#include "devices/media/MediaModule.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

// A function of the module, loading it the first time; QLibrary keeps it
// loaded after its handle goes (the objects made by it live on).
template <typename Function> Function resolve(const char* symbol) {
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/attendance-media"));
    return reinterpret_cast<Function>(module.resolve(symbol));
}

} // namespace

namespace MediaModule {

std::unique_ptr<CameraBackend> OpenCamera(const CameraBackend::Handlers& handlers) {
    const auto open = resolve<CameraBackendFactory>("attendance_media_camera");
    return std::unique_ptr<CameraBackend>(open ? open(handlers) : nullptr);
}

std::unique_ptr<SoundOutput> OpenSound(const QStringList& sources) {
    const auto open = resolve<SoundOutputFactory>("attendance_media_sound");
    return std::unique_ptr<SoundOutput>(open ? open(sources) : nullptr);
}

} // namespace MediaModule
