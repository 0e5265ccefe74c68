// Bitmap layout, copies between pictures and the geometric operations of cImage.
#include "imaging/cImage.h"

#include <QtTest>

#include <array>

namespace {

// A 24-bit image whose every pixel has its own colour: red = 10·x, green = 10·y.
std::unique_ptr<cImage> coordinateImage(int w, int h) {
    auto image = std::make_unique<cImage>();
    if (!image->Create(w, h, 24))
        return nullptr;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uchar bgr[3] = {77, uchar(10 * y), uchar(10 * x)};
            image->WriteRowBGR(y, x, 1, bgr);
        }
    return image;
}

QRgb coordinateColour(int x, int y) {
    return qRgb(10 * x, 10 * y, 77);
}

} // namespace

class tst_cImage : public QObject {
    Q_OBJECT

private slots:
    void createLayoutAndGreyRamp() {
        // Rows are padded to whole 32-bit words; indexed bitmaps get a grey ramp,
        // a 24-bit one created over them none: {bits, width, bytes}.
        cImage image;
        for (const auto& [bits, width, expected] :
             {std::array{1, 32, 4}, {1, 33, 8}, {4, 8, 4}, {4, 9, 8}, {8, 5, 8}, {24, 13, 40}}) {
            QVERIFY(image.Create(width, 3, qint16(bits)));
            QCOMPARE(image.BytesPerScanLine(), expected);
            const int colours = bits == 24 ? 0 : 1 << bits;
            QCOMPARE(image.ColourCount(), colours);
            for (int i = 0; i < colours; ++i) {
                const int v = 255 * i / (colours - 1);
                QCOMPARE(image.ColourAt(i), qRgb(v, v, v));
            }
        }
    }

    void createRefusesBadArguments() {
        cImage image;
        for (qint16 bits : {0, 2, 16, 32}) {
            QVERIFY(image.Create(4, 4, 24));
            QVERIFY(!image.Create(4, 4, bits));
            QVERIFY(image.hDC() == nullptr);
            QCOMPARE(image.Width(), 0);
        }
        // Empty, negative, and beyond what a bitmap can hold: refused, not wrapped around.
        for (const auto& [w, h, bits] : {std::array{0, 5, 24},
                                         {5, -1, 8},
                                         {-5, 5, 1},
                                         {100000, 100000, 24},
                                         {0x7FFFFFFF, 2, 24}})
            QVERIFY(!image.Create(w, h, qint16(bits)));
    }

