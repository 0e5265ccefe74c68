#pragma once

#include <QByteArray>
#include <QString>

// The employee's photo from a camera frame: the bitmap file is read, copied
// into a cImage and encoded by a cJpeg at its defaults (quality 75, sampling
// 2x2/1x1/1x1, no comment). The photo keeps the frame's size.

// The JPEG file's bytes; empty when the bitmap cannot be read or encoded.
QByteArray EncodePhoto(const QString& bitmapPath);

// Writes the JPEG file, replacing an existing one; false (and no JPEG file
// left at jpegPath) when the bitmap cannot be read or encoded or the file
// cannot be written.
bool EncodePhotoFile(const QString& bitmapPath, const QString& jpegPath);
