// The photos' JPEG reader gives exactly the picture Qt's reader gives, for
// every colour JPEG a camera or an encoder writes (samplings, progressive,
// restart markers, RGB-coded, odd sizes, cut short), and leaves every other
// file (grey, CMYK, damaged, not a JPEG, over the allocation limit) to Qt's
// reader untouched.
#include "imaging/JpegReader.h"
#include "tests/common/TestProgramDir.h"
#include "tests/imaging/helpers/PhotoPicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Shading, edges and noise, so every sampling and block shows; the same every time.
QImage picture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    quint32 seed = 7;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int(seed >> 16) % 17;
            img.setPixel(x, y,
                         qRgb((x * 255 / qMax(1, w - 1) + noise) % 256,
                              ((x / 8 + y / 8) % 2 ? 200 : 40) + noise, (y * 3 + noise) % 256));
        }
    return img;
}

// A photo: smooth shading, edges off the blocks and fine noise. The eighths
// and Qt's smooth scaling filter its blocks' edges (picture above) apart.
QImage photo(int w, int h) {
    cImage image;
    FillPhotoPicture(image, w, h);
    QImage img(w, h, QImage::Format_RGB32);
    image.PaintHDC(img, 0, 0);
    return img;
}

QByteArray qtJpeg(const QImage& img, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(progressive);
    writer.write(img);
    return bytes;
}

} // namespace

