#pragma once

#include <QObject>
#include <array>

class QSoundEffect;

// The station's three short sounds, played through Qt Multimedia. Playing
// never waits: the sounds are loaded once, in the background, and a sound
// that cannot be played (no audio device, not loaded yet) is silently left
// out. A player made switched off, or without an audio device, plays
// nothing and opens no device.
class SoundPlayer : public QObject {
    Q_OBJECT

public:
    enum class Cue { Arrival, Departure, Refused };

    SoundPlayer(bool on, QObject* parent = nullptr);
    ~SoundPlayer() override;

    bool IsOn() const { return m_on; }
    void Play(Cue cue);

    // The resource of a cue's sound ("qrc:/sound/arrival.wav").
    static QString Source(Cue cue);

signals:
    // Every request, also when switched off: what the station meant to sound.
    void cueRequested(SoundPlayer::Cue cue);

private:
    bool m_on;
    std::array<QSoundEffect*, 3> m_effects{};
};
