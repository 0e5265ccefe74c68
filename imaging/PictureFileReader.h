#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class cImage;

// Reads binary PPM and PGM (P6, P5; maxval up to 255) and uncompressed BMP
// (24 and 32 bits, 8 bits indexed; bottom-up or top-down) pictures straight
// into the rows of a cImage, a row or the whole pixel block at a time, with
// no picture-sized copy beside the bitmap. Grey and indexed pictures become
// 8-bit images, the others 24-bit ones; every pixel reads back as the colour
// Qt's own readers give it.
//
// Sizes come from the header and are checked before anything is allocated:
// no side above 65535 pixels, and on a device of known size no more pixel
// data than the device holds.
class PictureFileReader {
public:
    enum Result {
        Read,       // the picture is in the image
        NotHandled, // another kind of file (or a variant left to Qt); the image is empty
        Failed,     // a damaged or unreadable file; the image is empty, error says why
    };

    // Reads from the device's current position; the device may have been
    // read from whatever the result.
    static Result ReadPicture(QIODevice& device, cImage& image, QString* error = nullptr);
    static Result ReadPicture(const QByteArray& bytes, cImage& image, QString* error = nullptr);

    // Largest width and height, as the JPEG encoder takes them.
    static constexpr int MaxSide = 65535;
};
