#include "devices/capture/CameraSource.h"

#include "devices/capture/MediaCamera.h"
#include "devices/capture/StillPictureCamera.h"

#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

CameraSource::CameraSource(QObject* parent) : QObject(parent) {}

bool CameraSource::saveFrame(const QString& path) const {
    if (!m_present || m_frame.isNull() || path.isEmpty())
        return false;
    // Written through a temporary file so that a failed write leaves no
    // half-written bitmap behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "bmp");
    if (!writer.write(m_frame)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void CameraSource::setPreview(bool on) {
    if (m_preview == on)
        return;
    m_preview = on;
    previewSwitched(on);
}

void CameraSource::deliverFrame(const QImage& frame) {
    if (frame.isNull())
        return;
    if (m_preview) {
        // Opaque 32-bit pixels: the bitmap carries no transparency, and
        // transparent parts of a picture show on white.
        if (frame.format() == QImage::Format_RGB32) {
            m_frame = frame;
        } else if (frame.hasAlphaChannel()) {
            QImage opaque(frame.size(), QImage::Format_RGB32);
            opaque.fill(Qt::white);
            QPainter painter(&opaque);
            painter.drawImage(0, 0, frame);
            painter.end();
            m_frame = opaque;
        } else {
            m_frame = frame.convertToFormat(QImage::Format_RGB32);
        }
        emit frameChanged(m_frame);
    }
    setPresent(true);
}

void CameraSource::deviceLost() {
    if (m_preview && !m_frame.isNull()) {
        m_frame = QImage();
        emit frameChanged(m_frame);
    }
    setPresent(false);
}

void CameraSource::setPresent(bool present) {
    if (m_present == present)
        return;
    m_present = present;
    emit presentChanged(present);
}

CameraSource* CreateCameraSource(QObject* parent) {
    const QString stills = qEnvironmentVariable("SIGNDESK_CAMERA");
    if (!stills.isEmpty())
        return new StillPictureCamera(stills, parent);
    return new MediaCamera(parent);
}
