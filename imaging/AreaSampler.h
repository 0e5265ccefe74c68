#pragma once

#include <QtGlobal>

#include <vector>

class cImage;

// Reads a rectangle of a cImage scaled by area averaging: every output pixel
// is the mean of the source area it covers, weighted by how much of each
// source pixel lies inside it. Rows are produced one at a time as blue,
// green, red bytes; reading them top to bottom is cheapest.
//
// By default the output size spans the whole rectangle. With a step, output
// pixel i covers source pixels [i·step, (i + 1)·step) instead, and source
// pixels beyond the rectangle repeat its last column or row; the JPEG
// encoder samples its components on that grid.
//
// The source is either a whole cImage or a window of rows the caller moves
// down the picture (the rows of a picture read band by band); every source
// row asked for then lies inside the window.
class AreaSampler {
public:
    // Source pixels per output pixel: num / den.
    struct Step {
        qint64 num, den;
    };
    // Rows [first, first + count) of a picture, three bytes a pixel,
    // `stride` bytes apart; the output keeps the window's order of the
    // three (the sampler treats them alike).
    struct Window {
        const uchar* rows = nullptr;
        size_t stride = 0;
        int first = 0, count = 0;
    };

    AreaSampler(const cImage& source, int left, int top, int width, int height, int outWidth,
                int outHeight);
    AreaSampler(const cImage& source, int left, int top, int width, int height, int outWidth,
                int outHeight, Step stepX, Step stepY);
    // A picture of width × height pixels seen through the window, which must
    // outlive the sampler.
    AreaSampler(const Window& window, int width, int height, int outWidth, int outHeight,
                Step stepX, Step stepY);

    int OutWidth() const { return m_outWidth; }
    int OutHeight() const { return m_outHeight; }
    // Row y (0 = top) of the scaled rectangle; valid until the next call.
    const uchar* Row(int y);

    // Source pixels and weights of each output position along one axis.
    struct Taps {
        std::vector<int> start; // taps of output i: [start[i], start[i + 1])
        std::vector<int> index;
        std::vector<float> weight;
        int maxTaps = 0;
    };
    static Taps MakeTaps(int sourceLength, int outLength, Step step);

private:
    const uchar* sourceRow(int sy);
    const float* scaledRow(int sy);
    const uchar* boxRow(int y);
    void setUp(Step stepX, Step stepY);

    const cImage* m_source = nullptr;
    const Window* m_window = nullptr;
    int m_left, m_top, m_width, m_height, m_outWidth, m_outHeight;
    bool m_direct;              // 24-bit source or a window: rows are read in place
    bool m_identity = false;    // output pixels are the source pixels
    int m_boxW = 0, m_boxH = 0; // whole-pixel boxes when the steps are whole
    std::vector<int> m_boxSum;
    Taps m_hTaps, m_vTaps;
    std::vector<uchar> m_expanded; // one source row converted to blue, green, red
    std::vector<float> m_cache;    // ring of horizontally scaled source rows
    std::vector<int> m_cacheTag;
    std::vector<float> m_sum;
    std::vector<uchar> m_out;
};
