#pragma once

#include <QImage>
#include <QString>

// Passport-style pictures for demo employees: a coloured background, a
// simple face and the person's surname.
namespace DemoPhoto {

QImage Draw(const QString& name, int index);
// Writes the picture as a baseline JPEG file.
bool SaveJpeg(const QImage& image, const QString& path);

} // namespace DemoPhoto
