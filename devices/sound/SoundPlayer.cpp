#include "devices/sound/SoundPlayer.h"

#include "devices/media/MediaModule.h"

#include <QTimer>

SoundPlayer::SoundPlayer(bool on, QObject* parent) : QObject(parent), m_on(on) {
    setObjectName(QStringLiteral("soundPlayer"));
    // The module and the audio output (connecting to the sound server) take
    // their time: opened by a timer started here rather than here, so the
    // station's start-up and the sign-in screen's first paint come first. A
    // timer needs nothing of the window that owns the player; a scan within
    // the delay goes unheard, as one before the sounds are loaded does.
    if (m_on)
        QTimer::singleShot(OpenDelayMs, this, &SoundPlayer::openOutput);
}

SoundPlayer::~SoundPlayer() {
    if (m_output)
        m_output->Stop();
}

void SoundPlayer::openOutput() {
    m_output = MediaModule::OpenSound(
        {Source(Cue::Arrival), Source(Cue::Departure), Source(Cue::Refused)});
}

void SoundPlayer::Play(Cue cue) {
    emit cueRequested(cue);
    if (!m_output)
        return;
    // Started from the event loop, once the scan's result is on the screen:
    // opening the audio stream never holds up a scan.
    QTimer::singleShot(0, this, [this, cue] { m_output->Play(int(cue)); });
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
