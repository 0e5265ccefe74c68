#include "imaging/PictureFileReader.h"

#include "imaging/ScratchFile.h"
#include "imaging/cImage.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

using Result = PictureFileReader::Result;

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

quint32 le32(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const uchar* p) {
    return quint16(p[0] | p[1] << 8);
}

} // namespace

PictureFileReader::PictureFileReader(QIODevice& device) : m_device(device) {}

PictureFileReader::~PictureFileReader() = default;

QString PictureFileReader::SizeError(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0)
        return QStringLiteral("the picture has no pixels (%1x%2)").arg(width).arg(height);
    if (width > MaxSide || height > MaxSide)
        return QStringLiteral("the picture is %1x%2 pixels; at most %3 in a side can be encoded")
            .arg(width)
            .arg(height)
            .arg(MaxSide);
    if (width * height > MaxPixels)
        return QStringLiteral("the picture is %1x%2 pixels (%3 megapixels); at most %4 "
                              "megapixels can be encoded")
            .arg(width)
            .arg(height)
            .arg(double(width * height) / 1e6, 0, 'f', 1)
            .arg(MaxPixels / 1000000);
    return {};
}

// ---- The device ------------------------------------------------------------

PictureFileReader::Result PictureFileReader::fail(const QString& message) {
    m_error = message;
    return Failed;
}

