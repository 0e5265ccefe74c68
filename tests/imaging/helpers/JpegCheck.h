#pragma once

#include "cImage.h"

#include <QByteArray>
#include <QString>
#include <memory>

// Tools shared by the JPEG tests: a test picture, and libjpeg-turbo's
// command-line programs as the reference decoder and encoder.
namespace JpegCheck {

// Smooth colours with one sharp edge, for any size.
std::unique_ptr<cImage> TestPicture(int w, int h);

// Path of a program on PATH (djpeg, cjpeg); empty when missing.
QString Tool(const char* name);

struct Pnm {
    int width = 0, height = 0, channels = 0;
    QByteArray pixels;
};

// Decodes with djpeg into a PPM or PGM; false with a message on any error or
// warning. `out` may be null when only the verdict counts.
bool Djpeg(const QString& file, Pnm* out, QString* message);

} // namespace JpegCheck
