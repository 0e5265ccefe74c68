// jpegenc IN OUT [-q Q] [-s H1xV1,H2xV2,H3xV3] [-c COMMENT]
// Encodes any picture Qt reads into a baseline JPEG file with cJpeg. PPM, PGM
// and uncompressed BMP files are streamed into the encoder a band of rows at a
// time, without a bitmap of the whole picture.
#include "imaging/PictureFileReader.h"
#include "imaging/cImage.h"
#include "imaging/cJpeg.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "jpegenc: %s\n", qPrintable(message));
    return 1;
}

int usage() {
    return fail("usage: jpegenc IN OUT [-q Q] [-s H1xV1,H2xV2,H3xV3] [-c COMMENT]");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QStringList files;
    cJpeg jpeg;
    try {
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (a == "-q" || a == "-s" || a == "-c") {
                if (i + 1 >= args.size())
                    return usage();
                const QString value = args[++i];
                if (a == "-q") {
                    bool ok = false;
                    const int q = value.toInt(&ok);
                    if (!ok || q < 1 || q > 100)
                        return fail(QStringLiteral("quality must be 1 to 100: %1").arg(value));
                    jpeg.setQuality(q);
                } else if (a == "-s") {
                    static const QRegularExpression re(
                        QStringLiteral("^(\\d)x(\\d),(\\d)x(\\d),(\\d)x(\\d)$"));
                    const QRegularExpressionMatch m = re.match(value);
                    if (!m.hasMatch())
                        return fail(QStringLiteral("bad sampling: %1").arg(value));
                    int f[6];
                    for (int k = 0; k < 6; ++k)
                        f[k] = m.captured(k + 1).toInt();
                    jpeg.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
                } else {
                    jpeg.setComment(value);
                }
            } else if (a.startsWith('-') && a.size() > 1) {
                return usage();
            } else {
                files << a;
            }
        }
        if (files.size() != 2)
            return usage();

        QFile input(files[0]);
        if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return fail(QStringLiteral("cannot read %1: %2").arg(files[0], input.errorString()));
        // PPM, PGM and BMP go band by band from the file into the encoder.
        PictureFileReader reader(input);
        switch (reader.ReadHeader()) {
        case PictureFileReader::Read:
            if (jpeg.SampleRows(reader) != 0)
                return fail(
                    reader.Error().isEmpty()
                        ? QStringLiteral("cannot sample the picture")
                        : QStringLiteral("cannot read %1: %2").arg(files[0], reader.Error()));
            break;
        case PictureFileReader::Failed:
            return fail(QStringLiteral("cannot read %1: %2").arg(files[0], reader.Error()));
        case PictureFileReader::NotHandled: {
            input.close();
            QImageReader qtReader(files[0]);
            const QImage picture = qtReader.read();
            if (picture.isNull())
                return fail(
                    QStringLiteral("cannot read %1: %2").arg(files[0], qtReader.errorString()));
            cImage image;
            if (!image.CopyStdPicture(picture, 24))
                return fail(QStringLiteral("cannot hold a %1x%2 picture")
                                .arg(picture.width())
                                .arg(picture.height()));
            if (jpeg.SampleHDC(image.hDC(), image.Width(), image.Height(), 0, 0) != 0)
                return fail(QStringLiteral("cannot sample the picture"));
        }
        }
        input.close();
        switch (jpeg.SaveFile(files[1])) {
        case cJpeg::SaveOk:
            return 0;
        case cJpeg::SaveEmptyName:
            return fail(QStringLiteral("empty output file name"));
        case cJpeg::SaveFileExists:
            return fail(QStringLiteral("%1 already exists; not overwritten").arg(files[1]));
        default:
            return fail(QStringLiteral("cannot write %1").arg(files[1]));
        }
    } catch (const cJpegError& e) {
        return fail(QString::fromLatin1(e.what()));
    }
}
