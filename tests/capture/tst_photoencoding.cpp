// The camera frame turned into the employee's photo: the bitmap the camera
// saves becomes a JPEG of the same size that the reference decoder reads.
#include "PhotoEncoding.h"
#include "StillPictureCamera.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Width and height of a JPEG file as djpeg decodes it (-1 on a failure or a
// warning); the file's pixels in `pixels` when given.
QSize djpegSize(const QString& file, QImage* pixels = nullptr) {
    const QString djpeg = QStandardPaths::findExecutable("djpeg");
    if (djpeg.isEmpty())
        return {-1, -1};
    QProcess p;
    p.start(djpeg, {"-ppm", file});
    if (!p.waitForFinished(60000) || p.exitCode() != 0 || !p.readAllStandardError().isEmpty())
        return {-1, -1};
    QImage image;
    if (!image.loadFromData(p.readAllStandardOutput(), "PPM"))
        return {-1, -1};
    if (pixels)
        *pixels = image;
    return image.size();
}

// A picture with smooth shading in each colour, saved as a bitmap by a camera.
QString cameraBitmap(const QTemporaryDir& dir, int w, int h) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    const QString source = dir.filePath("frame.png");
    const QString bmp = dir.filePath("tmp.bmp");
    if (!picture.save(source) || !StillPictureCamera(source).saveFrame(bmp))
        return {};
    return bmp;
}

int maxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

} // namespace

class tst_photoencoding : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void frameBecomesPhoto();
    void paletteBitmapKeepsColours();
    void failuresLeaveNoPhoto();
};

void tst_photoencoding::initTestCase() {
    if (QStandardPaths::findExecutable("djpeg").isEmpty())
        QFAIL("djpeg is missing: run scripts/install-deps.sh");
}

void tst_photoencoding::frameBecomesPhoto() {
    QTemporaryDir dir;
    // Sizes that are and are not whole 16 x 16 units.
    for (const QSize size : {QSize(640, 480), QSize(333, 251)}) {
        const QString bmp = cameraBitmap(dir, size.width(), size.height());
        QVERIFY(!bmp.isEmpty());
        const QByteArray bytes = EncodePhoto(bmp);
        QVERIFY(bytes.startsWith("\xFF\xD8\xFF\xE0"));

        // A photo left from an earlier run is replaced by this one.
        const QString jpg = dir.filePath("tmp.jpg");
        QFile old(jpg);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an old photo");
        old.close();
        QVERIFY(EncodePhotoFile(bmp, jpg));
        QFile photo(jpg);
        QVERIFY(photo.open(QIODevice::ReadOnly));
        QCOMPARE(photo.readAll(), bytes);

        QImage decoded;
        QCOMPARE(djpegSize(jpg, &decoded), size);
        QVERIFY(maxDifference(decoded, QImage(bmp)) <= 24);
    }
}

void tst_photoencoding::paletteBitmapKeepsColours() {
    // An 8-bit bitmap with its own colours (not a grey ramp) stays in colour.
    QTemporaryDir dir;
    QImage picture(48, 32, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(200, 30, 30), qRgb(30, 30, 200)});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            picture.setPixel(x, y, x < 24 ? 0 : 1);
    const QString bmp = dir.filePath("palette.bmp");
    QVERIFY(picture.save(bmp, "BMP"));
    const QString jpg = dir.filePath("palette.jpg");
    QVERIFY(EncodePhotoFile(bmp, jpg));
    QImage decoded;
    QCOMPARE(djpegSize(jpg, &decoded), QSize(48, 32));
    // Away from the edge, where subsampled colour blurs.
    const QImage expected = picture.convertToFormat(QImage::Format_RGB32);
    QVERIFY(maxDifference(decoded.copy(0, 0, 16, 32), expected.copy(0, 0, 16, 32)) <= 12);
    QVERIFY(maxDifference(decoded.copy(32, 0, 16, 32), expected.copy(32, 0, 16, 32)) <= 12);
}

void tst_photoencoding::failuresLeaveNoPhoto() {
    QTemporaryDir dir;
    const QString jpg = dir.filePath("tmp.jpg");
    const QString notBitmap = dir.filePath("tmp.bmp");
    QFile bad(notBitmap);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("BM but nothing else");
    bad.close();
    for (const QString& source : {notBitmap, dir.filePath("missing.bmp")}) {
        QFile old(jpg);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an old photo");
        old.close();
        QVERIFY(EncodePhoto(source).isEmpty());
        QVERIFY(!EncodePhotoFile(source, jpg));
        QVERIFY(!QFile::exists(jpg));
    }
    const QString bmp = cameraBitmap(dir, 16, 16);
    QVERIFY(!EncodePhotoFile(bmp, dir.filePath("no/such/folder/tmp.jpg")));
    QVERIFY(!EncodePhotoFile(bmp, QString()));
}

QTEST_MAIN(tst_photoencoding)
#include "tst_photoencoding.moc"
