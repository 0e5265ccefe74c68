// jpegenc IN OUT [-q Q] [-s H1xV1,H2xV2,H3xV3] [-c COMMENT]
// Encodes any picture Qt reads into a baseline JPEG file with cJpeg. PPM, PGM
// and uncompressed BMP files (and pipes) are streamed into the encoder a band
// of rows at a time, without a bitmap of the whole picture, and the file is
// written as it is coded: memory stays bounded whatever the picture's size.
// Pictures above PictureFileReader's limits are refused, naming size and limit.
// The program needs Qt Core only; the other formats are read by Qt's picture
// readers in the module jpegenc-qtreader beside it, loaded for them alone.
#include "imaging/PictureFileReader.h"
#include "imaging/cJpeg.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <memory>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "jpegenc: %s\n", qPrintable(message));
    return 1;
}

int usage() {
    return fail("usage: jpegenc IN OUT [-q Q] [-s H1xV1,H2xV2,H3xV3] [-c COMMENT]");
}

// Takes the options into the encoder and the file names into `files`;
// returns the exit code of a wrong command line, or -1.
int parseArguments(const QStringList& args, cJpeg& jpeg, QStringList& files) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a != "-q" && a != "-s" && a != "-c") {
            if (a.startsWith('-') && a.size() > 1)
                return usage();
            files << a;
            continue;
        }
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
    }
    return files.size() == 2 ? -1 : usage();
}

// Any other picture, whole through Qt's readers (in a module of their own,
// as they bring Qt Gui), its size checked first.
int sampleThroughQt(const QString& name, cJpeg& jpeg) {
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/jpegenc-qtreader"));
    using Open = RowSource* (*)(const QString&, Error*);
    const auto open = reinterpret_cast<Open>(module.resolve("attendance_jpegenc_open"));
    if (!open)
        return fail(QStringLiteral("cannot read %1: %2").arg(name, module.errorString()));
    Error error;
    const std::unique_ptr<RowSource> rows(open(name, &error));
    if (!rows)
        return fail(error.Text());
    if (jpeg.SampleRows(*rows) != 0)
        return fail(QStringLiteral("cannot encode %1: %2").arg(name, jpeg.ErrorString()));
    return 0;
}

int sampleInput(const QString& name, cJpeg& jpeg) {
    QFile input(name);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(QStringLiteral("cannot read %1: %2").arg(name, input.errorString()));
    // PPM, PGM and BMP go band by band from the file into the encoder.
    PictureFileReader reader(input);
    switch (reader.ReadHeader()) {
    case PictureFileReader::Read:
        if (jpeg.SampleRows(reader) != 0)
            return fail(QStringLiteral("cannot encode %1: %2").arg(name, jpeg.ErrorString()));
        return 0;
    case PictureFileReader::Failed:
        return fail(QStringLiteral("cannot read %1: %2").arg(name, reader.Error()));
    case PictureFileReader::NotHandled:
        break;
    }
    input.close();
    return sampleThroughQt(name, jpeg);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList files;
    cJpeg jpeg;
    try {
        if (const int code = parseArguments(app.arguments().mid(1), jpeg, files); code >= 0)
            return code;
        if (sampleInput(files[0], jpeg) != 0)
            return 1;
        switch (jpeg.SaveFile(files[1])) {
        case cJpeg::SaveOk:
            return 0;
        case cJpeg::SaveEmptyName:
            return fail(QStringLiteral("empty output file name"));
        case cJpeg::SaveFileExists:
            return fail(QStringLiteral("%1 already exists; not overwritten").arg(files[1]));
        default:
            return fail(QStringLiteral("cannot write %1: %2").arg(files[1], jpeg.ErrorString()));
        }
    } catch (const cJpegError& e) {
        return fail(QString::fromLatin1(e.what()));
    }
}
