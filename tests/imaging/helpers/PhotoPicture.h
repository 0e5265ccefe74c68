#pragma once

#include "imaging/cImage.h"

#include <algorithm>
#include <cmath>
#include <vector>

// A photo-like 24-bit picture: smooth shading, edges and fine texture, the
// same every time. Shared by the encoder tests and the encoder benchmark.
inline bool FillPhotoPicture(cImage& image, int w, int h) {
    if (!image.Create(w, h, 24))
        return false;
    quint32 seed = 12345;
    std::vector<uchar> row(size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) % 21) - 10;
            double r = 128 + 100 * std::sin(x / 37.0) * std::cos(y / 23.0) + noise;
            const double g = 128 + 90 * std::sin((x + y) / 50.0) - noise;
            const double b = (x * 255.0 / w + y * 255.0 / h) / 2 + noise / 2;
            if ((x / 80 + y / 80) % 2)
                r += 40;
            row[3 * size_t(x)] = uchar(std::clamp(b, 0.0, 255.0));
            row[3 * size_t(x) + 1] = uchar(std::clamp(g, 0.0, 255.0));
            row[3 * size_t(x) + 2] = uchar(std::clamp(r, 0.0, 255.0));
        }
        image.WriteRowBGR(y, 0, w, row.data());
    }
    return true;
}
