#pragma once

#include "devices/media/SoundOutput.h"

#include <memory>
#include <vector>

class QSoundEffect;

// The station's sounds through Qt Multimedia's sound effects on the default
// audio output, inside the media module: each file loaded once, in the
// background, when made.
class EffectSoundOutput final : public SoundOutput {
public:
    explicit EffectSoundOutput(const QStringList& sources);
    ~EffectSoundOutput() override;

    void Play(int index) override;
    void Stop() override;

private:
    std::vector<std::unique_ptr<QSoundEffect>> m_effects;
};
