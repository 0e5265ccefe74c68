#pragma once

#include <QString>
#include <QtGlobal>

// A picture handed over row by row, top to bottom, without the whole picture
// in memory: the JPEG encoder takes one band of rows at a time from it.
class RowSource {
public:
    virtual ~RowSource() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Fills rows [first, first + count) as blue, green, red bytes (red,
    // green, blue when RedFirst), Width()·3 bytes a row, `stride` bytes apart. Called with
    // consecutive ranges from the top row down; false (Error() says why) ends the reading.
    virtual bool ReadRows(int first, int count, uchar* bgr, size_t stride) = 0;
    virtual QString Error() const = 0;
    // The pixels come in the file's order of red, green, blue.
    virtual bool RedFirst() const { return false; }
};
