#include "imaging/JpegReader.h"

#include <QImageReader>
#include <QSysInfo>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE

extern "C" {
#include <jpeglib.h>
}

namespace JpegReader {

namespace {

// libjpeg ends a failed decode through error_exit, which must not return:
// it jumps back to decode(), which then releases the decoder.
struct Failure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void failed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1);
}

// Warnings (a file cut short: the rest grey, as Qt's reader leaves it) are
// not printed.
void quiet(j_common_ptr) {}

// Refused as Qt's readers refuse: a picture of more bytes than the limit.
bool tooLarge(JDIMENSION width, JDIMENSION height) {
    const qint64 limitMb = QImageReader::allocationLimit();
    return limitMb > 0 && qint64(width) * qint64(height) * 4 > limitMb * 1024 * 1024;
}

// The smallest scale of eighths whose output covers `atLeast`; 8 (the
// whole picture) when none smaller does or none is asked for. libjpeg's own
// arithmetic gives each scale's size, rounded as it decodes it.
unsigned int eighthsFor(jpeg_decompress_struct* info, const QSize& atLeast) {
    // No eighth below the whole covers a box the picture does not exceed.
    if (!atLeast.isValid() || atLeast.isEmpty() || int(info->image_width) <= atLeast.width() ||
        int(info->image_height) <= atLeast.height())
        return 8;
    for (unsigned int n = 1; n < 8; ++n) {
        info->scale_num = n;
        info->scale_denom = 8;
        jpeg_calc_output_dimensions(info);
        if (int(info->output_width) >= atLeast.width() &&
            int(info->output_height) >= atLeast.height())
            return n;
    }
    return 8;
}

// Decodes into *out, which lives in the caller's frame: only plain C data
// lives in this one, so the jump back leaves nothing half destroyed.
bool decode(const QByteArray& bytes, const QSize& atLeast, QImage* out) {
    jpeg_decompress_struct info;
    Failure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = failed;
    failure.manager.output_message = quiet;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.num_components != 3 ||
        (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB) ||
        tooLarge(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // QImage::Format_RGB32 is 0xffRRGGBB in the machine's order.
    info.out_color_space =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    info.scale_num = eighthsFor(&info, atLeast);
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    *out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (out->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

std::optional<QImage> Read(const QByteArray& bytes) {
    return Read(bytes, QSize());
}

std::optional<QImage> Read(const QByteArray& bytes, const QSize& atLeast) {
    // A JPEG begins with its start-of-image marker.
    if (bytes.size() < 4 || uchar(bytes[0]) != 0xFF || uchar(bytes[1]) != 0xD8)
        return std::nullopt;
    QImage image;
    if (!decode(bytes, atLeast, &image))
        return std::nullopt;
    return image;
}

} // namespace JpegReader
