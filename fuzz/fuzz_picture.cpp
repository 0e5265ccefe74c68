// libFuzzer target: the PPM, PGM and BMP reader jpegenc takes its input
// through, on arbitrary bytes; small pictures it accepts are encoded too,
// from the bitmap and streamed band by band, to the same bytes.
#include "imaging/PictureFileReader.h"
#include "imaging/cImage.h"
#include "imaging/cJpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    cImage image;
    Error error;
    const auto result = PictureFileReader::ReadPicture(bytes, image, &error);
    if (result == PictureFileReader::Failed && error.Text().isEmpty())
        __builtin_trap(); // a refusal always gives its reason
    if (result != PictureFileReader::Read)
        return 0;
    if (image.hDC() == nullptr)
        __builtin_trap();
    // Encoding large pictures would only slow the fuzzer down.
    if (qint64(image.Width()) * image.Height() > 64 * 64)
        return 0;
    cJpeg jpeg;
    // Sampling from the input's last byte: one grey component or colour.
    if (size > 0 && (data[size - 1] & 1))
        jpeg.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    const QByteArray encoded = jpeg.SampleHDC(image.hDC(), image.Width(), image.Height()) == 0
                                   ? jpeg.Encode()
                                   : QByteArray();
    if (encoded.isEmpty())
        __builtin_trap();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    PictureFileReader reader(buffer);
    cJpeg streamed;
    if (size > 0 && (data[size - 1] & 1))
        streamed.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    if (reader.ReadHeader() != PictureFileReader::Read || streamed.SampleRows(reader) != 0 ||
        streamed.Encode() != encoded)
        __builtin_trap();
    return 0;
}
