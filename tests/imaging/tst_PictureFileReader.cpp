// PictureFileReader: pictures read straight into the bitmap, or streamed
// into the encoder band by band, encode to the same JPEG bytes as through
// Qt's readers; damaged files are refused before anything large is
// allocated; jpegenc takes its input through it.
#include "imaging/PictureFileReader.h"
#include "imaging/cImage.h"
#include "imaging/cJpeg.h"
#include "tests/imaging/helpers/JpegCheck.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int W = 37, H = 23; // odd sizes: padded rows, partial blocks

uchar sample(int x, int y, int c) {
    return uchar((x * 7 + y * 13 + c * 85 + x * y) & 0xFF);
}

void put32(QByteArray& b, qint64 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

QByteArray pnm(bool colour, int maxval, int w = W, int h = H) {
    QByteArray b = QStringLiteral("%1\n# made by the test\n%2 %3\n%4\n")
                       .arg(colour ? "P6" : "P5")
                       .arg(w)
                       .arg(h)
                       .arg(maxval)
                       .toLatin1();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < (colour ? 3 : 1); ++c)
                b.append(char(sample(x, y, c)));
    return b;
}

// An uncompressed BMP with a 40-byte header; 8 bits use a table of
// `colours` entries (indices beyond it occur in the picture).
QByteArray bmp(int bits, bool topDown, int colours = 0) {
    const int stride = (W * bits + 31) / 32 * 4;
    const int table = bits == 8 ? 4 * colours : 0;
    QByteArray b("BM");
    // File size, reserved, pixel offset, header size, width, height.
    for (const qint64 v : {54 + table + stride * H, 0, 54 + table, 40, W, topDown ? -H : H})
        put32(b, v);
    b.append("\x01\x00", 2).append(char(bits)).append('\0');
    for (int i = 0; i < 6; ++i)
        put32(b, i == 4 ? colours : 0);
    for (int i = 0; i < colours; ++i)
        b.append(char(i * 3)).append(char(255 - i)).append(char(i * 5)).append('\0');
    for (int row = 0; row < H; ++row) {
        const int y = topDown ? row : H - 1 - row;
        QByteArray line;
        for (int x = 0; x < W; ++x) {
            if (bits == 8)
                line.append(char(sample(x, y, 0) % (colours + 3)));
            else
                for (int c = 0; c < bits / 8; ++c)
                    line.append(char(sample(x, y, c)));
        }
        b.append(line.leftJustified(stride, '\x5A')); // non-zero padding
    }
    return b;
}

