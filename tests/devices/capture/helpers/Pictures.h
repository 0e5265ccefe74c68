#pragma once

#include <QColor>
#include <QImage>

#include "tests/common/TestProgramDir.h" // writeFile, readFile

// A picture of one colour whose size tells it apart.
inline bool writePicture(const QString& path, int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path);
}
