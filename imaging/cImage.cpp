#include "imaging/cImage.h"

#include "imaging/AreaSampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace {

// Largest pixel buffer a bitmap may hold (the platform's DIB sections stop at 2 GB).
constexpr qint64 kMaxImageBytes = std::numeric_limits<qint32>::max();

bool isIndexedFormat(QImage::Format f) {
    return f == QImage::Format_Mono || f == QImage::Format_MonoLSB || f == QImage::Format_Indexed8;
}

} // namespace

cImage::cImage() = default;

cImage::~cImage() {
    Destroy();
}

void cImage::Destroy() {
    std::vector<uchar>().swap(m_bits);
    m_width = 0;
    m_height = 0;
    m_bitCount = 0;
    m_stride = 0;
    m_sizeImage = 0;
    m_greyRamp = false;
    m_colours.fill(0);
}

qint32 cImage::BytesPerScanLine() const {
    const qint32 w = m_width;
    switch (m_bitCount) {
    case 1:
        return ((w - 1) / 8 + 4) & ~3;
    case 4:
        return ((w - 1) / 2 + 4) & ~3;
    case 8:
        return (w + 3) & ~3;
    default:
        return (3 * w + 3) & ~3;
    }
}

bool cImage::Create(qint32 width, qint32 height, qint16 bitCount) {
    Destroy();
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)
        return false;
    if (width <= 0 || height <= 0)
        return false;
    // Row size and image size in 64 bits first: a huge width must fail, not wrap.
    const qint64 rowBytes = bitCount == 24 ? (3 * qint64(width) + 3) & ~qint64(3)
                                           : ((qint64(width) * bitCount + 31) / 32) * 4;
    if (rowBytes * qint64(height) > kMaxImageBytes)
        return false;
    try {
        m_bits.assign(size_t(rowBytes) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        std::vector<uchar>().swap(m_bits);
        return false;
    }
    m_width = width;
    m_height = height;
    m_bitCount = bitCount;
    m_stride = BytesPerScanLine();
    m_sizeImage = quint32(m_stride) * quint32(height);
    if (bitCount != 24) {
        const int n = 1 << bitCount;
        for (int i = 0; i < n; ++i) {
            const int v = i * 255 / (n - 1);
            m_colours[size_t(i)] = qRgb(v, v, v);
        }
        m_greyRamp = true;
    }
    return true;
}

int cImage::SetColours(const QRgb* colours, int count) {
    const int n = std::min(count, ColourCount());
    if (n <= 0)
        return 0;
    for (int i = 0; i < n; ++i)
        m_colours[size_t(i)] = colours[i] | 0xFF000000u;
    const int all = ColourCount();
    m_greyRamp = true;
    for (int i = 0; i < all && m_greyRamp; ++i) {
        const int v = i * 255 / (all - 1);
        m_greyRamp = m_colours[size_t(i)] == qRgb(v, v, v);
    }
    return n;
}

