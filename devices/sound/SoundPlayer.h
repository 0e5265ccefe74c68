#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class SoundOutput;

// The station's three short sounds, played through the media module's sound
// output (Qt Multimedia). Playing never waits: the module is loaded, the audio
// output opened and the sounds loaded in the background after start-up, and a
// sound that cannot be played (no module, no audio device, not loaded yet) is
// silently left out. A player made switched off plays nothing, loads nothing
// and opens no device.
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

    // How long after it is made a player switched on opens its output.
    static constexpr int OpenDelayMs = 500;

signals:
    // Every request, also when switched off: what the station meant to sound.
    void cueRequested(SoundPlayer::Cue cue);

private:
    void openOutput();

    bool m_on;
    std::unique_ptr<SoundOutput> m_output;
};
