#pragma once

#include <QImage>
#include <QRgb>
#include <QtGlobal>

#include <array>
#include <memory>
#include <vector>

// An in-memory device-independent bitmap: a plain pixel buffer with rows
// stored bottom-up (the first row in memory is the bottom row of the
// picture), each row padded to a multiple of 4 bytes, 24-bit pixels as blue,
// green, red and 1-, 4- and 8-bit pixels as indices into a colour table.
//
// The image is its own drawing surface: hDC() hands it to the copy
// operations of another image and to the JPEG encoder. Copies between
// different formats map every colour to the nearest entry of the
// destination's colour table.
class cImage {
public:
    // Raster operations of PaintHDC (ternary codes with the pattern white).
    static constexpr quint32 SRCCOPY = 0x00CC0020;
    static constexpr quint32 SRCPAINT = 0x00EE0086;
    static constexpr quint32 SRCAND = 0x008800C6;
    static constexpr quint32 SRCINVERT = 0x00660046;
    static constexpr quint32 NOTSRCCOPY = 0x00330008;
    static constexpr quint32 DSTINVERT = 0x00550009;
    static constexpr quint32 BLACKNESS = 0x00000042;
    static constexpr quint32 WHITENESS = 0x00FF0062;

    cImage();
    ~cImage();
    cImage(const cImage&) = delete;
    cImage& operator=(const cImage&) = delete;

    qint32 Width() const { return m_width; }
    qint32 Height() const { return m_height; }
    qint16 BitCount() const { return m_bitCount; }
    // The image's drawing surface; none while the image is empty.
    const cImage* hDC() const { return m_bits.empty() ? nullptr : this; }
    // First byte of the pixel memory (the bottom row); null while empty.
    uchar* DIBitsPtr() { return m_bits.empty() ? nullptr : m_bits.data(); }
    const uchar* DIBitsPtr() const { return m_bits.empty() ? nullptr : m_bits.data(); }
    qint32 BytesPerScanLine() const;

    // Bit counts 1, 4, 8 and 24; indexed images start with an even grey ramp.
    // Every failed Create or copy leaves the image empty.
    bool Create(qint32 width, qint32 height, qint16 bitCount);
    // Bit count 0 takes the picture's own depth (16 bits become 24; 32 fails).
    bool CopyStdPicture(const QImage& picture, qint16 bitCount = 0);
    // The rectangle must lie wholly inside the source; bit count 0 follows
    // the size of the source's colour table.
    bool CopyHDC(const cImage* source, qint32 width, qint32 height, qint16 bitCount = 0,
                 qint32 left = 0, qint32 top = 0);
    bool CopyPalletHDC(const cImage* source);
    // Clipped to the destination; a destination in another format than
    // 32 bits a pixel is converted to 32 bits first.
    void PaintHDC(QImage& destination, qint32 left = 0, qint32 top = 0,
                  quint32 rasterOperation = SRCCOPY) const;
    std::unique_ptr<cImage> Greyscale() const;
    std::unique_ptr<cImage> Resample(qint32 newWidth, qint32 newHeight) const;
    std::unique_ptr<cImage> Mirror(bool vertical) const;
    // Quarter turns only; any other angle gives no image.
    std::unique_ptr<cImage> Rotate(qint32 degrees) const;

    // Colour table: 2^bits entries for 1, 4 and 8 bits, none for 24 bits.
    int ColourCount() const { return m_bitCount == 24 ? 0 : 1 << m_bitCount; }
    QRgb ColourAt(int index) const { return m_colours[size_t(index & 0xFF)]; }
    // Replaces the first entries of the colour table; returns how many were set.
    int SetColours(const QRgb* colours, int count);

    // Pixel access by picture coordinates (row 0 is the top row).
    uchar* ScanLine(qint32 y) { return m_bits.data() + rowOffset(y); }
    const uchar* ScanLine(qint32 y) const { return m_bits.data() + rowOffset(y); }
    QRgb PixelAt(qint32 x, qint32 y) const;
    // Reads count pixels of row y from column x as blue, green, red bytes.
    void ReadRowBGR(qint32 y, qint32 x, qint32 count, uchar* out) const;
    // Writes count pixels of row y from column x given as blue, green, red
    // bytes, mapping them to the nearest colour-table entry when indexed.
    void WriteRowBGR(qint32 y, qint32 x, qint32 count, const uchar* in);

private:
    void Destroy();
    size_t rowOffset(qint32 y) const { return size_t(m_height - 1 - y) * size_t(m_stride); }
    int indexAt(const uchar* row, qint32 x) const;
    void setIndex(uchar* row, qint32 x, int index);
    int nearestIndex(int r, int g, int b) const;
    bool sameColours(const cImage& other) const;
    // Copies a rectangle of source onto this image at the origin, pixel by
    // pixel through the parallelogram mapping of the source corners.
    void copyMapped(const cImage& source, int ulx, int uly, int urx, int ury, int llx, int lly);
    std::unique_ptr<cImage> emptyLike(qint32 width, qint32 height) const;

    qint32 m_width = 0;
    qint32 m_height = 0;
    qint16 m_bitCount = 0;
    qint32 m_stride = 0;
    quint32 m_sizeImage = 0;
    bool m_greyRamp = false;
    std::array<QRgb, 256> m_colours{};
    std::vector<uchar> m_bits;
};