int cImage::indexAt(const uchar* row, qint32 x) const {
    switch (m_bitCount) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

void cImage::setIndex(uchar* row, qint32 x, int index) {
    switch (m_bitCount) {
    case 1: {
        const uchar bit = uchar(0x80 >> (x & 7));
        row[x >> 3] = index ? uchar(row[x >> 3] | bit) : uchar(row[x >> 3] & ~bit);
        break;
    }
    case 4:
        row[x >> 1] = (x & 1) ? uchar((row[x >> 1] & 0xF0) | (index & 0x0F))
                              : uchar((row[x >> 1] & 0x0F) | (index << 4));
        break;
    default:
        row[x] = uchar(index);
    }
}

int cImage::nearestIndex(int r, int g, int b) const {
    const int n = ColourCount();
    if (m_greyRamp) {
        // The nearest grey to a colour is the one nearest to its mean.
        const int step3 = 3 * (255 / (n - 1));
        const int sum = r + g + b;
        const int i = sum / step3;
        if (i + 1 < n && (i + 1) * step3 - sum < sum - i * step3)
            return i + 1;
        return std::min(i, n - 1);
    }
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < n; ++i) {
        const QRgb c = m_colours[size_t(i)];
        const int dr = qRed(c) - r, dg = qGreen(c) - g, db = qBlue(c) - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

QRgb cImage::PixelAt(qint32 x, qint32 y) const {
    const uchar* row = ScanLine(y);
    if (m_bitCount == 24) {
        const uchar* p = row + 3 * size_t(x);
        return qRgb(p[2], p[1], p[0]);
    }
    return m_colours[size_t(indexAt(row, x))];
}

void cImage::ReadRowBGR(qint32 y, qint32 x, qint32 count, uchar* out) const {
    const uchar* row = ScanLine(y);
    if (m_bitCount == 24) {
        std::memcpy(out, row + 3 * size_t(x), 3 * size_t(count));
        return;
    }
    for (qint32 i = 0; i < count; ++i, out += 3) {
        const QRgb c = m_colours[size_t(indexAt(row, x + i))];
        out[0] = uchar(qBlue(c));
        out[1] = uchar(qGreen(c));
        out[2] = uchar(qRed(c));
    }
}

void cImage::WriteRowBGR(qint32 y, qint32 x, qint32 count, const uchar* in) {
    uchar* row = ScanLine(y);
    if (m_bitCount == 24) {
        std::memcpy(row + 3 * size_t(x), in, 3 * size_t(count));
        return;
    }
    int lastColour = -1, lastIndex = 0;
    for (qint32 i = 0; i < count; ++i, in += 3) {
        const int colour = in[0] | (in[1] << 8) | (in[2] << 16);
        if (colour != lastColour) {
            lastColour = colour;
            lastIndex = nearestIndex(in[2], in[1], in[0]);
        }
        setIndex(row, x + i, lastIndex);
    }
}

bool cImage::sameColours(const cImage& other) const {
    if (m_bitCount != other.m_bitCount)
        return false;
    const int n = ColourCount();
    return std::equal(m_colours.begin(), m_colours.begin() + n, other.m_colours.begin());
}

bool cImage::CopyStdPicture(const QImage& picture, qint16 bitCount) {
    if (picture.isNull()) {
        Destroy();
        return false;
    }
    bool taken = false;
    if (bitCount == 0) {
        bitCount = qint16(picture.depth() == 16 ? 24 : picture.depth());
        taken = true;
    }
    const qint32 w = picture.width(), h = picture.height();
    if (!Create(w, h, bitCount))
        return false;

    if (bitCount != 24 && taken && isIndexedFormat(picture.format())) {
        // Same depth and the picture's own colour table: indices carry over.
        const QList<QRgb> table = picture.colorTable();
        if (!table.isEmpty())
            SetColours(table.constData(), int(table.size()));
        for (qint32 y = 0; y < h; ++y) {
            uchar* row = ScanLine(y);
            for (qint32 x = 0; x < w; ++x)
                setIndex(row, x, picture.pixelIndex(x, y) & (ColourCount() - 1));
        }
        return true;
    }

    std::vector<uchar> bgr(size_t(w) * 3);
    const QImage::Format f = picture.format();
    if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
        f == QImage::Format_ARGB32_Premultiplied || f == QImage::Format_RGB888 ||
        f == QImage::Format_BGR888) {
        for (qint32 y = 0; y < h; ++y) {
            const uchar* src = picture.constScanLine(y);
            if (f == QImage::Format_BGR888) {
                std::memcpy(bgr.data(), src, bgr.size());
            } else if (f == QImage::Format_RGB888) {
                for (qint32 x = 0; x < w; ++x) {
                    bgr[3 * size_t(x)] = src[3 * x + 2];
                    bgr[3 * size_t(x) + 1] = src[3 * x + 1];
                    bgr[3 * size_t(x) + 2] = src[3 * x];
                }
            } else {
                const QRgb* p = reinterpret_cast<const QRgb*>(src);
                for (qint32 x = 0; x < w; ++x) {
                    bgr[3 * size_t(x)] = uchar(qBlue(p[x]));
                    bgr[3 * size_t(x) + 1] = uchar(qGreen(p[x]));
                    bgr[3 * size_t(x) + 2] = uchar(qRed(p[x]));
                }
            }
            WriteRowBGR(y, 0, w, bgr.data());
        }
        return true;
    }
    const QImage converted = picture.convertToFormat(QImage::Format_BGR888);
    if (converted.isNull()) {
        Destroy();
        return false;
    }
    for (qint32 y = 0; y < h; ++y)
        WriteRowBGR(y, 0, w, converted.constScanLine(y));
    return true;
}

bool cImage::CopyHDC(const cImage* source, qint32 width, qint32 height, qint16 bitCount,
                     qint32 left, qint32 top) {
    if (source == nullptr || source->hDC() == nullptr) {
        Destroy();
        return false;
    }
    // Copying from itself: keep the source pixels alive while this image is recreated.
    std::unique_ptr<cImage> self;
    if (source == this) {
        self = emptyLike(m_width, m_height);
        if (!self) {
            Destroy();
            return false;
        }
        self->m_bits = m_bits;
        source = self.get();
    }
    const int n = source->ColourCount();
    if (bitCount == 0)
        bitCount = qint16(n == 0 ? 24 : n <= 2 ? 1 : n <= 16 ? 4 : 8);
    // The whole rectangle must lie inside the source picture.
    if (width <= 0 || height <= 0 || left < 0 || top < 0 ||
        qint64(left) + width > source->Width() || qint64(top) + height > source->Height()) {
        Destroy();
        return false;
    }
    if (!Create(width, height, bitCount))
        return false;
    if (n > 0) {
        std::array<QRgb, 256> table{};
        for (int i = 0; i < n; ++i)
            table[size_t(i)] = source->ColourAt(i);
        SetColours(table.data(), n);
    }
    if (bitCount != 24 && sameColours(*source)) {
        for (qint32 y = 0; y < height; ++y) {
            const uchar* src = source->ScanLine(top + y);
            uchar* dst = ScanLine(y);
            for (qint32 x = 0; x < width; ++x)
                setIndex(dst, x, source->indexAt(src, left + x));
        }
        return true;
    }
    std::vector<uchar> bgr(size_t(width) * 3);
    for (qint32 y = 0; y < height; ++y) {
        source->ReadRowBGR(top + y, left, width, bgr.data());
        WriteRowBGR(y, 0, width, bgr.data());
    }
    return true;
}

bool cImage::CopyPalletHDC(const cImage* source) {
    if (source == nullptr || source->hDC() == nullptr || m_bits.empty())
        return false;
    const int n = std::min(ColourCount(), source->ColourCount());
    if (n <= 0)
        return false;
    std::array<QRgb, 256> table{};
    for (int i = 0; i < n; ++i)
        table[size_t(i)] = source->ColourAt(i);
    return SetColours(table.data(), n) == n;
}

void cImage::PaintHDC(QImage& destination, qint32 left, qint32 top, quint32 rasterOperation) const {
    if (m_bits.empty() || destination.isNull())
        return;
    const QImage::Format f = destination.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
        f != QImage::Format_ARGB32_Premultiplied)
        destination.convertTo(destination.hasAlphaChannel() ? QImage::Format_ARGB32
                                                            : QImage::Format_RGB32);
    // Visible part of the image on the destination.
    const qint64 x0 = std::max<qint64>(0, -qint64(left));
    const qint64 y0 = std::max<qint64>(0, -qint64(top));
    const qint64 x1 = std::min<qint64>(m_width, qint64(destination.width()) - left);
    const qint64 y1 = std::min<qint64>(m_height, qint64(destination.height()) - top);
    if (x0 >= x1 || y0 >= y1)
        return;

    // Ternary raster operation: bit (P·4 + S·2 + D) of the code's third byte
    // gives the result for pattern P, source S and destination D. The pattern
    // is the surface's default white brush.
    const quint32 code = (rasterOperation >> 16) & 0xFF;
    std::vector<uchar> lut;
    if (code != 0xCC) {
        lut.resize(256 * 256);
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d) {
                const int p = 0xFF;
                int r = 0;
                for (int k = 0; k < 8; ++k)
                    if (code & (1u << k))
                        r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
                lut[size_t(s) * 256 + size_t(d)] = uchar(r);
            }
    }
    const int count = int(x1 - x0);
    std::vector<uchar> bgr(size_t(count) * 3);
    for (qint64 y = y0; y < y1; ++y) {
        ReadRowBGR(qint32(y), qint32(x0), count, bgr.data());
        QRgb* dst = reinterpret_cast<QRgb*>(destination.scanLine(int(y + top))) + (x0 + left);
        for (int x = 0; x < count; ++x) {
            const uchar* s = &bgr[3 * size_t(x)];
            if (lut.empty()) {
                dst[x] = qRgb(s[2], s[1], s[0]);
            } else {
                const QRgb d = dst[x];
                dst[x] = qRgb(lut[size_t(s[2]) * 256 + size_t(qRed(d))],
                              lut[size_t(s[1]) * 256 + size_t(qGreen(d))],
                              lut[size_t(s[0]) * 256 + size_t(qBlue(d))]);
            }
        }
    }
}

