// Writes the station's sounds as WAV files (16-bit mono, 22050 Hz), run at
// build time: soundgen OUTDIR. Each sound is a few notes of a sine tone,
// faded in and out so that it does not click.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <numbers>

namespace {

constexpr int kRate = 22050;

struct Note {
    double hertz;
    double seconds;
};

void appendLittle(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray samples(std::initializer_list<Note> notes, double volume) {
    QByteArray pcm;
    for (const Note& note : notes) {
        const int count = int(note.seconds * kRate);
        const int fade = kRate / 200; // 5 ms
        for (int i = 0; i < count; ++i) {
            const double envelope = std::min({1.0, double(i) / fade, double(count - i) / fade});
            const double value =
                volume * envelope * std::sin(2 * std::numbers::pi * note.hertz * i / kRate);
            appendLittle(pcm, quint32(qint16(std::lround(value * 32767))) & 0xFFFF, 2);
        }
    }
    return pcm;
}

QByteArray wav(const QByteArray& pcm) {
    QByteArray out("RIFF");
    appendLittle(out, quint32(36 + pcm.size()), 4);
    out.append("WAVEfmt ");
    appendLittle(out, 16, 4);        // format chunk size
    appendLittle(out, 1, 2);         // PCM
    appendLittle(out, 1, 2);         // mono
    appendLittle(out, kRate, 4);     // samples a second
    appendLittle(out, kRate * 2, 4); // bytes a second
    appendLittle(out, 2, 2);         // bytes a sample
    appendLittle(out, 16, 2);        // bits a sample
    out.append("data");
    appendLittle(out, quint32(pcm.size()), 4);
    return out + pcm;
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        return true;
    std::fprintf(stderr, "soundgen: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen OUTDIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    // Arrival rises, departure falls, a refused scan is one low tone.
    const bool ok = write(dir.filePath(QStringLiteral("arrival.wav")),
                          wav(samples({{660, 0.09}, {990, 0.14}}, 0.6))) &&
                    write(dir.filePath(QStringLiteral("departure.wav")),
                          wav(samples({{990, 0.09}, {660, 0.14}}, 0.6))) &&
                    write(dir.filePath(QStringLiteral("refused.wav")),
                          wav(samples({{220, 0.12}, {0, 0.04}, {220, 0.12}}, 0.7)));
    return ok ? 0 : 1;
}
