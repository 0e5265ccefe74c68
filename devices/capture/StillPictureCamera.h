#pragma once

#include "devices/capture/CameraSource.h"

#include <QString>
#include <QTimer>

// A camera fed from still pictures, for the tests and for sites that enrol
// from photo files. A picture file gives that picture as every frame; a
// folder gives its pictures in name order, one a frame, starting again after
// the last. The file or folder is read again for every frame, so pictures
// added, replaced or removed meanwhile take effect; when nothing readable is
// left the camera is not present.
class StillPictureCamera : public CameraSource {
    Q_OBJECT

public:
    // Delivers the first frame at once, then one a frame interval while the
    // preview is live.
    explicit StillPictureCamera(const QString& path, QObject* parent = nullptr);

    QString path() const { return m_path; }
    int frameInterval() const { return m_timer.interval(); }
    void setFrameInterval(int milliseconds);

    // Reads the next picture and delivers it as a frame.
    void advance();

    static constexpr int DefaultFrameInterval = 2000;

protected:
    void previewSwitched(bool on) override;

private:
    QString m_path;
    QString m_lastName; // the folder's picture delivered last
    QTimer m_timer;
};
