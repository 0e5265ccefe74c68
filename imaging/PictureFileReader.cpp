#include "PictureFileReader.h"

#include "cImage.h"

#include <QBuffer>
#include <QIODevice>

#include <array>
#include <cstring>
#include <vector>

namespace {

using Result = PictureFileReader::Result;

// The device and what went wrong on it.
class Input {
public:
    explicit Input(QIODevice& device) : m_device(device) {}

    QString error;

    Result fail(const QString& message) {
        error = message;
        return PictureFileReader::Failed;
    }

    // Exactly n bytes, or false with a message naming what was being read.
    bool read(void* to, qint64 n, const char* what) {
        char* p = static_cast<char*>(to);
        while (n > 0) {
            const qint64 got = m_device.read(p, n);
            if (got <= 0) {
                error = got < 0 ? QStringLiteral("read error in the %1: %2")
                                      .arg(QLatin1String(what), m_device.errorString())
                                : QStringLiteral("the file ends within the %1 (truncated)")
                                      .arg(QLatin1String(what));
                return false;
            }
            p += got;
            n -= got;
        }
        return true;
    }

    bool skip(qint64 n, const char* what) {
        char scratch[4096];
        while (n > 0) {
            const qint64 part = std::min<qint64>(n, qint64(sizeof scratch));
            if (!read(scratch, part, what))
                return false;
            n -= part;
        }
        return true;
    }

    int getChar() {
        char c;
        return m_device.getChar(&c) ? uchar(c) : -1;
    }

    // Bytes left on a device of known size; -1 when it cannot tell.
    qint64 remaining() const {
        return m_device.isSequential() ? -1 : m_device.size() - m_device.pos();
    }

    // Refuses before allocating when the device cannot hold the pixel data.
    bool holds(qint64 bytes) {
        const qint64 left = remaining();
        if (left >= 0 && left < bytes) {
            error = QStringLiteral("the file is truncated: %1 bytes of pixel data expected, %2 "
                                   "present")
                        .arg(bytes)
                        .arg(left);
            return false;
        }
        return true;
    }

private:
    QIODevice& m_device;
};

QString sizeError(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0)
        return QStringLiteral("the picture has no pixels (%1x%2)").arg(width).arg(height);
    return QStringLiteral("the picture is %1x%2 pixels; at most %3 in a side can be encoded")
        .arg(width)
        .arg(height)
        .arg(PictureFileReader::MaxSide);
}

bool sizeOk(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= PictureFileReader::MaxSide &&
           height <= PictureFileReader::MaxSide;
}

bool create(Input& in, cImage& image, qint32 width, qint32 height, qint16 bitCount) {
    if (image.Create(width, height, bitCount))
        return true;
    in.error = QStringLiteral("not enough memory for a %1x%2 picture").arg(width).arg(height);
    return false;
}

// ---- PPM and PGM -----------------------------------------------------------

// A header number: whitespace and '#' comments before it, one whitespace
// character (or, before a comment, '#') after it.
bool pnmNumber(Input& in, qint64& value, const char* what) {
    int c = in.getChar();
    for (;;) {
        if (c == '#') {
            while (c != '\n' && c != '\r' && c != -1)
                c = in.getChar();
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
            c = in.getChar();
        } else {
            break;
        }
    }
    if (c < '0' || c > '9') {
        in.error = c == -1
                       ? QStringLiteral("the header ends before the %1").arg(QLatin1String(what))
                       : QStringLiteral("bad header: no %1").arg(QLatin1String(what));
        return false;
    }
    value = 0;
    for (; c >= '0' && c <= '9'; c = in.getChar()) {
        value = value * 10 + (c - '0');
        if (value > 99999999) {
            in.error =
                QStringLiteral("bad header: the %1 is far too large").arg(QLatin1String(what));
            return false;
        }
    }
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')
        return true;
    in.error = c == -1 ? QStringLiteral("the file ends within the header")
                       : QStringLiteral("bad header after the %1").arg(QLatin1String(what));
    return false;
}

Result readPnm(Input& in, cImage& image, bool colour) {
    qint64 width = 0, height = 0, maxval = 0;
    if (!pnmNumber(in, width, "width") || !pnmNumber(in, height, "height") ||
        !pnmNumber(in, maxval, "maximum value"))
        return PictureFileReader::Failed;
    if (maxval > 255)
        return PictureFileReader::NotHandled; // 16-bit samples: Qt reads them
    if (maxval == 0)
        return in.fail(QStringLiteral("bad header: the maximum value is 0"));
    if (!sizeOk(width, height))
        return in.fail(sizeError(width, height));
    const int channels = colour ? 3 : 1;
    if (!in.holds(width * height * channels) ||
        !create(in, image, qint32(width), qint32(height), colour ? 24 : 8))
        return PictureFileReader::Failed;

    // Samples below 255 are scaled as Qt's reader scales them (values above
    // the maximum wrap around there too).
    std::array<uchar, 256> scale{};
    for (int v = 0; v < 256; ++v) {
        if (colour) {
            const qint64 wide = (qint64(v) * 65535 / maxval) & 0xFFFF;
            scale[size_t(v)] = uchar((wide + 128) / 257);
        } else {
            scale[size_t(v)] = uchar(qint64(v) * 255 / maxval);
        }
    }
    const size_t rowBytes = size_t(width) * size_t(channels);
    for (qint32 y = 0; y < qint32(height); ++y) {
        uchar* row = image.ScanLine(y);
        if (!in.read(row, qint64(rowBytes), "pixel data"))
            return PictureFileReader::Failed;
        if (maxval != 255)
            for (size_t i = 0; i < rowBytes; ++i)
                row[i] = scale[row[i]];
        if (colour)
            for (size_t i = 0; i < rowBytes; i += 3)
                std::swap(row[i], row[i + 2]); // red, green, blue to blue, green, red
    }
    return PictureFileReader::Read;
}