std::unique_ptr<cImage> cImage::emptyLike(qint32 width, qint32 height) const {
    auto image = std::make_unique<cImage>();
    if (!image->Create(width, height, m_bitCount))
        return nullptr;
    if (m_bitCount != 24)
        image->SetColours(m_colours.data(), ColourCount());
    return image;
}

std::unique_ptr<cImage> cImage::Greyscale() const {
    if (m_bits.empty())
        return nullptr;
    auto image = std::make_unique<cImage>();
    if (!image->Create(m_width, m_height, 8))
        return nullptr;
    std::vector<uchar> bgr(size_t(m_width) * 3);
    for (qint32 y = 0; y < m_height; ++y) {
        ReadRowBGR(y, 0, m_width, bgr.data());
        image->WriteRowBGR(y, 0, m_width, bgr.data());
    }
    return image;
}

std::unique_ptr<cImage> cImage::Resample(qint32 newWidth, qint32 newHeight) const {
    if (m_bits.empty())
        return nullptr;
    auto image = emptyLike(newWidth, newHeight);
    if (!image)
        return nullptr;
    if (newWidth == m_width && newHeight == m_height) {
        image->m_bits = m_bits;
        return image;
    }
    AreaSampler sampler(*this, 0, 0, m_width, m_height, newWidth, newHeight);
    for (qint32 y = 0; y < newHeight; ++y)
        image->WriteRowBGR(y, 0, newWidth, sampler.Row(y));
    return image;
}

