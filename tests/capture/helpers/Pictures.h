#pragma once

#include <QColor>
#include <QFile>
#include <QImage>

// A picture of one colour whose size tells it apart.
inline bool writePicture(const QString& path, int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path);
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
