// The camera layer: the still-picture camera from a file and from a folder,
// presence, the saved bitmap, the frozen preview, the view, the Qt Multimedia
// camera on a machine without video input, and the choice between them.
#include "CameraSource.h"
#include "CameraView.h"
#include "MultimediaCamera.h"
#include "StillPictureCamera.h"

#include <QCameraDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// A picture of one colour whose size tells it apart.
bool writePicture(const QString& path, int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path);
}

QSize frameSize(const CameraSource& camera) {
    return camera.frame().size();
}

} // namespace

class tst_camera : public QObject {
    Q_OBJECT

private slots:
    void stillFileAndSavedBitmap();
    void stillFolderInNameOrder();
    void absentAndUnplugged();
    void frozenPreviewKeepsLastFrame();
    void viewStretchesFrame();
    void multimediaWithoutVideoInput();
    void factoryFollowsEnvironment();
};

void tst_camera::stillFileAndSavedBitmap() {
    QTemporaryDir dir;
    const QString picture = dir.filePath("face.png");
    QVERIFY(writePicture(picture, 321, 243, QColor(10, 200, 30)));

    StillPictureCamera camera(picture);
    QVERIFY(camera.isPresent());
    QVERIFY(camera.preview());
    QCOMPARE(frameSize(camera), QSize(321, 243));
    camera.advance();
    QCOMPARE(frameSize(camera), QSize(321, 243));

    // A Windows bitmap with the standard 40-byte header, 24 bits a pixel,
    // replacing what was there.
    const QString bmp = dir.filePath("tmp.bmp");
    {
        QFile old(bmp);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    QVERIFY(camera.saveFrame(bmp));
    QFile file(bmp);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY(data.startsWith("BM"));
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 2), quint32(data.size()));
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 14), 40u);
    QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 28), quint16(24));
    const QImage back(bmp, "BMP");
    QCOMPARE(back.size(), QSize(321, 243));
    QCOMPARE(back.pixelColor(320, 242), QColor(10, 200, 30));

    QVERIFY(!camera.saveFrame(dir.filePath("no/such/folder/tmp.bmp")));
    QVERIFY(!camera.saveFrame(QString()));
}

