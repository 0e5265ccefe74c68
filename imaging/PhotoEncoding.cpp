#include "imaging/PhotoEncoding.h"

#include "imaging/cImage.h"
#include "imaging/cJpeg.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <new>

namespace {

// Reads the bitmap and samples it into the encoder; false on any failure.
bool samplePhoto(const QString& bitmapPath, cJpeg& jpeg) {
    QImageReader reader(bitmapPath);
    const QImage picture = reader.read();
    if (picture.isNull())
        return false;
    // Palette pictures keep their own depth and colour table; direct-colour
    // ones (16 or 32 bits a pixel as read) become 24-bit images, as the
    // encoder samples blue, green, red anyway.
    const qint16 bits = picture.depth() <= 8 ? 0 : 24;
    cImage image;
    if (!image.CopyStdPicture(picture, bits))
        return false;
    return jpeg.SampleHDC(image.hDC(), image.Width(), image.Height(), 0, 0) == 0;
}

} // namespace

QByteArray EncodePhoto(const QString& bitmapPath) {
    try {
        cJpeg jpeg;
        if (!samplePhoto(bitmapPath, jpeg))
            return {};
        return jpeg.Encode();
    } catch (const cJpegError&) {
        return {};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool EncodePhotoFile(const QString& bitmapPath, const QString& jpegPath) {
    if (jpegPath.isEmpty())
        return false;
    try {
        cJpeg jpeg;
        const bool sampled = samplePhoto(bitmapPath, jpeg);
        // A photo left from an earlier attempt goes in any case: it must never
        // pass for this one.
        const QFileInfo old(jpegPath);
        if ((old.exists() || old.isSymLink()) && !QFile::remove(jpegPath))
            return false;
        return sampled && jpeg.SaveFile(jpegPath) == cJpeg::SaveOk;
    } catch (const cJpegError&) {
    } catch (const std::bad_alloc&) {
    }
    QFile::remove(jpegPath);
    return false;
}