// ---- BMP -------------------------------------------------------------------

quint32 le32(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const uchar* p) {
    return quint16(p[0] | p[1] << 8);
}

Result readBmp(Input& in, cImage& image) {
    // File header (14 bytes) and the common part of the info headers (40 bytes).
    uchar header[54];
    if (!in.read(header, 18, "file header"))
        return PictureFileReader::Failed;
    const quint32 pixelOffset = le32(header + 10);
    const quint32 infoSize = le32(header + 14);
    if (infoSize < 40)
        return PictureFileReader::NotHandled; // the old 12-byte header: Qt reads it
    if (!in.read(header + 18, 36, "info header"))
        return PictureFileReader::Failed;
    const qint64 width = qint32(le32(header + 18));
    const qint64 rawHeight = qint32(le32(header + 22));
    const int bitCount = le16(header + 28);
    const quint32 compression = le32(header + 30);
    const quint32 coloursUsed = le32(header + 46);
    // Uncompressed 8, 24 and 32 bits; Qt takes everything else.
    if (compression != 0 || (bitCount != 8 && bitCount != 24 && bitCount != 32))
        return PictureFileReader::NotHandled;
    const bool topDown = rawHeight < 0;
    const qint64 height = topDown ? -rawHeight : rawHeight;
    if (!sizeOk(width, height))
        return in.fail(sizeError(width, height));
    if (infoSize > 1024)
        return in.fail(QStringLiteral("bad info header size %1").arg(infoSize));
    if (!in.skip(qint64(infoSize) - 40, "info header"))
        return PictureFileReader::Failed;

    qint64 position = 14 + qint64(infoSize);
    std::array<QRgb, 256> colours;
    colours.fill(qRgb(0, 0, 0)); // indices beyond the table are black, as in Qt
    if (bitCount == 8) {
        const quint32 count = coloursUsed == 0 ? 256 : coloursUsed;
        if (count > 256)
            return in.fail(QStringLiteral("bad colour table size %1").arg(coloursUsed));
        uchar table[256 * 4];
        if (!in.read(table, 4 * qint64(count), "colour table"))
            return PictureFileReader::Failed;
        for (quint32 i = 0; i < count; ++i)
            colours[i] = qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
        position += 4 * qint64(count);
    }
    if (pixelOffset < position)
        return in.fail(QStringLiteral("bad pixel data offset %1").arg(pixelOffset));
    if (!in.skip(pixelOffset - position, "gap before the pixel data"))
        return PictureFileReader::Failed;

    const qint64 fileStride = (width * bitCount + 31) / 32 * 4;
    if (!in.holds(fileStride * height) ||
        !create(in, image, qint32(width), qint32(height), bitCount == 8 ? 8 : 24))
        return PictureFileReader::Failed;
    if (bitCount == 8)
        image.SetColours(colours.data(), 256);

    const qint32 h = qint32(height);
    if (bitCount != 32) {
        // The file's rows are the bitmap's rows, padding included.
        if (!topDown) {
            // Both bottom-up: the pixel block in one piece.
            if (!in.read(image.DIBitsPtr(), fileStride * height, "pixel data"))
                return PictureFileReader::Failed;
        } else {
            for (qint32 y = 0; y < h; ++y)
                if (!in.read(image.ScanLine(y), fileStride, "pixel data"))
                    return PictureFileReader::Failed;
        }
        // Padding bytes of the file stay out of the bitmap.
        const size_t used = size_t(width) * size_t(bitCount / 8);
        if (size_t(fileStride) > used)
            for (qint32 y = 0; y < h; ++y)
                std::memset(image.ScanLine(y) + used, 0, size_t(fileStride) - used);
        return PictureFileReader::Read;
    }
    // 32 bits: blue, green, red and an unused byte.
    std::vector<uchar> row(static_cast<size_t>(fileStride));
    for (qint32 i = 0; i < h; ++i) {
        if (!in.read(row.data(), fileStride, "pixel data"))
            return PictureFileReader::Failed;
        uchar* out = image.ScanLine(topDown ? i : h - 1 - i);
        for (qint64 x = 0; x < width; ++x)
            std::memcpy(out + 3 * x, row.data() + 4 * x, 3);
    }
    return PictureFileReader::Read;
}

} // namespace

PictureFileReader::Result PictureFileReader::ReadPicture(QIODevice& device, cImage& image,
                                                         QString* error) {
    image.Create(0, 0, 24); // empty
    Input in(device);
    Result result = NotHandled;
    const QByteArray magic = device.peek(2);
    if (magic == "P6" || magic == "P5") {
        device.skip(2);
        result = readPnm(in, image, magic == "P6");
    } else if (magic == "BM") {
        result = readBmp(in, image);
    }
    if (result != Read)
        image.Create(0, 0, 24);
    if (error)
        *error = result == Failed ? in.error : QString();
    return result;
}

PictureFileReader::Result PictureFileReader::ReadPicture(const QByteArray& bytes, cImage& image,
                                                         QString* error) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadPicture(buffer, image, error);
}