void tst_camera::stillFolderInNameOrder() {
    QTemporaryDir dir;
    QVERIFY(writePicture(dir.filePath("b.png"), 20, 10, Qt::red));
    QVERIFY(writePicture(dir.filePath("a.jpg"), 10, 10, Qt::green));
    QVERIFY(writePicture(dir.filePath("C.bmp"), 30, 10, Qt::blue));
    QVERIFY(writePicture(dir.filePath("D.PNG"), 40, 10, Qt::blue));
    // Not pictures, or unreadable ones: passed over.
    QFile broken(dir.filePath("bb.png"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    QFile notes(dir.filePath("c.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("hello");
    notes.close();

    StillPictureCamera camera(dir.path());
    QVERIFY(camera.isPresent());
    QList<int> widths{frameSize(camera).width()};
    for (int i = 0; i < 8; ++i) {
        camera.advance();
        widths << frameSize(camera).width();
    }
    QCOMPARE(widths, (QList<int>{10, 20, 30, 40, 10, 20, 30, 40, 10}));

    // Pictures removed and added meanwhile are followed.
    QVERIFY(QFile::remove(dir.filePath("C.bmp")));
    QVERIFY(writePicture(dir.filePath("aa.png"), 15, 10, Qt::gray));
    widths = {};
    for (int i = 0; i < 5; ++i) {
        camera.advance();
        widths << frameSize(camera).width();
    }
    QCOMPARE(widths, (QList<int>{15, 20, 40, 10, 15}));
}

void tst_camera::absentAndUnplugged() {
    QTemporaryDir dir;
    const QString bmp = dir.filePath("tmp.bmp");
    {
        StillPictureCamera missing(dir.filePath("nothing.png"));
        QVERIFY(!missing.isPresent());
        QVERIFY(missing.frame().isNull());
        QVERIFY(!missing.saveFrame(bmp));
        QVERIFY(!QFile::exists(bmp));
        StillPictureCamera emptyFolder(dir.path());
        QVERIFY(!emptyFolder.isPresent());
        QVERIFY(!emptyFolder.saveFrame(bmp));
        QVERIFY(!QFile::exists(bmp));
    }

    // The picture disappears while the camera is live, then comes back.
    const QString picture = dir.filePath("face.png");
    QVERIFY(writePicture(picture, 64, 48, Qt::yellow));
    StillPictureCamera camera(picture);
    QSignalSpy present(&camera, &CameraSource::presentChanged);
    QVERIFY(camera.isPresent());
    QVERIFY(QFile::remove(picture));
    camera.advance();
    QVERIFY(!camera.isPresent());
    QVERIFY(camera.frame().isNull());
    QVERIFY(!camera.saveFrame(bmp));
    QVERIFY(!QFile::exists(bmp));
    camera.advance();
    QVERIFY(writePicture(picture, 64, 48, Qt::yellow));
    camera.advance();
    QVERIFY(camera.isPresent());
    QCOMPARE(present.count(), 2);
    QVERIFY(camera.saveFrame(bmp));
}

void tst_camera::frozenPreviewKeepsLastFrame() {
    QTemporaryDir dir;
    QVERIFY(writePicture(dir.filePath("1.png"), 10, 10, Qt::red));
    QVERIFY(writePicture(dir.filePath("2.png"), 20, 10, Qt::green));
    QVERIFY(writePicture(dir.filePath("3.png"), 30, 10, Qt::blue));
    StillPictureCamera camera(dir.path());
    CameraView view(&camera);
    camera.advance();
    QCOMPARE(frameSize(camera).width(), 20);

    QSignalSpy changed(&camera, &CameraSource::frameChanged);
    camera.setPreview(false);
    QVERIFY(!camera.preview());
    camera.advance();
    camera.advance();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(frameSize(camera).width(), 20);
    QCOMPARE(view.shownFrame().width(), 20);
    // The bitmap saved is the picture shown.
    QTemporaryDir out;
    const QString bmp = out.filePath("tmp.bmp");
    QVERIFY(camera.saveFrame(bmp));
    QCOMPARE(QImage(bmp).size(), QSize(20, 10));

    // Every picture gone while frozen: not present, the frozen one stays.
    for (const char* name : {"1.png", "2.png", "3.png"})
        QVERIFY(QFile::remove(dir.filePath(name)));
    camera.advance();
    QVERIFY(!camera.isPresent());
    QCOMPARE(view.shownFrame().width(), 20);

    // Live again: the picture follows the camera.
    QVERIFY(writePicture(dir.filePath("4.png"), 40, 10, Qt::blue));
    camera.setPreview(true);
    QVERIFY(camera.isPresent());
    QCOMPARE(view.shownFrame().width(), 40);
    QCOMPARE(changed.count(), 1);
}

void tst_camera::viewStretchesFrame() {
    QTemporaryDir dir;
    const QString picture = dir.filePath("face.png");
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(3, 2, qRgb(0, 0, 255)); // the lower right corner
    QVERIFY(image.save(picture));
    StillPictureCamera camera(picture);
    CameraView view(&camera);
    QCOMPARE(view.size(), QSize(640, 480));
    const QImage shot = view.grab().toImage();
    QCOMPARE(shot.size(), QSize(640, 480));
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(400, 300), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(639, 479), QColor(Qt::blue));

    // No picture: black.
    StillPictureCamera none(dir.filePath("none.png"));
    CameraView blank(&none);
    QCOMPARE(blank.grab().toImage().pixelColor(320, 240), QColor(Qt::black));
}

void tst_camera::multimediaWithoutVideoInput() {
    if (!QMediaDevices::videoInputs().isEmpty())
        QSKIP("this machine has a video input");
    QTemporaryDir dir;
    const QString bmp = dir.filePath("tmp.bmp");
    auto* camera = new MultimediaCamera(this);
    CameraView view(camera);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QVERIFY(!camera->hasDevice());
    QVERIFY(!camera->isPresent());
    QVERIFY(!camera->saveFrame(bmp));
    QVERIFY(!QFile::exists(bmp));
    camera->setPreview(false);
    camera->setPreview(true);
    QVERIFY(!camera->isPresent());
    QCOMPARE(view.grab().toImage().pixelColor(320, 240), QColor(Qt::black));
    delete camera;
}

void tst_camera::factoryFollowsEnvironment() {
    QTemporaryDir dir;
    const QString picture = dir.filePath("face.png");
    QVERIFY(writePicture(picture, 8, 8, Qt::red));
    QObject owner;

    qputenv("SIGNDESK_CAMERA", picture.toLocal8Bit());
    CameraSource* stills = CreateCameraSource(&owner);
    QCOMPARE(stills->parent(), &owner);
    auto* still = qobject_cast<StillPictureCamera*>(stills);
    QVERIFY(still);
    QCOMPARE(still->path(), picture);
    QVERIFY(still->isPresent());

    qunsetenv("SIGNDESK_CAMERA");
    CameraSource* real = CreateCameraSource(&owner);
    QVERIFY(qobject_cast<MultimediaCamera*>(real));
    QCOMPARE(real->parent(), &owner);
}

QTEST_MAIN(tst_camera)
#include "tst_camera.moc"
