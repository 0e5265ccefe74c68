#pragma once

#include <QStringList>

// The sound output inside the media module (attendance-media), as the program
// sees it across the module's boundary: a plain interface without Qt's object
// model, made by the module's function attendance_media_sound from a list of
// sound files (Qt URLs, "qrc:/sound/arrival.wav") and deleted by its owner.
// The sounds load in the background; playing never waits.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Starts sound `index` of the list, cutting short the one playing; a sound
    // that failed to load is left out.
    virtual void Play(int index) = 0;
    // Stops whatever plays.
    virtual void Stop() = 0;
};

// The module's sound factory: null without an audio output device.
using SoundOutputFactory = SoundOutput* (*)(const QStringList& sources);