// Luminance, then chrominance sampling factors.
using Sampling = std::array<int, 6>;
constexpr Sampling kSamplings[] = {{2, 2, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {4, 3, 1, 1, 1, 1},
                                   {3, 2, 2, 1, 1, 1}, {2, 2, 1, 1, 2, 2}, {1, 1, 0, 0, 0, 0}};

QByteArray encode(const cImage& image, const Sampling& s = kSamplings[0]) {
    cJpeg jpeg;
    jpeg.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    if (jpeg.SampleHDC(image.hDC(), image.Width(), image.Height()) != 0)
        return {};
    return jpeg.Encode();
}

// A device that cannot seek, like a pipe.
class Pipe : public QIODevice {
public:
    explicit Pipe(const QByteArray& data) : m_data(data) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* to, qint64 max) override {
        const qint64 n = std::min(max, m_data.size() - m_at);
        std::memcpy(to, m_data.constData() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_at = 0;
};

// The picture streamed into the encoder; empty when that fails (error says why).
QByteArray encodeRows(QIODevice& device, const Sampling& s, Error* error = nullptr) {
    PictureFileReader reader(device);
    cJpeg jpeg;
    jpeg.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    const bool ok = reader.ReadHeader() == PictureFileReader::Read && jpeg.SampleRows(reader) == 0;
    ::Error(reader.Error()).Report(error);
    return ok ? jpeg.Encode() : QByteArray();
}

} // namespace

class tst_PictureFileReader : public QObject {
    Q_OBJECT

private slots:
    void sameJpegAsThroughQt_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("bitCount");
        QTest::newRow("ppm") << pnm(true, 255) << 24;
        QTest::newRow("ppm maxval 100") << pnm(true, 100) << 24;
        QTest::newRow("pgm") << pnm(false, 255) << 8;
        QTest::newRow("pgm maxval 17") << pnm(false, 17) << 8;
        QTest::newRow("bmp 24 bottom-up") << bmp(24, false) << 24;
        QTest::newRow("bmp 24 top-down") << bmp(24, true) << 24;
        QTest::newRow("bmp 32") << bmp(32, false) << 24;
        QTest::newRow("bmp 8, short table") << bmp(8, false, 20) << 8;
        QTest::newRow("bmp 8 top-down") << bmp(8, true, 256) << 8;
    }
    void sameJpegAsThroughQt() {
        QFETCH(QByteArray, file);
        QFETCH(int, bitCount);
        const QImage picture = QImage::fromData(file);
        QVERIFY(!picture.isNull());
        cImage viaQt;
        QVERIFY(viaQt.CopyStdPicture(picture, 24));

        cImage direct;
        Error error;
        QCOMPARE(PictureFileReader::ReadPicture(file, direct, &error), PictureFileReader::Read);
        QVERIFY(error.Text().isEmpty());
        QCOMPARE(direct.BitCount(), bitCount);
        const QByteArray jpeg = encode(direct);
        QVERIFY(!jpeg.isEmpty());
        QCOMPARE(jpeg, encode(viaQt)); // the same size first: the frame header holds it
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                QCOMPARE(direct.PixelAt(x, y), viaQt.PixelAt(x, y));
        Pipe whole(file); // read whole from a pipe: through the temporary file
        QCOMPARE(PictureFileReader::ReadPicture(whole, direct), PictureFileReader::Read);
        QCOMPARE(encode(direct), jpeg);

        // Streamed band by band, from a random-access and from a sequential
        // device (bottom-up BMP rows are taken from the end first).
        for (const Sampling& s : kSamplings) {
            const QByteArray expected = encode(viaQt, s);
            QBuffer buffer;
            buffer.setData(file);
            QVERIFY(buffer.open(QIODevice::ReadOnly));
            QCOMPARE(encodeRows(buffer, s), expected);
            Pipe pipe(file);
            QCOMPARE(encodeRows(pipe, s), expected);
        }
    }

    void streamEndingEarlyFails() {
        // A sequential device cannot be checked for its size beforehand; a
        // bottom-up BMP claiming 17000x17000 pixels is read before anything is allocated.
        QByteArray claim = bmp(24, false);
        claim.replace(18, 8, QByteArray("\x68\x42\0\0\x68\x42\0\0", 8));
        for (const QByteArray& file : {pnm(true, 255), bmp(24, true), bmp(24, false), claim}) {
            Pipe pipe(file.left(file.size() - 200));
            Error error;
            QVERIFY(encodeRows(pipe, kSamplings[0], &error).isEmpty());
            QVERIFY2(error.Text().contains(QStringLiteral("truncated")), qPrintable(error.Text()));
        }
        // A failed sampling keeps the picture sampled before it.
        cImage image;
        QCOMPARE(PictureFileReader::ReadPicture(bmp(24, false), image), PictureFileReader::Read);
        cJpeg jpeg;
        QCOMPARE(jpeg.SampleHDC(image.hDC(), W, H), 0);
        const QByteArray before = jpeg.Encode();
        const QByteArray ppm = pnm(true, 255);
        Pipe pipe(ppm.left(ppm.size() - 200));
        PictureFileReader reader(pipe);
        QCOMPARE(reader.ReadHeader(), PictureFileReader::Read);
        QCOMPARE(jpeg.SampleRows(reader), 1);
        QCOMPARE(jpeg.Encode(), before);
    }

    // Damaged files are refused with a reason; other kinds are left to Qt
    // (no reason). Either way the bitmap is left empty.
    void damagedOrOtherFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        const QByteArray ppm = pnm(true, 255);
        QTest::newRow("ppm truncated") << ppm.left(ppm.size() - 1) << "truncated";
        QTest::newRow("bmp truncated") << bmp(24, false).left(500) << "truncated";
        QTest::newRow("bmp header cut") << QByteArray("BM\x10\0\0\0", 6) << "file header";
        QTest::newRow("ppm 65536 wide") << pnm(true, 255, 65536, 1) << "at most 65535";
        QTest::newRow("ppm no pixels") << pnm(false, 255, 0, 5) << "no pixels";
        // 17000x17000 claimed by a small file: refused before 867 MB are allocated.
        QTest::newRow("ppm huge claim")
            << QByteArray("P6 17000 17000 255\n").append(200, 'x') << "truncated";
        QTest::newRow("ppm over the limit")
            << QByteArray("P6 20000 20000 255\n") << "at most 300 megapixels";
        QTest::newRow("ppm endless number")
            << QByteArray("P6 123456789012345678901 1 255\n") << "too large";
        QTest::newRow("ppm maxval 0") << QByteArray("P5 1 1 0\n\x01") << "maximum value";
        QTest::newRow("ppm header ends") << QByteArray("P6 10 ") << "height";
        QTest::newRow("ppm junk") << QByteArray("P6 10 x") << "no height";
        QByteArray offset = bmp(24, false);
        offset[10] = 10;
        QTest::newRow("bmp offset inside header") << offset << "offset";
        QTest::newRow("bmp table of 300") << bmp(8, false, 300) << "colour table";
        QByteArray wide = bmp(24, true);
        wide[21] = '\x7F'; // width 0x7F000025
        QTest::newRow("bmp huge width") << wide << "at most 65535";

        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImage(3, 3, QImage::Format_RGB32).save(&png, "PNG");
        QByteArray rle = bmp(8, false, 4);
        rle[30] = 1; // run-length coded
        QByteArray wide16 = ppm;
        wide16.replace("\n255\n", "\n65535\n");
        QByteArray oldHeader = bmp(24, false);
        oldHeader[14] = 12;
        const QList<QByteArray> others{
            png.data(),  QByteArray("P3 1 1 255 1 2 3"), wide16, rle, bmp(4, false, 4), oldHeader,
            QByteArray()};
        for (int i = 0; i < others.size(); ++i)
            QTest::addRow("left to Qt %d", i) << others[i] << QString();
    }
    void damagedOrOtherFiles() {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        cImage image;
        QVERIFY(image.Create(4, 4, 24));
        Error error(QStringLiteral("x"));
        QCOMPARE(PictureFileReader::ReadPicture(file, image, &error),
                 reason.isEmpty() ? PictureFileReader::NotHandled : PictureFileReader::Failed);
        QVERIFY2(reason.isEmpty() ? error.Text().isEmpty() : error.Text().contains(reason),
                 qPrintable(error.Text()));
        QVERIFY(image.hDC() == nullptr);
    }

    void jpegencReadsDirectly() {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.pic")), a = dir.filePath("a.jpg"),
                      b = dir.filePath("b.jpg");
        const QByteArray ppm = pnm(true, 255);
        QVERIFY(writeFile(in, ppm));
        // The dynamic loader names every library it maps: a PPM needs no Qt Gui.
        qputenv("LD_DEBUG", "libs");
        const ToolRun direct = JpegCheck::Jpegenc({in, a});
        qunsetenv("LD_DEBUG");
        QVERIFY2(direct.code == 0 && direct.err.contains("libQt6Core") &&
                     !direct.err.contains("libQt6Gui"),
                 qPrintable(direct.err));
        cImage image;
        QCOMPARE(PictureFileReader::ReadPicture(ppm, image), PictureFileReader::Read);
        QCOMPARE(readFile(a), encode(image));
        // A damaged file is refused with the reader's reason and no output.
        QVERIFY(writeFile(in, ppm.left(100)));
        const ToolRun r = JpegCheck::Jpegenc({in, b});
        QVERIFY2(r.code == 1 && r.err.contains(QStringLiteral("truncated")), qPrintable(r.err));
        QVERIFY(!QFile::exists(b));
        // Pictures read through Qt are refused for their size, before reading.
        QByteArray wide = bmp(8, false, 4);
        wide[30] = 1;                                         // run-length coded
        wide.replace(18, 4, QByteArray("\x70\x11\x01\0", 4)); // 70000 wide
        QVERIFY(writeFile(in, wide));
        const ToolRun w = JpegCheck::Jpegenc({in, b});
        QVERIFY2(w.code == 1 && w.err.contains(QStringLiteral("65535")), qPrintable(w.err));
    }
};

QTEST_GUILESS_MAIN(tst_PictureFileReader)
#include "tst_PictureFileReader.moc"
