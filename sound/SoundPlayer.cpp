#include "sound/SoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

SoundPlayer::SoundPlayer(bool on, QObject* parent) : QObject(parent), m_on(on) {
    setObjectName(QStringLiteral("soundPlayer"));
    // Without an audio device the player stays quiet.
    if (!m_on || QMediaDevices::defaultAudioOutput().isNull())
        return;
    for (const Cue cue : {Cue::Arrival, Cue::Departure, Cue::Refused}) {
        auto* effect = new QSoundEffect(this);
        effect->setSource(QUrl(Source(cue)));
        m_effects[size_t(cue)] = effect;
    }
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::Play(Cue cue) {
    emit cueRequested(cue);
    QSoundEffect* effect = m_effects[size_t(cue)];
    if (!effect)
        return;
    // Started from the event loop, once the scan's result is on the screen:
    // opening the audio stream never holds up a scan.
    QTimer::singleShot(0, effect, [this, effect] {
        // A new sound cuts the one before short: the latest scan is heard.
        for (QSoundEffect* other : m_effects)
            other->stop();
        if (effect->status() != QSoundEffect::Error)
            effect->play();
    });
}

QString SoundPlayer::Source(Cue cue) {
    switch (cue) {
    case Cue::Arrival:
        return QStringLiteral("qrc:/sound/arrival.wav");
    case Cue::Departure:
        return QStringLiteral("qrc:/sound/departure.wav");
    case Cue::Refused:
        break;
    }
    return QStringLiteral("qrc:/sound/refused.wav");
}
