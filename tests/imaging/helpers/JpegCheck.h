#pragma once

#include "imaging/cImage.h"
#include "tests/common/TestProgramDir.h"

#include <QImage>
#include <QString>
#include <memory>

// Tools shared by the JPEG tests: a test picture, and libjpeg-turbo's
// command-line programs as the reference decoder and encoder.
namespace JpegCheck {

// Smooth colours with one sharp edge, for any size.
std::unique_ptr<cImage> TestPicture(int w, int h);

// Decodes with djpeg (read back from its PPM or PGM; a grey file gives a
// Grayscale8 picture); false with a message on any error or warning. `out`
// may be null when only the verdict counts.
bool Djpeg(const QString& file, QImage* out, QString* message);

// Runs the jpegenc program built beside the tests.
ToolRun Jpegenc(const QStringList& args);

} // namespace JpegCheck