void cImage::copyMapped(const cImage& source, int ulx, int uly, int urx, int ury, int llx,
                        int lly) {
    // Source pixel (u, v) lands at P0 + u·A + v·B with A = (P1 − P0) / W and
    // B = (P2 − P0) / H; each destination pixel centre is mapped back.
    const double w = source.m_width, h = source.m_height;
    const double ax = (urx - ulx) / w, ay = (ury - uly) / w;
    const double bx = (llx - ulx) / h, by = (lly - uly) / h;
    const double det = ax * by - ay * bx;
    if (det == 0)
        return;
    const size_t pixel = size_t(m_bitCount == 24 ? 3 : 0);
    for (qint32 y = 0; y < m_height; ++y) {
        uchar* dst = ScanLine(y);
        const double cy = y + 0.5 - uly;
        for (qint32 x = 0; x < m_width; ++x) {
            const double cx = x + 0.5 - ulx;
            const double u = std::floor((cx * by - cy * bx) / det);
            const double v = std::floor((ax * cy - ay * cx) / det);
            if (u < 0 || v < 0 || u >= w || v >= h)
                continue;
            const uchar* src = source.ScanLine(qint32(v));
            if (pixel)
                std::memcpy(dst + pixel * size_t(x), src + pixel * size_t(u), pixel);
            else
                setIndex(dst, x, source.indexAt(src, qint32(u)));
        }
    }
}

std::unique_ptr<cImage> cImage::Mirror(bool vertical) const {
    if (m_bits.empty())
        return nullptr;
    auto image = emptyLike(m_width, m_height);
    if (!image)
        return nullptr;
    const int w = m_width, h = m_height;
    if (vertical)
        image->copyMapped(*this, 0, h, w, h, 0, 0);
    else
        image->copyMapped(*this, w, 0, 0, 0, w, h);
    return image;
}

std::unique_ptr<cImage> cImage::Rotate(qint32 degrees) const {
    int d = degrees % 360;
    if (d < 0)
        d += 360;
    if (m_bits.empty() || (d != 90 && d != 180 && d != 270))
        return nullptr;
    const int w = m_width, h = m_height;
    auto image = d == 180 ? emptyLike(w, h) : emptyLike(h, w);
    if (!image)
        return nullptr;
    if (d == 90)
        image->copyMapped(*this, 0, w, 0, 0, h, w);
    else if (d == 180)
        image->copyMapped(*this, w, h, 0, h, w, 0);
    else
        image->copyMapped(*this, h, 0, h, w, 0, 0);
    return image;
}
