#pragma once

#include "error/Error.h"

#include "imaging/RowSource.h"
#include "imaging/cImage.h"

#include <memory>

// A picture in any format Qt reads, read whole and handed over row by row.
// jpegenc reaches it through its Qt reader module only for the formats its
// own reader does not handle, so the program itself needs no Qt Gui.
class QtPictureRows : public RowSource {
public:
    // The picture of file `name`, its size checked against
    // PictureFileReader's limits before and after reading; null with the
    // reason in `error` on failure.
    static std::unique_ptr<RowSource> Open(const QString& name, ::Error* error);

    int Width() const override { return m_image.Width(); }
    int Height() const override { return m_image.Height(); }
    bool ReadRows(int first, int count, uchar* bgr, size_t stride) override;
    QString Error() const override { return QString(); }

private:
    cImage m_image; // 24 bits a pixel
};
