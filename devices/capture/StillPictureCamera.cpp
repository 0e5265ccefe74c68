#include "devices/capture/StillPictureCamera.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace {

QImage readPicture(const QString& file) {
    QImageReader reader(file);
    reader.setAutoTransform(true); // photos stand the way they were taken
    return reader.read();
}

// Name order: letter case ignored, then respected, so every name has one place.
bool nameBefore(const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

// Picture files of a folder in name order.
QStringList picturesIn(const QString& folder) {
    QStringList filters;
    for (const QByteArray& suffix : QImageReader::supportedImageFormats())
        filters << QStringLiteral("*.") + QString::fromLatin1(suffix);
    QStringList names = QDir(folder).entryList(filters, QDir::Files | QDir::Readable);
    std::sort(names.begin(), names.end(), nameBefore);
    return names;
}

} // namespace

StillPictureCamera::StillPictureCamera(const QString& path, QObject* parent)
    : CameraSource(parent), m_path(path), m_timer(this) {
    m_timer.setInterval(DefaultFrameInterval);
    connect(&m_timer, &QTimer::timeout, this, &StillPictureCamera::advance);
    advance();
    m_timer.start();
}

void StillPictureCamera::setFrameInterval(int milliseconds) {
    m_timer.setInterval(qMax(1, milliseconds));
}

void StillPictureCamera::advance() {
    const QFileInfo info(m_path);
    if (!info.isDir()) {
        const QImage picture = info.isFile() ? readPicture(m_path) : QImage();
        if (picture.isNull())
            deviceLost();
        else
            deliverFrame(picture);
        return;
    }
    // The first readable picture after the one delivered last, in name
    // order, wrapping round; pictures that cannot be read are passed over.
    const QStringList names = picturesIn(m_path);
    qsizetype start = 0;
    if (!m_lastName.isEmpty())
        while (start < names.size() && !nameBefore(m_lastName, names[start]))
            ++start;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[(start + i) % names.size()];
        const QImage picture = readPicture(QDir(m_path).filePath(name));
        if (!picture.isNull()) {
            m_lastName = name;
            deliverFrame(picture);
            return;
        }
    }
    m_lastName.clear();
    deviceLost();
}

void StillPictureCamera::previewSwitched(bool on) {
    // A frozen picture needs no new frames; live again, the next one comes
    // at once.
    if (on) {
        advance();
        m_timer.start();
    } else {
        m_timer.stop();
    }
}
