#pragma once

#include <QImage>
#include <QString>

// Passport-style pictures for demo employees: a coloured background, a
// simple face and the person's surname.
namespace DemoPhoto {

QImage Draw(const QString& name, int index);
// The picture as a baseline JPEG file's bytes (empty when it cannot be encoded).
QByteArray Jpeg(const QImage& image);

} // namespace DemoPhoto