// Exactly n bytes, or false with a message naming what was being read.
bool PictureFileReader::read(void* to, qint64 n, const char* what) {
    char* p = static_cast<char*>(to);
    while (n > 0) {
        const qint64 got = m_device.read(p, n);
        if (got <= 0) {
            m_error = got < 0 ? QStringLiteral("read error in the %1: %2")
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

bool PictureFileReader::skip(qint64 n, const char* what) {
    char scratch[4096];
    while (n > 0) {
        const qint64 part = std::min<qint64>(n, qint64(sizeof scratch));
        if (!read(scratch, part, what))
            return false;
        n -= part;
    }
    return true;
}

int PictureFileReader::getChar() {
    char c;
    return m_device.getChar(&c) ? uchar(c) : -1;
}

// Refuses before allocating when a device of known size cannot hold the pixel data.
bool PictureFileReader::holds(qint64 bytes) {
    const qint64 left = m_device.isSequential() ? -1 : m_device.size() - m_device.pos();
    if (left >= 0 && left < bytes) {
        m_error = QStringLiteral("the file is truncated: %1 bytes of pixel data expected, %2 "
                                 "present")
                      .arg(bytes)
                      .arg(left);
        return false;
    }
    return true;
}

// The pixel data of a device that cannot seek (a pipe), copied to a nameless
// temporary file a piece at a time: memory holds no picture-sized buffer, and
// a stream that ends early is noticed before anything is allocated for it.
bool PictureFileReader::spool() {
    if (m_spool || !m_device.isSequential())
        return true;
    auto spool = std::make_unique<ScratchFile>();
    std::vector<char> piece(size_t(1) << 20);
    for (qint64 left = m_fileStride * m_height; left > 0;) {
        const qint64 n = std::min<qint64>(left, qint64(piece.size()));
        if (!read(piece.data(), n, "pixel data"))
            return false;
        if (!spool->Append(piece.data(), n)) {
            m_error = spool->Error();
            return false;
        }
        left -= n;
    }
    m_spool = std::move(spool);
    m_spoolPos = 0;
    return true;
}

// Moves to the given byte of the pixel data.
bool PictureFileReader::seekPixels(qint64 offset) {
    if (m_spool) {
        m_spoolPos = offset;
        return true;
    }
    if (m_device.seek(m_pixelStart + offset))
        return true;
    m_error = QStringLiteral("cannot move within the pixel data: %1").arg(m_device.errorString());
    return false;
}

bool PictureFileReader::readPixels(void* to, qint64 n) {
    if (!m_spool)
        return read(to, n, "pixel data");
    if (!m_spool->ReadAt(m_spoolPos, to, n)) {
        m_error = m_spool->Error().isEmpty() ? QStringLiteral("the pixel data is truncated")
                                             : m_spool->Error();
        return false;
    }
    m_spoolPos += n;
    return true;
}

// ---- Headers ---------------------------------------------------------------

PictureFileReader::Result PictureFileReader::ReadHeader() {
    m_error.clear();
    const QByteArray magic = m_device.peek(2);
    if (magic == "P6" || magic == "P5") {
        m_device.skip(2);
        return readPnmHeader(magic == "P6");
    }
    if (magic == "BM")
        return readBmpHeader();
    return NotHandled;
}

// A header number: whitespace and '#' comments before it, one whitespace
// character (or, before a comment, '#') after it.
bool PictureFileReader::pnmNumber(qint64& value, const char* what) {
    int c = getChar();
    for (;;) {
        if (c == '#') {
            while (c != '\n' && c != '\r' && c != -1)
                c = getChar();
        } else if (isSpace(c)) {
            c = getChar();
        } else {
            break;
        }
    }
    if (c < '0' || c > '9') {
        m_error = c == -1 ? QStringLiteral("the header ends before the %1").arg(QLatin1String(what))
                          : QStringLiteral("bad header: no %1").arg(QLatin1String(what));
        return false;
    }
    value = 0;
    for (; c >= '0' && c <= '9'; c = getChar()) {
        value = value * 10 + (c - '0');
        if (value > 99999999) {
            m_error =
                QStringLiteral("bad header: the %1 is far too large").arg(QLatin1String(what));
            return false;
        }
    }
    if (isSpace(c))
        return true;
    m_error = c == -1 ? QStringLiteral("the file ends within the header")
                      : QStringLiteral("bad header after the %1").arg(QLatin1String(what));
    return false;
}

PictureFileReader::Result PictureFileReader::readPnmHeader(bool colour) {
    qint64 width = 0, height = 0, maxval = 0;
    if (!pnmNumber(width, "width") || !pnmNumber(height, "height") ||
        !pnmNumber(maxval, "maximum value"))
        return Failed;
    if (maxval > 255)
        return NotHandled; // 16-bit samples: Qt reads them
    if (maxval == 0)
        return fail(QStringLiteral("bad header: the maximum value is 0"));
    if (const QString e = SizeError(width, height); !e.isEmpty())
        return fail(e);
    const int channels = colour ? 3 : 1;
    if (!holds(width * height * channels))
        return Failed;
    m_kind = colour ? Ppm : Pgm;
    m_width = int(width);
    m_height = int(height);
    m_fileStride = width * channels;
    m_topDown = true;
    // Samples below 255 are scaled as Qt's reader scales them (values above
    // the maximum wrap around there too).
    m_scaled = maxval != 255;
    for (int v = 0; v < 256; ++v) {
        if (colour) {
            const qint64 wide = (qint64(v) * 65535 / maxval) & 0xFFFF;
            m_scale[size_t(v)] = uchar((wide + 128) / 257);
        } else {
            m_scale[size_t(v)] = uchar(qint64(v) * 255 / maxval);
        }
    }
    m_pixelStart = m_device.pos();
    return Read;
}

PictureFileReader::Result PictureFileReader::readBmpHeader() {
    // File header (14 bytes) and the common part of the info headers (40 bytes).
    uchar header[54];
    if (!read(header, 18, "file header"))
        return Failed;
    const quint32 pixelOffset = le32(header + 10);
    const quint32 infoSize = le32(header + 14);
    if (infoSize < 40)
        return NotHandled; // the old 12-byte header: Qt reads it
    if (!read(header + 18, 36, "info header"))
        return Failed;
    const qint64 width = qint32(le32(header + 18));
    const qint64 rawHeight = qint32(le32(header + 22));
    const int bitCount = le16(header + 28);
    const quint32 compression = le32(header + 30);
    const quint32 coloursUsed = le32(header + 46);
    // Uncompressed 8, 24 and 32 bits; Qt takes everything else.
    if (compression != 0 || (bitCount != 8 && bitCount != 24 && bitCount != 32))
        return NotHandled;
    const bool topDown = rawHeight < 0;
    const qint64 height = topDown ? -rawHeight : rawHeight;
    if (const QString e = SizeError(width, height); !e.isEmpty())
        return fail(e);
    if (infoSize > 1024)
        return fail(QStringLiteral("bad info header size %1").arg(infoSize));
    if (!skip(qint64(infoSize) - 40, "info header"))
        return Failed;

    qint64 position = 14 + qint64(infoSize);
    m_colours.fill(qRgb(0, 0, 0)); // indices beyond the table are black, as in Qt
    if (bitCount == 8) {
        const quint32 count = coloursUsed == 0 ? 256 : coloursUsed;
        if (count > 256)
            return fail(QStringLiteral("bad colour table size %1").arg(coloursUsed));
        uchar table[256 * 4];
        if (!read(table, 4 * qint64(count), "colour table"))
            return Failed;
        for (quint32 i = 0; i < count; ++i)
            m_colours[i] = qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
        position += 4 * qint64(count);
    }
    if (pixelOffset < position)
        return fail(QStringLiteral("bad pixel data offset %1").arg(pixelOffset));
    if (!skip(pixelOffset - position, "gap before the pixel data"))
        return Failed;
    m_fileStride = (width * bitCount + 31) / 32 * 4;
    if (!holds(m_fileStride * height))
        return Failed;
    m_kind = Bmp;
    m_width = int(width);
    m_height = int(height);
    m_bitCount = bitCount;
    m_topDown = topDown;
    m_pixelStart = m_device.pos();
    return Read;
}

// ---- The whole picture -----------------------------------------------------

PictureFileReader::Result PictureFileReader::ReadImage(cImage& image) {
    const int bitCount = m_kind == Ppm || (m_kind == Bmp && m_bitCount != 8) ? 24 : 8;
    if (!spool())
        return Failed;
    if (!image.Create(m_width, m_height, qint16(bitCount)))
        return fail(
            QStringLiteral("not enough memory for a %1x%2 picture").arg(m_width).arg(m_height));
    const qint32 h = m_height;
    if (m_kind != Bmp) {
        const size_t rowBytes = size_t(m_fileStride);
        for (qint32 y = 0; y < h; ++y) {
            uchar* row = image.ScanLine(y);
            if (!readPixels(row, qint64(rowBytes)))
                return Failed;
            if (m_scaled)
                for (size_t i = 0; i < rowBytes; ++i)
                    row[i] = m_scale[row[i]];
            if (m_kind == Ppm)
                for (size_t i = 0; i < rowBytes; i += 3)
                    std::swap(row[i], row[i + 2]); // red, green, blue to blue, green, red
        }
        return Read;
    }
    if (m_bitCount == 8)
        image.SetColours(m_colours.data(), 256);
    if (m_bitCount != 32) {
        // The file's rows are the bitmap's rows, padding included.
        if (!m_topDown) {
            // Both bottom-up: the pixel block in one piece.
            if (!readPixels(image.DIBitsPtr(), m_fileStride * h))
                return Failed;
        } else {
            for (qint32 y = 0; y < h; ++y)
                if (!readPixels(image.ScanLine(y), m_fileStride))
                    return Failed;
        }
        // Padding bytes of the file stay out of the bitmap.
        const size_t used = size_t(m_width) * size_t(m_bitCount / 8);
        if (size_t(m_fileStride) > used)
            for (qint32 y = 0; y < h; ++y)
                std::memset(image.ScanLine(y) + used, 0, size_t(m_fileStride) - used);
        return Read;
    }
    // 32 bits: blue, green, red and an unused byte.
    std::vector<uchar> row(static_cast<size_t>(m_fileStride));
    for (qint32 i = 0; i < h; ++i) {
        if (!readPixels(row.data(), m_fileStride))
            return Failed;
        uchar* out = image.ScanLine(m_topDown ? i : h - 1 - i);
        for (qint32 x = 0; x < m_width; ++x)
            std::memcpy(out + 3 * x, row.data() + 4 * x, 3);
    }
    return Read;
}

// ---- Rows ------------------------------------------------------------------

// File rows of picture rows [first, first + count), top row first, into `to`
// (m_fileStride bytes each) unless they are already in memory.
bool PictureFileReader::readFileRows(int first, int count, uchar* to) {
    // Bottom-up: the band's rows lie together, the lowest first; the pixel
    // data of a pipe is spooled to a temporary file for that.
    if (!m_topDown && (!spool() || !seekPixels(m_fileStride * (m_height - first - count))))
        return false;
    if (!readPixels(to, m_fileStride * count)) // top-down: the calls come in order
        return false;
    if (m_topDown)
        return true;
    // Turn the band upside down.
    for (int i = 0, j = count - 1; i < j; ++i, --j) {
        uchar* a = to + size_t(i) * size_t(m_fileStride);
        std::swap_ranges(a, a + m_fileStride, to + size_t(j) * size_t(m_fileStride));
    }
    return true;
}

bool PictureFileReader::ReadRows(int first, int count, uchar* bgr, size_t stride) {
    if (first < 0 || count <= 0 || first + count > m_height || !m_error.isEmpty())
        return false;
    const size_t width = size_t(m_width);
    const size_t fileStride = size_t(m_fileStride);
    // PPM rows in packed rows are read in place; everything else goes
    // through the scratch rows.
    const bool inPlace = m_kind == Ppm && stride == fileStride;
    uchar* file = bgr;
    if (!inPlace) {
        m_scratch.resize(fileStride * size_t(count));
        file = m_scratch.data();
    }
    if (!readFileRows(first, count, file))
        return false;
    for (int i = 0; i < count; ++i) {
        const uchar* in = file + size_t(i) * fileStride; // may be `out` itself
        uchar* out = bgr + size_t(i) * stride;
        switch (m_kind) {
        case Ppm: // red, green, blue as in the file
            if (m_scaled)
                for (size_t x = 0; x < 3 * width; ++x)
                    out[x] = m_scale[in[x]];
            else if (out != in)
                std::memcpy(out, in, 3 * width);
            break;
        case Pgm:
            for (size_t x = 0; x < width; ++x)
                out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = m_scale[in[x]];
            break;
        case Bmp:
            if (m_bitCount == 24) {
                std::memcpy(out, in, 3 * width);
            } else if (m_bitCount == 32) {
                for (size_t x = 0; x < width; ++x)
                    std::memcpy(out + 3 * x, in + 4 * x, 3);
            } else {
                for (size_t x = 0; x < width; ++x) {
                    const QRgb c = m_colours[in[x]];
                    out[3 * x] = uchar(qBlue(c));
                    out[3 * x + 1] = uchar(qGreen(c));
                    out[3 * x + 2] = uchar(qRed(c));
                }
            }
            break;
        }
    }
    return true;
}

// ---- Static readers --------------------------------------------------------

PictureFileReader::Result PictureFileReader::ReadPicture(QIODevice& device, cImage& image,
                                                         ::Error* error) {
    image.Create(0, 0, 24); // empty
    PictureFileReader reader(device);
    Result result = reader.ReadHeader();
    if (result == Read)
        result = reader.ReadImage(image);
    if (result != Read)
        image.Create(0, 0, 24);
    ::Error(result == Failed ? reader.Error() : QString()).Report(error);
    return result;
}

PictureFileReader::Result PictureFileReader::ReadPicture(const QByteArray& bytes, cImage& image,
                                                         ::Error* error) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadPicture(buffer, image, error);
}
