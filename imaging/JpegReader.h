#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// Reads a colour JPEG (three components: a camera's or the enrolment's
// photo) with libjpeg-turbo straight into a QImage of Format_RGB32. The
// pixels are those of Qt's reader, which runs the same decoder with the same
// settings, but that one decodes to RGB and converts every row after: this
// takes half its time, which a station spends on every scan.
namespace JpegReader {

// The picture; nothing when `bytes` are no colour JPEG this reads (grey,
// CMYK, not a JPEG, damaged, larger than QImageReader's allocation limit),
// which Qt's reader then reads or refuses as before.
std::optional<QImage> Read(const QByteArray& bytes);

// The picture decoded at the smallest of libjpeg's eighths (1/8 to 8/8 of
// its size) that still covers `atLeast` in both directions, for a picture
// that is shown smaller than it is (a 640 x 480 camera frame in the
// greeting's box: half its size, decoded in less time than the whole and
// leaving a quarter of the pixels to scale the rest of the way). The whole
// picture when `atLeast` is not valid or no eighth below it covers it.
std::optional<QImage> Read(const QByteArray& bytes, const QSize& atLeast);

} // namespace JpegReader
