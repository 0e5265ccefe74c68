#include "imaging/AreaSampler.h"

#include "imaging/cImage.h"

#include <algorithm>

AreaSampler::AreaSampler(const cImage& source, int left, int top, int width, int height,
                         int outWidth, int outHeight)
    : AreaSampler(source, left, top, width, height, outWidth, outHeight, {width, outWidth},
                  {height, outHeight}) {}

AreaSampler::AreaSampler(const cImage& source, int left, int top, int width, int height,
                         int outWidth, int outHeight, Step stepX, Step stepY)
    : m_source(&source), m_left(left), m_top(top), m_width(width), m_height(height),
      m_outWidth(outWidth), m_outHeight(outHeight), m_direct(source.BitCount() == 24) {
    if (!m_direct)
        m_expanded.resize(size_t(width) * 3);
    setUp(stepX, stepY);
}

AreaSampler::AreaSampler(const Window& window, int width, int height, int outWidth, int outHeight,
                         Step stepX, Step stepY)
    : m_window(&window), m_left(0), m_top(0), m_width(width), m_height(height),
      m_outWidth(outWidth), m_outHeight(outHeight), m_direct(true) {
    setUp(stepX, stepY);
}

void AreaSampler::setUp(Step stepX, Step stepY) {
    const int width = m_width, height = m_height, outWidth = m_outWidth, outHeight = m_outHeight;
    m_out.resize(size_t(outWidth) * 3);
    if (stepX.num == stepX.den && stepY.num == stepY.den && outWidth <= width &&
        outHeight <= height) {
        m_identity = true;
        return;
    }
    if (stepX.num % stepX.den == 0 && stepY.num % stepY.den == 0) {
        // Whole-pixel boxes: sums of whole source pixels give the exact mean.
        m_boxW = int(stepX.num / stepX.den);
        m_boxH = int(stepY.num / stepY.den);
        m_boxSum.resize(size_t(outWidth) * 3);
        return;
    }
    m_hTaps = MakeTaps(width, outWidth, stepX);
    m_vTaps = MakeTaps(height, outHeight, stepY);
    // A ring a little larger than the rows one output row needs keeps every
    // row of the current window while rows are read in order.
    const int ringSize = m_vTaps.maxTaps + 1;
    m_cache.resize(size_t(ringSize) * size_t(outWidth) * 3);
    m_cacheTag.assign(size_t(ringSize), -1);
    m_sum.resize(size_t(outWidth) * 3);
}

AreaSampler::Taps AreaSampler::MakeTaps(int sourceLength, int outLength, Step step) {
    // In units of 1/den source pixels output i covers [i·num, (i + 1)·num)
    // and source j covers [j·den, (j + 1)·den). Positions beyond the source
    // take its last pixel.
    Taps t;
    const qint64 num = step.num, den = step.den;
    t.start.reserve(size_t(outLength) + 1);
    for (qint64 i = 0; i < outLength; ++i) {
        t.start.push_back(int(t.index.size()));
        const qint64 a = i * num, b = (i + 1) * num;
        for (qint64 j = a / den; j * den < b; ++j) {
            const qint64 overlap = std::min(b, (j + 1) * den) - std::max(a, j * den);
            if (overlap <= 0)
                continue;
            t.index.push_back(int(std::min<qint64>(j, sourceLength - 1)));
            t.weight.push_back(float(double(overlap) / double(num)));
        }
        t.maxTaps = std::max(t.maxTaps, int(t.index.size()) - t.start.back());
    }
    t.start.push_back(int(t.index.size()));
    return t;
}

const uchar* AreaSampler::sourceRow(int sy) {
    sy = std::min(sy, m_height - 1);
    if (m_window) {
        Q_ASSERT(sy >= m_window->first && sy < m_window->first + m_window->count);
        return m_window->rows + size_t(sy - m_window->first) * m_window->stride;
    }
    if (m_direct)
        return m_source->ScanLine(m_top + sy) + size_t(m_left) * 3;
    m_source->ReadRowBGR(m_top + sy, m_left, m_width, m_expanded.data());
    return m_expanded.data();
}

const float* AreaSampler::scaledRow(int sy) {
    const int slot = sy % int(m_cacheTag.size());
    float* dst = m_cache.data() + size_t(slot) * size_t(m_outWidth) * 3;
    if (m_cacheTag[size_t(slot)] == sy)
        return dst;
    const uchar* src = sourceRow(sy);
    for (int x = 0; x < m_outWidth; ++x) {
        float b = 0, g = 0, r = 0;
        for (int t = m_hTaps.start[size_t(x)]; t < m_hTaps.start[size_t(x) + 1]; ++t) {
            const uchar* p = src + size_t(m_hTaps.index[size_t(t)]) * 3;
            const float w = m_hTaps.weight[size_t(t)];
            b += w * p[0];
            g += w * p[1];
            r += w * p[2];
        }
        dst[3 * x] = b;
        dst[3 * x + 1] = g;
        dst[3 * x + 2] = r;
    }
    m_cacheTag[size_t(slot)] = sy;
    return dst;
}

const uchar* AreaSampler::Row(int y) {
    if (m_identity)
        return sourceRow(y);
    if (m_boxW > 0)
        return boxRow(y);
    std::fill(m_sum.begin(), m_sum.end(), 0.0f);
    const size_t n = m_sum.size();
    for (int t = m_vTaps.start[size_t(y)]; t < m_vTaps.start[size_t(y) + 1]; ++t) {
        const float* row = scaledRow(m_vTaps.index[size_t(t)]);
        const float w = m_vTaps.weight[size_t(t)];
        for (size_t i = 0; i < n; ++i)
            m_sum[i] += w * row[i];
    }
    for (size_t i = 0; i < n; ++i)
        m_out[i] = uchar(std::clamp(int(m_sum[i] + 0.5f), 0, 255));
    return m_out.data();
}

const uchar* AreaSampler::boxRow(int y) {
    const size_t n = size_t(m_outWidth) * 3;
    uchar* __restrict out = m_out.data();
    // Output columns whose box lies wholly inside the source.
    const size_t inside = std::min(n, size_t(m_width / m_boxW) * 3);
    if (m_direct && m_boxW == 2 && m_boxH == 2) {
        // The common chrominance case: means of 2×2 pixels straight from the picture.
        const uchar* __restrict r0 = sourceRow(2 * y);
        const uchar* __restrict r1 = sourceRow(2 * y + 1);
        for (size_t i = 0; i < inside; i += 3)
            for (size_t c = 0; c < 3; ++c)
                out[i + c] = uchar(
                    (r0[2 * i + c] + r0[2 * i + 3 + c] + r1[2 * i + c] + r1[2 * i + 3 + c] + 2) >>
                    2);
        if (inside == n)
            return out;
    }
    int* __restrict sum = m_boxSum.data();
    std::fill(sum, sum + n, 0);
    const size_t last = size_t(m_width - 1) * 3;
    for (int j = 0; j < m_boxH; ++j) {
        const uchar* __restrict src = sourceRow(y * m_boxH + j);
        const size_t step = size_t(m_boxW) * 3;
        for (size_t i = 0, s = 0; i < n; i += 3, s += step)
            for (size_t k = 0; k < step; k += 3)
                for (size_t c = 0; c < 3; ++c)
                    sum[i + c] += src[std::min(s + k, last) + c];
    }
    const int count = m_boxW * m_boxH;
    for (size_t i = 0; i < n; ++i)
        out[i] = uchar((sum[i] + count / 2) / count);
    return out;
}
