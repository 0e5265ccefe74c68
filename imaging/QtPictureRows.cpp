#include "imaging/QtPictureRows.h"

#include "imaging/PictureFileReader.h"

#include <QImageReader>

#include <cstring>

std::unique_ptr<RowSource> QtPictureRows::Open(const QString& name, ::Error* error) {
    const auto fail = [&](const QString& why) {
        ::Error(why).Report(error);
        return nullptr;
    };
    QImageReader reader(name);
    const QSize announced = reader.size();
    if (announced.isValid())
        if (const QString e = PictureFileReader::SizeError(announced.width(), announced.height());
            !e.isEmpty())
            return fail(QStringLiteral("cannot encode %1: %2").arg(name, e));
    const QImage picture = reader.read();
    if (picture.isNull())
        return fail(QStringLiteral("cannot read %1: %2").arg(name, reader.errorString()));
    if (const QString e = PictureFileReader::SizeError(picture.width(), picture.height());
        !e.isEmpty())
        return fail(QStringLiteral("cannot encode %1: %2").arg(name, e));
    auto rows = std::make_unique<QtPictureRows>();
    if (!rows->m_image.CopyStdPicture(picture, 24))
        return fail(QStringLiteral("not enough memory for a %1x%2 picture")
                        .arg(picture.width())
                        .arg(picture.height()));
    return rows;
}

bool QtPictureRows::ReadRows(int first, int count, uchar* bgr, size_t stride) {
    const size_t bytes = size_t(m_image.Width()) * 3;
    for (int y = first; y < first + count; ++y)
        std::memcpy(bgr + size_t(y - first) * stride, m_image.ScanLine(y), bytes);
    return true;
}
