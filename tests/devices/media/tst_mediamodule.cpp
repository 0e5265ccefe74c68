// The media module (attendance-media) is loaded by the camera and, after its
// delay, by a sound player switched on: never at start, never for a player
// switched off. Run a second time from a folder without the module
// (devices_media_tst_mediamodule_without): the camera is absent, the sounds
// silent.
#include "devices/capture/MediaCamera.h"
#include "devices/sound/SoundPlayer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool loaded(const QString& library) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library.toUtf8());
}

} // namespace

class tst_mediamodule : public QObject {
    Q_OBJECT

private slots:
    void loadedWhenNeeded() {
        const QString dir = QCoreApplication::applicationDirPath();
        const bool beside = QFile::exists(dir + QStringLiteral("/attendance-media.so"));
        QCOMPARE(beside, !dir.endsWith(QStringLiteral("/without-media")));
        QVERIFY(!loaded("/attendance-media.so") && !loaded("libQt6Multimedia"));

        SoundPlayer off(false);
        QTest::qWait(SoundPlayer::OpenDelayMs + 100);
        QVERIFY(!loaded("/attendance-media.so"));
        SoundPlayer on(true);
        QSignalSpy cues(&on, &SoundPlayer::cueRequested);
        on.Play(SoundPlayer::Cue::Arrival); // before the output is open: left out
        QVERIFY(!loaded("/attendance-media.so"));
        QTest::qWait(SoundPlayer::OpenDelayMs + 100);
        QCOMPARE(loaded("/attendance-media.so"), beside);
        on.Play(SoundPlayer::Cue::Refused);
        QTest::qWait(50);
        QCOMPARE(cues.count(), 2);

        qunsetenv("SIGNDESK_CAMERA");
        QObject owner;
        auto* camera = qobject_cast<MediaCamera*>(CreateCameraSource(&owner));
        QVERIFY(camera && camera->parent() == &owner);
        if (beside)
            return; // tst_camera covers the camera of the module
        QTemporaryDir out;
        QVERIFY(!camera->hasDevice() && !camera->isPresent());
        QVERIFY(!camera->saveFrame(out.filePath("tmp.bmp")));
        camera->setPreview(false);
        camera->setPreview(true);
    }
};

QTEST_MAIN(tst_mediamodule)
#include "tst_mediamodule.moc"
