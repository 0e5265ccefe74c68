#include "imaging/JpegTransform.h"

#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace JpegTransform {

const quint16 kLuminance[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};
const quint16 kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

const double kAanScale[8] = {0.353553390593273, 0.254897789552080, 0.270598050073098,
                             0.300672443467523, 0.353553390593273, 0.449988111568207,
                             0.653281482438186, 1.281457723870740};

namespace {

// One pass of the floating-point AAN forward DCT over eight values, or over
// eight vectors of values (the factorisation of the Independent JPEG Group's
// float DCT).
template <class T> struct Aan {
    T o0, o1, o2, o3, o4, o5, o6, o7;
    Aan(T d0, T d1, T d2, T d3, T d4, T d5, T d6, T d7) {
        const T tmp0 = d0 + d7, tmp7 = d0 - d7;
        const T tmp1 = d1 + d6, tmp6 = d1 - d6;
        const T tmp2 = d2 + d5, tmp5 = d2 - d5;
        const T tmp3 = d3 + d4, tmp4 = d3 - d4;
        // Even part.
        T tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
        T tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
        o0 = tmp10 + tmp11;
        o4 = tmp10 - tmp11;
        const T z1 = (tmp12 + tmp13) * 0.707106781186548f;
        o2 = tmp13 + z1;
        o6 = tmp13 - z1;
        // Odd part.
        tmp10 = tmp4 + tmp5;
        tmp11 = tmp5 + tmp6;
        tmp12 = tmp6 + tmp7;
        const T z5 = (tmp10 - tmp12) * 0.382683432365091f;
        const T z2 = tmp10 * 0.541196100146196f + z5;
        const T z4 = tmp12 * 1.30656296487638f + z5;
        const T z3 = tmp11 * 0.707106781186548f;
        const T z11 = tmp7 + z3, z13 = tmp7 - z3;
        o5 = z13 + z2;
        o3 = z13 - z2;
        o1 = z11 + z4;
        o7 = z11 - z4;
    }
};

using Vec4 = float __attribute__((vector_size(16)));

} // namespace

// Vertical pass over eight rows of a whole block row at once, four columns
// per vector (cols is a multiple of 8).
void dctColumns(const float* in, float* out, size_t cols) {
    const auto load = [](const float* p) {
        Vec4 v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    const auto store = [](float* p, Vec4 v) { std::memcpy(p, &v, sizeof v); };
    for (size_t x = 0; x < cols; x += 4) {
        const Aan<Vec4> a(load(in + x), load(in + cols + x), load(in + 2 * cols + x),
                          load(in + 3 * cols + x), load(in + 4 * cols + x), load(in + 5 * cols + x),
                          load(in + 6 * cols + x), load(in + 7 * cols + x));
        store(out + x, a.o0);
        store(out + cols + x, a.o1);
        store(out + 2 * cols + x, a.o2);
        store(out + 3 * cols + x, a.o3);
        store(out + 4 * cols + x, a.o4);
        store(out + 5 * cols + x, a.o5);
        store(out + 6 * cols + x, a.o6);
        store(out + 7 * cols + x, a.o7);
    }
}

const float kConvert[3][4] = {{0.299f, 0.587f, 0.114f, -128.0f},
                              {-0.16874f, -0.33126f, 0.5f, 0.0f},
                              {0.5f, -0.41869f, -0.08131f, 0.0f}};

// One row of blue, green, red (or red, green, blue) bytes to component
// samples. Built also for AVX2, where the byte triples vectorise; both give
// the same values, in either order.
__attribute__((target_clones("avx2", "default"))) void convertRow(const uchar* __restrict px,
                                                                  size_t count, const float* k,
                                                                  float* __restrict dst,
                                                                  bool redFirst) {
    const float kr = k[0], kg = k[1], kb = k[2], offset = k[3];
    if (redFirst)
        for (size_t x = 0; x < count; ++x)
            dst[x] = kr * float(px[3 * x]) + kg * float(px[3 * x + 1]) + kb * float(px[3 * x + 2]) +
                     offset;
    else
        for (size_t x = 0; x < count; ++x)
            dst[x] = kr * float(px[3 * x + 2]) + kg * float(px[3 * x + 1]) + kb * float(px[3 * x]) +
                     offset;
}

// Horizontal pass of one block and quantisation: coefficient = output ×
// multiplier, rounded to the nearest integer with ties to even. The
// multipliers are given transposed: entry v·8 + u belongs to vertical
// frequency u and horizontal frequency v.
void dctRowsQuantise(const float* rows, size_t cols, const float* multipliersT, qint16* block) {
    alignas(16) qint16 q[64]; // transposed: v·8 + u
#if defined(__SSE2__)
    // Transpose the block so that each vector holds one column of four rows,
    // then run the pass on the columns as vectors.
    __m128 lo[8], hi[8];
    for (int u = 0; u < 8; ++u) {
        lo[u] = _mm_loadu_ps(rows + size_t(u) * cols);
        hi[u] = _mm_loadu_ps(rows + size_t(u) * cols + 4);
    }
    _MM_TRANSPOSE4_PS(lo[0], lo[1], lo[2], lo[3]);
    _MM_TRANSPOSE4_PS(hi[0], hi[1], hi[2], hi[3]);
    _MM_TRANSPOSE4_PS(lo[4], lo[5], lo[6], lo[7]);
    _MM_TRANSPOSE4_PS(hi[4], hi[5], hi[6], hi[7]);
    const Aan<Vec4> top(lo[0], lo[1], lo[2], lo[3], hi[0], hi[1], hi[2], hi[3]);
    const Aan<Vec4> bottom(lo[4], lo[5], lo[6], lo[7], hi[4], hi[5], hi[6], hi[7]);
    const __m128 t[8] = {top.o0, top.o1, top.o2, top.o3, top.o4, top.o5, top.o6, top.o7};
    const __m128 b[8] = {bottom.o0, bottom.o1, bottom.o2, bottom.o3,
                         bottom.o4, bottom.o5, bottom.o6, bottom.o7};
    for (int v = 0; v < 8; ++v) {
        // The conversion rounds to the nearest integer, ties to even.
        const __m128i qt = _mm_cvtps_epi32(_mm_mul_ps(t[v], _mm_loadu_ps(multipliersT + v * 8)));
        const __m128i qb =
            _mm_cvtps_epi32(_mm_mul_ps(b[v], _mm_loadu_ps(multipliersT + v * 8 + 4)));
        _mm_store_si128(reinterpret_cast<__m128i*>(q + v * 8), _mm_packs_epi32(qt, qb));
    }
#else
    for (int u = 0; u < 8; ++u) {
        const float* r = rows + size_t(u) * cols;
        const Aan<float> a(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
        const float o[8] = {a.o0, a.o1, a.o2, a.o3, a.o4, a.o5, a.o6, a.o7};
        for (int v = 0; v < 8; ++v)
            q[v * 8 + u] = qint16(std::nearbyint(o[v] * multipliersT[v * 8 + u]));
    }
#endif
#pragma GCC unroll 64
    for (int k = 0; k < 64; ++k)
        block[kZigZag.positionT[size_t(k)]] = q[k];
}

} // namespace JpegTransform