class tst_JpegReader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // `img` through an outside encoder: cjpeg with `args`, or ImageMagick's
    // convert when `args` begin with "convert".
    QByteArray encoded(const QImage& img, QStringList args) {
        const QString in = m_dir.filePath(QStringLiteral("in%1.ppm").arg(++m_files));
        const QString out = m_dir.filePath(QStringLiteral("out%1.jpg").arg(m_files));
        if (!img.save(in, "PPM"))
            return {};
        const bool convert = args.value(0) == QLatin1String("convert");
        if (convert)
            args = args.mid(1) << in << QStringLiteral("-quality") << QStringLiteral("90") << out;
        else
            args << QStringLiteral("-outfile") << out << in;
        const ToolRun run =
            RunTool(convert ? QStringLiteral("convert") : QStringLiteral("cjpeg"), args, 60000);
        QFile file(out);
        return run.code == 0 && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable("cjpeg").isEmpty() &&
                     !QStandardPaths::findExecutable("convert").isEmpty(),
                 "cjpeg/convert not found: install libjpeg-turbo-progs and imagemagick "
                 "(scripts/install-deps.sh)");
        QVERIFY(m_dir.isValid());
    }

    void sameAsQt_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read"); // false: left to Qt's reader
        for (const QSize& size : {QSize(1, 1), QSize(17, 9), QSize(240, 180), QSize(641, 479)}) {
            const QImage img = picture(size.width(), size.height());
            const QByteArray tag =
                QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height()) + ' ';
            QTest::newRow(tag + "Qt's writer") << qtJpeg(img) << true;
            QTest::newRow(tag + "progressive") << qtJpeg(img, true) << true;
            QTest::newRow(tag + "4:4:4") << encoded(img, {"-sample", "1x1"}) << true;
            QTest::newRow(tag + "4:2:2") << encoded(img, {"-sample", "2x1"}) << true;
            QTest::newRow(tag + "restart markers") << encoded(img, {"-restart", "1B"}) << true;
            QTest::newRow(tag + "RGB-coded") << encoded(img, {"-rgb"}) << true;
            QTest::newRow(tag + "grey") << encoded(img, {"-grayscale"}) << false;
            QTest::newRow(tag + "CMYK")
                << encoded(img, {"convert", "-colorspace", "CMYK"}) << false;
        }
        const QByteArray photo = qtJpeg(picture(240, 180));
        // Cut after the header: the rest is grey, as Qt's reader leaves it.
        QTest::newRow("cut short") << photo.left(photo.size() / 2) << true;
        QTest::newRow("header only") << photo.left(100) << false;
        QByteArray garbage = photo;
        garbage[2] = 0x00; // bytes where a marker must be: skipped with a warning
        QTest::newRow("garbage before a marker") << garbage << true;
        QByteArray lossless = photo;
        const qsizetype frame = lossless.indexOf(QByteArrayLiteral("\xFF\xC0"));
        QVERIFY(frame > 0);
        lossless[frame + 1] = char(0xCF); // a lossless frame, which neither reads
        QTest::newRow("unsupported frame") << lossless << false;
        QTest::newRow("empty") << QByteArray() << false;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture(20, 10).save(&buffer, "PNG");
        QTest::newRow("PNG") << png << false;
    }

    void sameAsQt() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        QVERIFY(QTest::currentDataTag() == QByteArray("empty") || !bytes.isEmpty());
        const std::optional<QImage> own = JpegReader::Read(bytes);
        QCOMPARE(own.has_value(), read);
        if (!own) { // what the whole read refuses, the read for a box refuses too
            QVERIFY(!JpegReader::Read(bytes, QSize(8, 6)).has_value());
            return;
        }
        const QImage qt = QImage::fromData(bytes);
        QVERIFY(!qt.isNull());
        QCOMPARE(own->format(), qt.format());
        QCOMPARE(own->size(), qt.size());
        QVERIFY(*own == qt); // every pixel
    }

    // Read for a smaller box: the smallest eighth of the picture that covers
    // the box in both directions, on both sides of each eighth's size (the
    // odd picture's eighths rounded up, as libjpeg decodes them); the whole
    // picture for no box or one no smaller eighth covers.
    void coversTheBox_data() {
        QTest::addColumn<QSize>("whole");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("read");
        const QSize frame(640, 480), odd(641, 481);
        QTest::newRow("greeting's box") << frame << QSize(295, 223) << QSize(320, 240);
        QTest::newRow("half exactly") << frame << QSize(320, 240) << QSize(320, 240);
        QTest::newRow("a pixel wider") << frame << QSize(321, 240) << QSize(400, 300);
        QTest::newRow("a pixel taller") << frame << QSize(320, 241) << QSize(400, 300);
        QTest::newRow("an eighth") << frame << QSize(80, 60) << QSize(80, 60);
        QTest::newRow("tiny box") << frame << QSize(1, 1) << QSize(80, 60);
        QTest::newRow("seven eighths and more") << frame << QSize(561, 421) << frame;
        QTest::newRow("larger than it") << frame << QSize(800, 600) << frame;
        QTest::newRow("no box") << frame << QSize() << frame;
        QTest::newRow("empty box") << frame << QSize(0, 0) << frame;
        QTest::newRow("odd, half") << odd << QSize(321, 241) << QSize(321, 241);
        QTest::newRow("odd, over half") << odd << QSize(322, 241) << QSize(401, 301);
    }
    void coversTheBox() {
        QFETCH(QSize, whole);
        QFETCH(QSize, box);
        QFETCH(QSize, read);
        const QByteArray bytes = qtJpeg(photo(whole.width(), whole.height()));
        const std::optional<QImage> own = JpegReader::Read(bytes, box);
        QVERIFY(own.has_value());
        QCOMPARE(own->size(), read);
        QCOMPARE(own->format(), QImage::Format_RGB32);
        if (read == whole) {
            QVERIFY(*own == QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32));
            return;
        }
        // Close to the whole picture scaled smoothly to the same size: less
        // than a level apart on the mean (0.6 to 0.9 measured), as each is
        // from the photo itself scaled.
        const QImage scaled =
            QImage::fromData(bytes).scaled(read, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qint64 sum = 0;
        for (int y = 0; y < read.height(); ++y)
            for (int x = 0; x < read.width(); ++x) {
                const QRgb a = own->pixel(x, y), b = scaled.pixel(x, y);
                sum += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                       qAbs(qBlue(a) - qBlue(b));
            }
        const double mean = double(sum) / (3.0 * read.width() * read.height());
        QVERIFY2(mean < 1.5, qPrintable(QString::number(mean)));
    }

    // The allocation limit: refused where Qt's reader refuses, on both sides
    // of it (a picture of one byte more than the limit).
    void allocationLimit() {
        const int before = QImageReader::allocationLimit();
        const auto restore = qScopeGuard([before] { QImageReader::setAllocationLimit(before); });
        QImageReader::setAllocationLimit(1);
        for (const QSize& size : {QSize(512, 512), QSize(512, 513)}) {
            const QByteArray bytes = qtJpeg(picture(size.width(), size.height()));
            const bool qtReads = !QImage::fromData(bytes).isNull();
            QCOMPARE(qtReads, size.height() == 512);
            QCOMPARE(JpegReader::Read(bytes).has_value(), qtReads);
        }
    }
};

QTEST_GUILESS_MAIN(tst_JpegReader)
#include "tst_JpegReader.moc"