    void copyStdPicture() {
        // 16 bits become 24 bits.
        QImage rgb16(5, 4, QImage::Format_RGB16);
        rgb16.fill(Qt::black);
        rgb16.setPixel(1, 2, qRgb(255, 0, 0));
        rgb16.setPixel(4, 3, qRgb(255, 255, 255));
        cImage image;
        QVERIFY(image.CopyStdPicture(rgb16));
        QCOMPARE(image.BitCount(), qint16(24));
        QCOMPARE(QSize(image.Width(), image.Height()), QSize(5, 4));
        QCOMPARE(image.PixelAt(1, 2), qRgb(255, 0, 0));
        QCOMPARE(image.PixelAt(4, 3), qRgb(255, 255, 255));
        QCOMPARE(image.PixelAt(0, 0), qRgb(0, 0, 0));

        // An indexed picture keeps its depth, colour table and indices.
        QImage indexed(3, 2, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)});
        indexed.fill(0);
        indexed.setPixel(2, 1, 2);
        QVERIFY(image.CopyStdPicture(indexed));
        QCOMPARE(image.BitCount(), qint16(8));
        QCOMPARE(image.ColourAt(1), qRgb(0, 255, 0));
        QCOMPARE(image.ScanLine(1)[2], uchar(2));
        QCOMPARE(image.PixelAt(2, 1), qRgb(0, 0, 255));

        QImage mono(9, 2, QImage::Format_Mono);
        mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        mono.fill(0);
        mono.setPixel(8, 1, 1);
        QVERIFY(image.CopyStdPicture(mono));
        QCOMPARE(image.BitCount(), qint16(1));
        QCOMPARE(image.PixelAt(8, 1), qRgb(255, 255, 255));
        QCOMPARE(image.PixelAt(7, 1), qRgb(0, 0, 0));

        // With alpha, no picture, or an unknown bit count: refused, the bitmap left empty.
        QImage argb(2, 2, QImage::Format_ARGB32);
        argb.fill(Qt::red);
        QVERIFY(!image.CopyStdPicture(argb));
        QVERIFY(image.hDC() == nullptr);
        QVERIFY(!image.CopyStdPicture(QImage()));
        QVERIFY(!image.CopyStdPicture(argb, 16));
        QVERIFY(image.DIBitsPtr() == nullptr);
    }

    void copyHDC() {
        auto source = coordinateImage(6, 5);
        cImage part;
        QVERIFY(part.CopyHDC(source->hDC(), 3, 2, 0, 2, 1));
        QCOMPARE(part.BitCount(), qint16(24));
        QCOMPARE(QSize(part.Width(), part.Height()), QSize(3, 2));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(part.PixelAt(x, y), coordinateColour(x + 2, y + 1));

        // The bit count follows the source's colour table.
        cImage grey;
        QVERIFY(grey.Create(4, 4, 4));
        cImage copy;
        QVERIFY(copy.CopyHDC(grey.hDC(), 4, 4));
        QCOMPARE(copy.BitCount(), qint16(4));
        // Converting while copying maps to the nearest table entry.
        QVERIFY(copy.CopyHDC(source->hDC(), 6, 5, 1));
        QCOMPARE(copy.BitCount(), qint16(1));

        // No source, or a rectangle reaching outside it: refused, the copy left empty.
        QVERIFY(!copy.CopyHDC(nullptr, 2, 2));
        QVERIFY(copy.CopyHDC(source->hDC(), 6, 5));
        QVERIFY(!copy.CopyHDC(source->hDC(), 7, 5));
        QVERIFY(copy.hDC() == nullptr);
        // {w, h, bits, left, top}: outside, empty, negative, or an unknown bit count.
        for (const auto& [w, h, bits, left, top] : {std::array{2, 2, 0, 5, 0},
                                                    {2, 2, 0, -1, 0},
                                                    {2, 2, 0, 0x7FFFFFFF, 0x7FFFFFFF},
                                                    {0, 2, 0, 0, 0},
                                                    {2, -2, 0, 0, 0},
                                                    {2, 2, 7, 0, 0}})
            QVERIFY(!copy.CopyHDC(source->hDC(), w, h, qint16(bits), left, top));

        // Copying an image from itself.
        QVERIFY(source->CopyHDC(source->hDC(), 2, 2, 24, 4, 3));
        QCOMPARE(source->Width(), 2);
        QCOMPARE(source->PixelAt(1, 1), coordinateColour(5, 4));
    }

    void copyPalletHDC() {
        QImage indexed(2, 2, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6)});
        indexed.fill(1);
        cImage source;
        QVERIFY(source.CopyStdPicture(indexed));
        cImage target;
        QVERIFY(target.Create(2, 2, 8));
        QVERIFY(target.CopyPalletHDC(source.hDC()));
        QCOMPARE(target.ColourAt(1), qRgb(4, 5, 6));
        QCOMPARE(target.ColourAt(2), qRgb(2, 2, 2));

        cImage colour;
        QVERIFY(colour.Create(2, 2, 24));
        QVERIFY(!colour.CopyPalletHDC(source.hDC()));
        QVERIFY(!target.CopyPalletHDC(colour.hDC()));
        QVERIFY(!target.CopyPalletHDC(nullptr));
        cImage empty;
        QVERIFY(!empty.CopyPalletHDC(source.hDC()));
    }

    void paintHDC() {
        auto image = coordinateImage(3, 2);
        QImage canvas(5, 5, QImage::Format_RGB32);
        canvas.fill(qRgb(1, 2, 3));
        image->PaintHDC(canvas, 2, 1);
        QCOMPARE(canvas.pixel(2, 1), coordinateColour(0, 0));
        QCOMPARE(canvas.pixel(4, 2), coordinateColour(2, 1));
        QCOMPARE(canvas.pixel(1, 1), qRgb(1, 2, 3));
        QCOMPARE(canvas.pixel(2, 3), qRgb(1, 2, 3));

        // Raster operations combine source and destination.
        canvas.fill(qRgb(0xF0, 0x0F, 0xFF));
        image->PaintHDC(canvas, 0, 0, cImage::SRCINVERT);
        QCOMPARE(canvas.pixel(1, 1), qRgb(0xF0 ^ 10, 0x0F ^ 10, 0xFF ^ 77));
        image->PaintHDC(canvas, 0, 0, cImage::DSTINVERT);
        QCOMPARE(canvas.pixel(1, 1),
                 qRgb(0xFF - (0xF0 ^ 10), 0xFF - (0x0F ^ 10), 0xFF - (0xFF ^ 77)));
        image->PaintHDC(canvas, 0, 0, cImage::BLACKNESS);
        QCOMPARE(canvas.pixel(2, 1), qRgb(0, 0, 0));

        // Partly or wholly outside the destination: clipped, nothing else touched.
        canvas.fill(qRgb(9, 9, 9));
        image->PaintHDC(canvas, -2, -1);
        QCOMPARE(canvas.pixel(0, 0), coordinateColour(2, 1));
        QCOMPARE(canvas.pixel(1, 0), qRgb(9, 9, 9));
        image->PaintHDC(canvas, 100, 100);
        image->PaintHDC(canvas, -0x7FFFFFFF, 0x7FFFFFFF);

        // Other destination formats are brought to 32 bits first.
        QImage small(2, 2, QImage::Format_RGB888);
        small.fill(Qt::white);
        image->PaintHDC(small, 0, 0);
        QCOMPARE(small.pixel(1, 1), coordinateColour(1, 1));
        QImage none;
        image->PaintHDC(none, 0, 0);
        cImage empty;
        empty.PaintHDC(canvas, 0, 0);
    }

    void greyscaleNearestGrey() {
        cImage image;
        QVERIFY(image.Create(3, 1, 24));
        const uchar bgr[9] = {90, 60, 30, 255, 255, 255, 0, 0, 1};
        image.WriteRowBGR(0, 0, 3, bgr);
        auto grey = image.Greyscale();
        QVERIFY(grey);
        QCOMPARE(grey->BitCount(), qint16(8));
        QCOMPARE(grey->Width(), 3);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(grey->ScanLine(0)), 3),
                 QByteArray("\x3C\xFF\x00", 3));
        QCOMPARE(image.PixelAt(0, 0), qRgb(30, 60, 90)); // source unchanged
        cImage empty;
        QVERIFY(!empty.Greyscale());
    }

    void resampleAveragesAreas() {
        // Left half black, right half white, 4×2 → 1 to 4 columns.
        cImage image;
        QVERIFY(image.Create(4, 2, 24));
        const uchar row[12] = {0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255};
        image.WriteRowBGR(0, 0, 4, row);
        image.WriteRowBGR(1, 0, 4, row);
        const QRgb black = qRgb(0, 0, 0), mid = qRgb(128, 128, 128), white = qRgb(255, 255, 255);
        // Each pixel the mean of what it covers; the same size is a plain copy.
        const QList<QList<QRgb>> rows = {
            {mid}, {black, white}, {black, mid, white}, {black, black, white, white}};
        for (const QList<QRgb>& expected : rows) {
            auto out = image.Resample(int(expected.size()), 2);
            QVERIFY(out);
            for (int x = 0; x < expected.size(); ++x)
                QCOMPARE(out->PixelAt(x, 1), expected[x]);
        }
        // Enlarging repeats the covering pixel.
        auto big = image.Resample(1, 1)->Resample(3, 5);
        QCOMPARE(big->Width(), 3);
        QCOMPARE(big->PixelAt(2, 4), mid);

        // An indexed image keeps its bit count and table.
        cImage grey;
        QVERIFY(grey.Create(4, 4, 4));
        auto smaller = grey.Resample(2, 2);
        QCOMPARE(smaller->BitCount(), qint16(4));
        QCOMPARE(smaller->ColourAt(15), qRgb(255, 255, 255));

        QVERIFY(!image.Resample(0, 2));
        QVERIFY(!image.Resample(2, -1));
        cImage empty;
        QVERIFY(!empty.Resample(2, 2));
    }

    void mirrorAndRotate() {
        const int w = 4, h = 3;
        auto image = coordinateImage(w, h);
        auto r90 = image->Rotate(90), r180 = image->Rotate(180), r270 = image->Rotate(270);
        auto leftRight = image->Mirror(false), upsideDown = image->Mirror(true);
        QVERIFY(r90 && r180 && r270 && leftRight && upsideDown);
        QCOMPARE(QSize(r90->Width(), r90->Height()), QSize(h, w));
        QCOMPARE(QSize(r270->Width(), r270->Height()), QSize(h, w));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                QCOMPARE(leftRight->PixelAt(w - 1 - x, y), coordinateColour(x, y));
                QCOMPARE(upsideDown->PixelAt(x, h - 1 - y), coordinateColour(x, y));
                // 90: a quarter turn counter-clockwise; the upper-right corner goes to the upper
                // left.
                QCOMPARE(r90->PixelAt(y, w - 1 - x), coordinateColour(x, y));
                QCOMPARE(r180->PixelAt(w - 1 - x, h - 1 - y), coordinateColour(x, y));
                // 270: clockwise; the upper-left corner goes to the upper right.
                QCOMPARE(r270->PixelAt(h - 1 - y, x), coordinateColour(x, y));
                // Other turns of the same angle.
                QCOMPARE(image->Rotate(-90)->PixelAt(h - 1 - y, x), coordinateColour(x, y));
                QCOMPARE(image->Rotate(450)->PixelAt(y, w - 1 - x), coordinateColour(x, y));
            }
        QCOMPARE(image->PixelAt(0, 0), coordinateColour(0, 0)); // source unchanged
        for (int angle : {45, 0, 360})
            QVERIFY(!image->Rotate(angle));
        cImage empty;
        QVERIFY(!empty.Rotate(90));
        QVERIFY(!empty.Mirror(true));
    }

    void indexedGeometryKeepsIndices() {
        // 1- and 4-bit pixels share bytes; the transforms must move single pixels.
        for (qint16 bits : {1, 4}) {
            cImage image;
            QVERIFY(image.Create(11, 3, bits));
            const uchar white[3] = {255, 255, 255};
            image.WriteRowBGR(0, 10, 1, white); // upper-right corner
            auto r90 = image.Rotate(90);
            QCOMPARE(r90->BitCount(), bits);
            QCOMPARE(r90->PixelAt(0, 0), qRgb(255, 255, 255));
            QCOMPARE(r90->PixelAt(1, 0), qRgb(0, 0, 0));
            auto mirrored = image.Mirror(false);
            QCOMPARE(mirrored->PixelAt(0, 0), qRgb(255, 255, 255));
            QCOMPARE(mirrored->PixelAt(10, 0), qRgb(0, 0, 0));
        }
    }
};

QTEST_GUILESS_MAIN(tst_cImage)
#include "tst_cImage.moc"
