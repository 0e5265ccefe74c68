#include "tests/imaging/helpers/JpegCheck.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace JpegCheck {

std::unique_ptr<cImage> TestPicture(int w, int h) {
    auto image = std::make_unique<cImage>();
    if (!image->Create(w, h, 24))
        return nullptr;
    std::vector<uchar> row(size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double fx = double(x) / std::max(1, w - 1), fy = double(y) / std::max(1, h - 1);
            row[3 * size_t(x)] = uchar(40 + 180 * fx);
            row[3 * size_t(x) + 1] = uchar(200 - 150 * fy);
            row[3 * size_t(x) + 2] =
                uchar(128 + 90 * std::sin(6.0 * (fx + fy)) + (x > w / 2 ? 20 : 0));
        }
        image->WriteRowBGR(y, 0, w, row.data());
    }
    return image;
}

bool Djpeg(const QString& file, QImage* out, QString* message) {
    const ToolRun r = RunTool(QStringLiteral("djpeg"), {QStringLiteral("-pnm"), file}, 120000);
    *message = r.err;
    if (r.code != 0 || !message->isEmpty()) {
        *message += QStringLiteral(" (djpeg exit %1)").arg(r.code);
        return false;
    }
    if (out && !out->loadFromData(r.out, "PPM")) {
        *message = QStringLiteral("djpeg wrote no PNM");
        return false;
    }
    return true;
}

ToolRun Jpegenc(const QStringList& args) {
    return RunTool(QCoreApplication::applicationDirPath() + QStringLiteral("/jpegenc"), args,
                   60000);
}

} // namespace JpegCheck
