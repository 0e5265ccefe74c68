// The camera layer: the still-picture camera from a file and from a folder,
// presence and loss, the saved bitmap, the frozen preview, the view, the
// media module's camera on a machine without video input, and the choice
// between them.
#include "devices/capture/CameraView.h"
#include "devices/capture/MediaCamera.h"
#include "devices/capture/StillPictureCamera.h"
#include "tests/devices/capture/helpers/Pictures.h"

#include <QCameraDevice>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

class tst_camera : public QObject {
    Q_OBJECT

private slots:
    void stillFileSavedBitmapAndPresence() {
        QTemporaryDir dir;
        const QString picture = dir.filePath("face.png"), bmp = dir.filePath("tmp.bmp");
        for (const QString& path : {picture, dir.path()}) { // nothing there yet
            QVERIFY(!StillPictureCamera(path).isPresent() &&
                    !StillPictureCamera(path).saveFrame(bmp));
        }
        QVERIFY(!QFile::exists(bmp));

        QVERIFY(writePicture(picture, 321, 243, QColor(10, 200, 30)));
        StillPictureCamera camera(picture);
        QVERIFY(camera.isPresent());
        camera.advance();
        // A 24-bit Windows bitmap with the standard 40-byte header, replacing
        // what was there.
        QVERIFY(writeFile(bmp, QByteArray(100000, 'x')));
        QVERIFY(camera.saveFrame(bmp));
        const QByteArray data = readFile(bmp);
        QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 14), 40u);
        QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 28), quint16(24));
        const QImage back(bmp, "BMP");
        QCOMPARE(back.size(), QSize(321, 243));
        QCOMPARE(back.pixelColor(320, 242), QColor(10, 200, 30));
        QVERIFY(!camera.saveFrame(dir.filePath("no/such/folder/tmp.bmp")));

        // The picture disappears while the camera is live ("unplugged"), then
        // comes back.
        QVERIFY(QFile::remove(picture) && QFile::remove(bmp));
        camera.advance();
        QVERIFY(!camera.isPresent() && camera.frame().isNull());
        QVERIFY(!camera.saveFrame(bmp) && !QFile::exists(bmp));
        QVERIFY(writePicture(picture, 64, 48, Qt::yellow));
        camera.advance();
        QVERIFY(camera.isPresent());
    }

    void stillFolderInNameOrder() {
        QTemporaryDir dir;
        for (const auto& [name, width] :
             {std::pair{"b.png", 20}, {"a.jpg", 10}, {"C.bmp", 30}, {"D.PNG", 40}})
            QVERIFY(writePicture(dir.filePath(name), width, 10, Qt::blue));
        QVERIFY(writeFile(dir.filePath("bb.png"), "not a picture")); // passed over
        QVERIFY(writeFile(dir.filePath("c.txt"), "notes"));
        StillPictureCamera camera(dir.path());
        QList<int> widths{camera.frame().width()};
        for (int i = 0; i < 8; ++i) {
            camera.advance();
            widths << camera.frame().width();
        }
        QCOMPARE(widths, (QList<int>{10, 20, 30, 40, 10, 20, 30, 40, 10}));
    }

    void frozenPreviewKeepsLastFrame() {
        QTemporaryDir dir, out;
        for (int i = 1; i <= 3; ++i)
            QVERIFY(writePicture(dir.filePath(QString("%1.png").arg(i)), 10 * i, 10, Qt::red));
        StillPictureCamera camera(dir.path());
        CameraView view(&camera);
        camera.advance();
        QSignalSpy changed(&camera, &CameraSource::frameChanged);
        camera.setPreview(false);
        camera.advance();
        camera.advance();
        QCOMPARE(changed.count(), 0);
        QCOMPARE(view.shownFrame().width(), 20);
        // The bitmap saved is the picture shown.
        QVERIFY(camera.saveFrame(out.filePath("tmp.bmp")));
        QCOMPARE(QImage(out.filePath("tmp.bmp")).size(), QSize(20, 10));

        // Every picture gone while frozen: not present, the frozen one stays.
        for (int i = 1; i <= 3; ++i)
            QVERIFY(QFile::remove(dir.filePath(QString("%1.png").arg(i))));
        camera.advance();
        QVERIFY(!camera.isPresent());
        QCOMPARE(view.shownFrame().width(), 20);

        // Live again: the picture follows the camera at once.
        QVERIFY(writePicture(dir.filePath("4.png"), 40, 10, Qt::blue));
        camera.setPreview(true);
        QVERIFY(camera.isPresent());
        QCOMPARE(view.shownFrame().width(), 40);
    }

    void viewStretchesFrame() {
        QTemporaryDir dir;
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.setPixel(3, 2, qRgb(0, 0, 255)); // the lower right corner
        QVERIFY(image.save(dir.filePath("face.png")));
        StillPictureCamera camera(dir.filePath("face.png"));
        const QImage shot = CameraView(&camera).grab().toImage();
        QCOMPARE(shot.size(), QSize(640, 480));
        QCOMPARE(shot.pixelColor(400, 300), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(639, 479), QColor(Qt::blue));

        StillPictureCamera none(dir.filePath("none.png"));
        QCOMPARE(CameraView(&none).grab().toImage().pixelColor(320, 240), QColor(Qt::black));
    }

    void factoryAndMultimediaWithoutVideoInput() {
        QObject owner;
        qputenv("SIGNDESK_CAMERA", "/no/such/picture.png");
        auto* still = qobject_cast<StillPictureCamera*>(CreateCameraSource(&owner));
        QVERIFY(still && still->parent() == &owner && still->path() == "/no/such/picture.png");
        qunsetenv("SIGNDESK_CAMERA");
        auto* camera = qobject_cast<MediaCamera*>(CreateCameraSource(&owner));
        QVERIFY(camera);
        if (!QMediaDevices::videoInputs().isEmpty())
            QSKIP("this machine has a video input");
        QTemporaryDir dir;
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        QVERIFY(!camera->hasDevice() && !camera->isPresent());
        QVERIFY(!camera->saveFrame(dir.filePath("tmp.bmp")) &&
                !QFile::exists(dir.filePath("tmp.bmp")));
        camera->setPreview(false);
        camera->setPreview(true);
    }
};

QTEST_MAIN(tst_camera)
#include "tst_camera.moc"
