#pragma once

#include "error/Error.h"

#include "imaging/RowSource.h"

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QIODevice;
class ScratchFile;
class cImage;

// Reads binary PPM and PGM (P6, P5; maxval up to 255) and uncompressed BMP
// (24 and 32 bits, 8 bits indexed; bottom-up or top-down) pictures, either
// straight into the rows of a cImage with no picture-sized copy beside the
// bitmap, or as a RowSource a band of rows at a time with no bitmap at all.
// Grey and indexed pictures become 8-bit images, the others 24-bit ones;
// every pixel reads back as the colour Qt's own readers give it.
//
// Sizes come from the header and are checked before anything is allocated:
// no side above 65535 pixels, at most 300 megapixels, and on a device of
// known size no more pixel data than the device holds. Nothing is allocated
// for pixels not yet read: the pixel data of a pipe that must be read whole
// (bottom-up BMP rows, or ReadImage) goes to a nameless temporary file first.
class PictureFileReader : public RowSource {
public:
    enum Result {
        Read,       // the picture is in the image (or its header is read)
        NotHandled, // another kind of file (or a variant left to Qt); the image is empty
        Failed,     // a damaged or unreadable file; the image is empty, error says why
    };

    // Reads from the device's current position; the device may have been
    // read from whatever the result.
    static Result ReadPicture(QIODevice& device, cImage& image, ::Error* error = nullptr);
    static Result ReadPicture(const QByteArray& bytes, cImage& image, ::Error* error = nullptr);

    // Row by row: ReadHeader, then ReadRows (or ReadImage for the whole
    // picture). Bottom-up BMP rows are taken band by band from their place
    // in the file, so the device must be random-access for them; on a
    // sequential device the pixel block is read into memory first.
    explicit PictureFileReader(QIODevice& device);
    ~PictureFileReader() override;
    Result ReadHeader();
    Result ReadImage(cImage& image);
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    bool ReadRows(int first, int count, uchar* bgr, size_t stride) override;
    QString Error() const override { return m_error; }
    // PPM rows keep their red, green, blue order.
    bool RedFirst() const override { return m_kind == Ppm; }

    // Largest width and height, as the JPEG encoder takes them, and the
    // largest picture taken at all.
    static constexpr int MaxSide = 65535;
    static constexpr qint64 MaxPixels = 300'000'000;
    // Why a picture of this size is refused (naming its size and the limit); empty when it is not.
    static QString SizeError(qint64 width, qint64 height);

private:
    enum Kind { Ppm, Pgm, Bmp };

    bool read(void* to, qint64 n, const char* what);
    bool skip(qint64 n, const char* what);
    int getChar();
    bool holds(qint64 bytes);
    Result fail(const QString& message);
    bool pnmNumber(qint64& value, const char* what);
    Result readPnmHeader(bool colour);
    Result readBmpHeader();
    bool readFileRows(int first, int count, uchar* to);
    bool spool();
    bool seekPixels(qint64 offset);
    bool readPixels(void* to, qint64 n);

    QIODevice& m_device;
    QString m_error;
    Kind m_kind = Ppm;
    int m_width = 0, m_height = 0;
    bool m_scaled = false; // PNM samples below a maximum of 255
    std::array<uchar, 256> m_scale{};
    int m_bitCount = 24;     // BMP: 8, 24 or 32
    bool m_topDown = true;   // file rows from the top row down
    qint64 m_fileStride = 0; // bytes of a file row, padding included
    qint64 m_pixelStart = 0; // device position of the first pixel row
    std::array<QRgb, 256> m_colours{};
    std::unique_ptr<ScratchFile> m_spool; // the pixel data of a sequential device
    qint64 m_spoolPos = 0;
    std::vector<uchar> m_scratch; // file rows of one band
};
