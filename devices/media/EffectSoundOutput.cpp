#include "devices/media/EffectSoundOutput.h"

#include <QSoundEffect>
#include <QUrl>

EffectSoundOutput::EffectSoundOutput(const QStringList& sources) {
    for (const QString& source : sources) {
        auto effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl(source));
        m_effects.push_back(std::move(effect));
    }
}

EffectSoundOutput::~EffectSoundOutput() = default;

void EffectSoundOutput::Play(int index) {
    if (index < 0 || size_t(index) >= m_effects.size())
        return;
    // A new sound cuts the one before short: the latest scan is heard.
    Stop();
    QSoundEffect& effect = *m_effects[size_t(index)];
    if (effect.status() != QSoundEffect::Error)
        effect.play();
}

void EffectSoundOutput::Stop() {
    for (const auto& effect : m_effects)
        effect->stop();
}
