// The camera frame turned into the employee's photo: the bitmap the camera
// saves becomes a JPEG of the same size that the reference decoder reads.
#include "devices/capture/StillPictureCamera.h"
#include "imaging/PhotoEncoding.h"
#include "tests/common/TestProgramDir.h"
#include "tests/devices/capture/helpers/Pictures.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The picture djpeg decodes from a JPEG file; null on a failure or a warning.
QImage djpeg(const QString& file) {
    const ToolRun r = RunTool(QStandardPaths::findExecutable("djpeg"), {"-ppm", file}, 60000);
    return r.code == 0 && r.err.isEmpty() ? QImage::fromData(r.out, "PPM") : QImage();
}

// Largest difference of a colour channel over the rectangle r.
int maxDifference(const QImage& a, const QImage& b, QRect r) {
    int worst = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            for (int shift : {0, 8, 16})
                worst = std::max(worst, std::abs(int((a.pixel(x, y) >> shift) & 0xFF) -
                                                 int((b.pixel(x, y) >> shift) & 0xFF)));
    return worst;
}

} // namespace

class tst_photoencoding : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("djpeg").isEmpty())
            QFAIL("djpeg is missing: run scripts/install-deps.sh");
    }

    void bitmapBecomesPhoto() {
        QTemporaryDir dir;
        const QString jpg = dir.filePath("tmp.jpg"), bmp = dir.filePath("tmp.bmp");
        // Sizes that are and are not whole 16 x 16 units.
        for (const QSize size : {QSize(640, 480), QSize(333, 251)}) {
            QImage picture(size, QImage::Format_RGB32);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    picture.setPixel(x, y,
                                     qRgb(x * 255 / size.width(), y * 255 / size.height(), 90));
            QVERIFY(picture.save(dir.filePath("frame.png")));
            QVERIFY(StillPictureCamera(dir.filePath("frame.png")).saveFrame(bmp));

            const QByteArray bytes = EncodePhoto(bmp);
            // A photo left from an earlier run is replaced by this one.
            QVERIFY(writeFile(jpg, "an old photo"));
            QVERIFY(EncodePhotoFile(bmp, jpg));
            QCOMPARE(readFile(jpg), bytes);
            const QImage decoded = djpeg(jpg);
            QCOMPARE(decoded.size(), size);
            QVERIFY(maxDifference(decoded, picture, picture.rect()) <= 24);
        }

        // An 8-bit bitmap with its own colours (not a grey ramp) stays in colour.
        QImage picture(48, 32, QImage::Format_Indexed8);
        picture.setColorTable({qRgb(200, 30, 30), qRgb(30, 30, 200)});
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x)
                picture.setPixel(x, y, x < 24 ? 0 : 1);
        QVERIFY(picture.save(dir.filePath("palette.bmp"), "BMP"));
        QVERIFY(EncodePhotoFile(dir.filePath("palette.bmp"), dir.filePath("palette.jpg")));
        const QImage decoded = djpeg(dir.filePath("palette.jpg"));
        QCOMPARE(decoded.size(), QSize(48, 32));
        // Away from the edge, where the subsampled colour blurs.
        const QImage expected = picture.convertToFormat(QImage::Format_RGB32);
        QVERIFY(maxDifference(decoded, expected, QRect(0, 0, 16, 32)) <= 12);
        QVERIFY(maxDifference(decoded, expected, QRect(32, 0, 16, 32)) <= 12);
    }

    void failuresLeaveNoPhoto() {
        QTemporaryDir dir;
        const QString jpg = dir.filePath("tmp.jpg");
        QVERIFY(writeFile(dir.filePath("tmp.bmp"), "BM but nothing else"));
        for (const QString& source : {dir.filePath("tmp.bmp"), dir.filePath("missing.bmp")}) {
            QVERIFY(writeFile(jpg, "an old photo"));
            QVERIFY(EncodePhoto(source).isEmpty() && !EncodePhotoFile(source, jpg));
            QVERIFY(!QFile::exists(jpg));
        }
        QVERIFY(writePicture(dir.filePath("good.bmp"), 16, 16, Qt::red));
        QVERIFY(!EncodePhotoFile(dir.filePath("good.bmp"), dir.filePath("no/such/folder/tmp.jpg")));
    }
};

QTEST_MAIN(tst_photoencoding)
#include "tst_photoencoding.moc"
