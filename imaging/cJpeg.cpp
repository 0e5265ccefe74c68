#include "imaging/cJpeg.h"

#include "imaging/AreaSampler.h"
#include "imaging/RowSource.h"
#include "imaging/cImage.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>
#include <set>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace {

// Zig-zag order (ITU T.81 Figure A.6): natural index of zig-zag position k,
// and the reverse.
struct ZigZag {
    std::array<int, 64> natural{};
    std::array<int, 64> position{};
    std::array<int, 64> positionT{}; // position of vertical u, horizontal v at v·8 + u
    constexpr ZigZag() {
        int k = 0;
        for (int s = 0; s < 15; ++s) {
            // Even diagonals run up to the right, odd ones down to the left.
            for (int i = 0; i <= s; ++i) {
                const int row = (s % 2 == 0) ? s - i : i;
                const int col = s - row;
                if (row < 8 && col < 8)
                    natural[size_t(k++)] = row * 8 + col;
            }
        }
        for (int z = 0; z < 64; ++z) {
            const int n = natural[size_t(z)];
            position[size_t(n)] = z;
            positionT[size_t((n % 8) * 8 + n / 8)] = z;
        }
    }
};
constexpr ZigZag kZigZag;

// ITU T.81 Annex K, Tables K.1 (luminance) and K.2 (chrominance), natural order.
constexpr quint16 kLuminance[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                    58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                    22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                    77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                    103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};
constexpr quint16 kChrominance[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Row and column scale factors of the AAN DCT: s(0) = 1/(2·√2), s(k) = 1/(4·cos(kπ/16)).
constexpr double kAanScale[8] = {0.353553390593273, 0.254897789552080, 0.270598050073098,
                                 0.300672443467523, 0.353553390593273, 0.449988111568207,
                                 0.653281482438186, 1.281457723870740};

const char kCredit[] = "JPEG Encoder Class\r\n"
                       "Baseline encoder of the attendance station's imaging library\r\n"
                       "Built and published with the attendance system's source code";

// n / d rounded to the nearest integer, ties to the even one (n, d > 0).
qint64 divRoundEven(qint64 n, qint64 d) {
    const qint64 q = n / d, r = n % d;
    if (2 * r > d || (2 * r == d && (q & 1)))
        return q + 1;
    return q;
}

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

// Colour conversion: Y, Cb, Cr of JFIF with the level shift of 128 applied
// (a single component is Y), in single precision.
constexpr float kConvert[3][4] = {{0.299f, 0.587f, 0.114f, -128.0f},
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

// Huffman table of one class and index: code-length counts, symbols, and
// the code and length of each symbol.
struct HuffTable {
    std::array<quint8, 17> bits{}; // bits[l] = number of codes of length l
    std::vector<quint8> values;
    std::array<quint16, 256> code{};
    std::array<quint8, 256> size{};
};

// Optimal code lengths from symbol counts (ITU T.81 Annex K.2, Figures K.1 to K.4).
HuffTable buildOptimalTable(const std::array<qint64, 257>& counts) {
    std::array<qint64, 257> freq = counts;
    freq[256] = 1; // reserved: no code of all ones
    std::array<int, 257> codesize{};
    std::array<int, 257> others;
    others.fill(-1);
    // Entries ordered by frequency and, among equal frequencies, from the
    // highest symbol value down: the first is V1, the second V2.
    std::set<std::pair<qint64, int>> live;
    for (int i = 0; i <= 256; ++i)
        if (freq[size_t(i)])
            live.emplace(freq[size_t(i)], -i);
    while (live.size() > 1) {
        const auto [f1, n1] = *live.begin();
        live.erase(live.begin());
        const auto [f2, n2] = *live.begin();
        live.erase(live.begin());
        int c1 = -n1, c2 = -n2;
        live.emplace(f1 + f2, n1);
        ++codesize[size_t(c1)];
        while (others[size_t(c1)] >= 0) {
            c1 = others[size_t(c1)];
            ++codesize[size_t(c1)];
        }
        others[size_t(c1)] = c2;
        ++codesize[size_t(c2)];
        while (others[size_t(c2)] >= 0) {
            c2 = others[size_t(c2)];
            ++codesize[size_t(c2)];
        }
    }
    // Counts per length; 257 symbols never need more than 256 levels.
    std::array<int, 258> bits{};
    for (int i = 0; i <= 256; ++i)
        if (codesize[size_t(i)])
            ++bits[size_t(codesize[size_t(i)])];
    // Figure K.3: shorten codes longer than 16 bits.
    for (int i = 257; i > 16; --i) {
        while (bits[size_t(i)] > 0) {
            int j = i - 2;
            while (bits[size_t(j)] == 0)
                --j;
            bits[size_t(i)] -= 2;
            ++bits[size_t(i - 1)];
            bits[size_t(j + 1)] += 2;
            --bits[size_t(j)];
        }
    }
    // Remove the reserved symbol's code (one of the longest).
    int longest = 16;
    while (bits[size_t(longest)] == 0)
        --longest;
    --bits[size_t(longest)];

    HuffTable t;
    for (int l = 1; l <= 16; ++l)
        t.bits[size_t(l)] = quint8(bits[size_t(l)]);
    // Figure K.4: symbols by code length, then by value.
    for (int l = 1; l <= 256; ++l)
        for (int s = 0; s < 256; ++s)
            if (codesize[size_t(s)] == l)
                t.values.push_back(quint8(s));
    return t;
}

// Codes of a table (ITU T.81 Annex C); raises "Bad Huffman Table" when the
// table cannot describe a valid code.
void deriveCodes(HuffTable& t, int maxSymbol) {
    int total = 0;
    for (int l = 1; l <= 16; ++l)
        total += t.bits[size_t(l)];
    if (total > 256 || total != int(t.values.size()))
        throw cJpegError("Bad Huffman Table");
    std::array<bool, 256> seen{};
    t.size.fill(0);
    quint32 code = 0;
    size_t k = 0;
    for (int l = 1; l <= 16; ++l) {
        for (int i = 0; i < t.bits[size_t(l)]; ++i, ++k) {
            const int s = t.values[k];
            if (s > maxSymbol || seen[size_t(s)])
                throw cJpegError("Bad Huffman Table");
            seen[size_t(s)] = true;
            t.code[size_t(s)] = quint16(code);
            t.size[size_t(s)] = quint8(l);
            ++code;
        }
        // The codes of length l must fit l bits without the all-ones code.
        if (code >= (1u << l))
            throw cJpegError("Bad Huffman Table");
        code <<= 1;
    }
}

// Bit mask of the non-zero coefficients of a block (bit k for zig-zag position k).
inline quint64 nonZeroMask(const qint16* block) {
#if defined(__SSE2__)
    quint64 mask = 0;
    const __m128i zero = _mm_setzero_si128();
    for (int i = 0; i < 64; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i + 8));
        const __m128i z = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        mask |= quint64(~quint32(_mm_movemask_epi8(z)) & 0xFFFFu) << i;
    }
    return mask;
#else
    quint64 mask = 0;
    for (int i = 0; i < 64; ++i)
        mask |= quint64(block[i] != 0) << i;
    return mask;
#endif
}

// Codes one block (ITU T.81 F.1.2): the DC difference, then the AC
// coefficients as run/size symbols. The sink either counts symbols or writes them.
template <class Sink>
inline void codeBlock(const qint16* block, int& predictor, int dcTable, int acTable, Sink& sink) {
    const int diff = block[0] - predictor;
    predictor = block[0];
    {
        const int magnitude = diff < 0 ? -diff : diff;
        const int nbits = int(std::bit_width(unsigned(magnitude)));
        sink.symbol(dcTable, nbits, quint32(diff < 0 ? diff - 1 : diff) & ((1u << nbits) - 1),
                    nbits);
    }
    quint64 mask = nonZeroMask(block) & ~quint64(1);
    int last = 0;
    while (mask) {
        const int k = std::countr_zero(mask);
        mask &= mask - 1;
        int run = k - last - 1;
        last = k;
        while (run > 15) {
            sink.symbol(acTable, 0xF0, 0, 0);
            run -= 16;
        }
        const int v = block[k];
        const int magnitude = v < 0 ? -v : v;
        const int nbits = int(std::bit_width(unsigned(magnitude)));
        sink.symbol(acTable, (run << 4) | nbits, quint32(v < 0 ? v - 1 : v) & ((1u << nbits) - 1),
                    nbits);
    }
    if (last != 63)
        sink.symbol(acTable, 0x00, 0, 0);
}

// Tables 0, 1: DC 0 and 1; tables 2, 3: AC 0 and 1.
struct SymbolCounter {
    std::array<std::array<qint64, 257>, 4> counts{};
    void symbol(int table, int s, quint32, int) { ++counts[size_t(table)][size_t(s)]; }
};

// Growable output with the entropy coder's bit writer (most significant bit
// first, a 0x00 stuffed behind every 0xFF).
class Output {
public:
    explicit Output(qint64 reserve) { m_data.resize(qsizetype(std::max<qint64>(reserve, 64))); }
    void byte(int b) {
        ensure(1);
        m_ptr()[m_pos++] = char(b);
    }
    void word(int w) {
        byte((w >> 8) & 0xFF);
        byte(w & 0xFF);
    }
    void bytes(const char* data, qsizetype n) {
        ensure(n);
        std::memcpy(m_ptr() + m_pos, data, size_t(n));
        m_pos += n;
    }
    void setTables(const HuffTable* const* tables) { m_tables = tables; }
    void symbol(int table, int s, quint32 extra, int nExtra) {
        const HuffTable& t = *m_tables[table];
        const int len = t.size[size_t(s)];
        put((quint32(t.code[size_t(s)]) << nExtra) | extra, len + nExtra);
    }
    void put(quint32 bits, int len) {
        m_acc = (m_acc << len) | bits;
        m_nbits += len;
        if (m_nbits >= 32)
            flushBytes();
    }
    // Ends a scan: fills the last byte with 1-bits.
    void padScan() {
        if (m_nbits % 8)
            put((1u << (8 - m_nbits % 8)) - 1, 8 - m_nbits % 8);
        flushBytes();
    }
    QByteArray take() {
        m_data.truncate(m_pos);
        return std::move(m_data);
    }

private:
    char* m_ptr() { return m_data.data(); }
    void ensure(qsizetype n) {
        if (m_pos + n > m_data.size())
            m_data.resize(std::max(m_data.size() * 2, m_pos + n));
    }
    void flushBytes() {
        ensure(2 * 8);
        char* p = m_ptr();
        while (m_nbits >= 8) {
            const int b = int(m_acc >> (m_nbits - 8)) & 0xFF;
            m_nbits -= 8;
            p[m_pos++] = char(b);
            if (b == 0xFF)
                p[m_pos++] = 0;
        }
    }

    QByteArray m_data;
    qsizetype m_pos = 0;
    quint64 m_acc = 0;
    int m_nbits = 0;
    const HuffTable* const* m_tables = nullptr;
};

// The file's markers and segments (ITU T.81 Annex B), one function each.

void writeSOI(Output& out) {
    out.word(0xFFD8);
}

// JFIF 1.01, aspect ratio 1:1, no thumbnail.
void writeAPP0(Output& out) {
    out.word(0xFFE0);
    out.word(16);
    out.bytes("JFIF\0", 5);
    out.byte(1);
    out.byte(1);
    out.byte(0);
    out.word(1);
    out.word(1);
    out.byte(0);
    out.byte(0);
}

void writeCOM(Output& out, const char* text, qsizetype size) {
    out.word(0xFFFE);
    out.word(int(size) + 2);
    out.bytes(text, size);
}

// 8-bit entries, in the order given (zig-zag).
void writeDQT(Output& out, int table, const std::array<quint16, 64>& entries) {
    out.word(0xFFDB);
    out.word(67);
    out.byte(table);
    for (quint16 q : entries)
        out.byte(q);
}

struct FrameComponent {
    int id, h, v, tq;
};

// Baseline frame header, 8-bit samples.
void writeSOF0(Output& out, int width, int height, const std::vector<FrameComponent>& comps) {
    out.word(0xFFC0);
    out.word(8 + 3 * int(comps.size()));
    out.byte(8);
    out.word(height);
    out.word(width);
    out.byte(int(comps.size()));
    for (const FrameComponent& c : comps) {
        out.byte(c.id);
        out.byte(c.h * 16 + c.v);
        out.byte(c.tq);
    }
}

// tableClass 0 is DC, 1 is AC.
void writeDHT(Output& out, int tableClass, int id, const HuffTable& h) {
    out.word(0xFFC4);
    out.word(2 + 1 + 16 + int(h.values.size()));
    out.byte(tableClass * 0x10 + id);
    for (int l = 1; l <= 16; ++l)
        out.byte(h.bits[size_t(l)]);
    out.bytes(reinterpret_cast<const char*>(h.values.data()), qsizetype(h.values.size()));
}

// Scan header of a sequential scan: each component (id) codes with the DC and
// AC tables of the same number; full spectral range, no approximation.
void writeSOS(Output& out, const std::vector<std::pair<int, int>>& idAndTable) {
    out.word(0xFFDA);
    out.word(6 + 2 * int(idAndTable.size()));
    out.byte(int(idAndTable.size()));
    for (const auto& [id, t] : idAndTable) {
        out.byte(id);
        out.byte(t * 16 + t);
    }
    out.byte(0);
    out.byte(63);
    out.byte(0);
}

void writeEOI(Output& out) {
    out.word(0xFFD9);
}

} // namespace

cJpeg::cJpeg() {
    SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    setQuality(75);
}

void cJpeg::setQuality(qint32 quality) {
    if (quality <= 0 || quality > 100)
        return;
    const qint64 scale = quality >= 50 ? 200 - 2 * quality : divRoundEven(5000, quality);
    const ZigZag& zz = kZigZag;
    Table64 tables[2];
    std::array<float, 64> multipliers[2];
    for (int t = 0; t < 2; ++t) {
        const quint16* base = t == 0 ? kLuminance : kChrominance;
        for (int z = 0; z < 64; ++z) {
            const qint64 v = divRoundEven(base[zz.natural[size_t(z)]] * scale + 50, 100);
            tables[t][size_t(z)] = quint16(std::clamp<qint64>(v, 1, 255));
        }
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j) {
                const int q = tables[t][size_t(zz.position[size_t(i * 8 + j)])];
                if (q < 1 || q > 255)
                    throw cJpegError("Bad Quantization Table");
                multipliers[t][size_t(i * 8 + j)] = float(kAanScale[i] * kAanScale[j] / q);
            }
    }
    m_quality = quality;
    for (int t = 0; t < 2; ++t) {
        m_qt[t] = tables[t];
        m_multipliers[t] = multipliers[t];
    }
}

void cJpeg::SetSamplingFrequencies(qint32 h1, qint32 v1, qint32 h2, qint32 v2, qint32 h3,
                                   qint32 v3) {
    const auto valid = [](qint32 f) { return f >= 1 && f <= 4; };
    if (!valid(h1) || !valid(v1))
        throw cJpegError("Invalid Sampling Value");
    std::vector<ComponentSpec> comps;
    if (h2 == 0 && v2 == 0 && h3 == 0 && v3 == 0) {
        comps.push_back({1, 1, 1, 0});
    } else {
        if (!valid(h2) || !valid(v2) || !valid(h3) || !valid(v3))
            throw cJpegError("Invalid Sampling Value");
        comps = {{1, h1, v1, 0}, {2, h2, v2, 1}, {3, h3, v3, 1}};
    }
    m_components = std::move(comps);
    m_hmax = m_vmax = 1;
    for (const ComponentSpec& c : m_components) {
        m_hmax = std::max(m_hmax, c.h);
        m_vmax = std::max(m_vmax, c.v);
    }
}

void cJpeg::setComment(const QString& text) {
    if (text.size() > MaxCommentLength)
        throw cJpegError("Illegal Comment Length");
    m_comment = text;
}

std::vector<std::pair<int, int>> cJpeg::scanGroups(const std::vector<ComponentSpec>& comps) {
    // A scan takes the next components while it holds at most 3 of them and
    // at most 10 blocks per unit.
    std::vector<std::pair<int, int>> groups;
    const int n = int(comps.size());
    for (int i = 0; i < n;) {
        const int start = i;
        int blocks = comps[size_t(i)].h * comps[size_t(i)].v;
        for (++i; i < n && i - start < 3; ++i) {
            const int more = comps[size_t(i)].h * comps[size_t(i)].v;
            if (blocks + more > 10)
                break;
            blocks += more;
        }
        groups.emplace_back(start, i - start);
    }
    return groups;
}

qint32 cJpeg::SampleHDC(const cImage* surface, qint32 width, qint32 height, qint32 left,
                        qint32 top) {
    if (surface == nullptr || surface->hDC() == nullptr)
        return 1;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || left < 0 || top < 0 ||
        qint64(left) + width > surface->Width() || qint64(top) + height > surface->Height())
        return 1;
    Frame frame;
    try {
        if (!prepareFrame(width, height, frame))
            return 1;
        const MakeSampler makeSampler = [&](int wc, int hc, int h, int v) {
            return AreaSampler(*surface, left, top, width, height, wc, hc, {m_hmax, h},
                               {m_vmax, v});
        };
        sampleComponents(
            frame, makeSampler, [](int, int) { return true; }, false);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    m_frame = std::move(frame);
    m_sampled = true;
    return 0;
}

qint32 cJpeg::SampleRows(RowSource& source) {
    const int width = source.Width(), height = source.Height();
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
        return 1;
    Frame frame;
    try {
        if (!prepareFrame(width, height, frame))
            return 1;
        // One band of 8·Vmax rows: every sample of a block row of each
        // component lies in the band of its picture rows.
        const size_t stride = size_t(width) * 3;
        const int bandRows = 8 * m_vmax;
        std::vector<uchar> band(stride * size_t(std::min(bandRows, height)));
        AreaSampler::Window window{band.data(), stride, 0, 0};
        const MakeSampler makeSampler = [&](int wc, int hc, int h, int v) {
            return AreaSampler(window, width, height, wc, hc, {m_hmax, h}, {m_vmax, v});
        };
        const LoadBand loadBand = [&](int first, int count) {
            window.first = first;
            window.count = count;
            return source.ReadRows(first, count, band.data(), stride);
        };
        if (!sampleComponents(frame, makeSampler, loadBand, source.RedFirst()))
            return 1;
    } catch (const std::bad_alloc&) {
        return 1;
    }
    m_frame = std::move(frame);
    m_sampled = true;
    return 0;
}

bool cJpeg::prepareFrame(int width, int height, Frame& frame) const {
    frame.width = width;
    frame.height = height;
    frame.hmax = m_hmax;
    frame.vmax = m_vmax;
    frame.qt[0] = m_qt[0];
    frame.qt[1] = m_qt[1];
    const int mcuCols = (width + 8 * m_hmax - 1) / (8 * m_hmax);
    const int mcuRows = (height + 8 * m_vmax - 1) / (8 * m_vmax);
    std::vector<bool> interleaved(m_components.size(), false);
    for (const auto& [first, count] : scanGroups(m_components))
        for (int i = first; i < first + count; ++i)
            interleaved[size_t(i)] = count > 1;
    for (size_t i = 0; i < m_components.size(); ++i) {
        const ComponentSpec& c = m_components[i];
        SampledComponent s{c.id, c.h, c.v, c.tq, 0, 0, 0, 0, {}};
        // Component size ceil(Hc·X / Hmax) × ceil(Vc·Y / Vmax) (ITU T.81 A.1.1).
        const int wc = int((qint64(c.h) * width + m_hmax - 1) / m_hmax);
        const int hc = int((qint64(c.v) * height + m_vmax - 1) / m_vmax);
        s.scanBlocksW = (wc + 7) / 8;
        s.scanBlocksH = (hc + 7) / 8;
        // In an interleaved scan the units cover whole multiples of H×V blocks.
        s.blocksW = interleaved[i] ? mcuCols * c.h : s.scanBlocksW;
        s.blocksH = interleaved[i] ? mcuRows * c.v : s.scanBlocksH;
        // Every block is written by the sampling: no zero fill.
        s.coef =
            std::make_unique_for_overwrite<qint16[]>(size_t(s.blocksW) * size_t(s.blocksH) * 64);
        frame.comps.push_back(std::move(s));
    }
    return true;
}

bool cJpeg::sampleComponents(Frame& frame, const MakeSampler& makeSampler, const LoadBand& loadBand,
                             bool redFirst) const {
    // Multipliers transposed for the block transform.
    alignas(16) float multipliersT[2][64];
    for (int u = 0; u < 8; ++u)
        for (int v = 0; v < 8; ++v) {
            for (int t = 0; t < 2; ++t)
                multipliersT[t][v * 8 + u] = m_multipliers[t][size_t(u * 8 + v)];
        }
    struct Work {
        size_t cols;
        std::vector<float> in, out;
    };
    // Components of the same sampling factors share the scaled picture rows.
    struct Group {
        size_t first, last;
        int wc, hc, v, rows;
        AreaSampler sampler;
        std::vector<Work> work;
        const uchar* bgr = nullptr;
    };
    const size_t n = frame.comps.size();
    std::vector<Group> groups;
    for (size_t first = 0; first < n;) {
        const SampledComponent& f = frame.comps[first];
        const int wc = int((qint64(f.h) * frame.width + frame.hmax - 1) / frame.hmax);
        const int hc = int((qint64(f.v) * frame.height + frame.vmax - 1) / frame.vmax);
        size_t last = first + 1;
        while (last < n && frame.comps[last].h == f.h && frame.comps[last].v == f.v)
            ++last;
        // Sample i of a component covers the picture pixels [i·Hmax/H, (i + 1)·Hmax/H)
        // (and likewise vertically), the grid on which decoders place it; the last
        // sample of an odd-sized picture repeats its edge pixels.
        Group g{first, last, wc, hc, f.v, 0, makeSampler(wc, hc, f.h, f.v), {}};
        for (size_t c = first; c < last; ++c) {
            const size_t cols = size_t(frame.comps[c].blocksW) * 8;
            g.work.push_back({cols, std::vector<float>(cols * 8), std::vector<float>(cols * 8)});
            g.rows = std::max(g.rows, frame.comps[c].blocksH * 8);
        }
        groups.push_back(std::move(g));
        first = last;
    }
    // Band by band from the top: the 8·V sample rows of a component in band b
    // cover exactly the picture rows of the band.
    const int bandRows = 8 * frame.vmax;
    for (int top = 0, b = 0; top < frame.height; top += bandRows, ++b) {
        if (!loadBand(top, std::min(bandRows, frame.height - top)))
            return false;
        for (Group& g : groups) {
            const int yEnd = std::min(g.rows, (b + 1) * 8 * g.v);
            for (int y = b * 8 * g.v; y < yEnd; ++y) {
                // Rows below the picture repeat its last row.
                if (y < g.hc)
                    g.bgr = g.sampler.Row(y);
                for (size_t c = g.first; c < g.last; ++c) {
                    SampledComponent& comp = frame.comps[c];
                    if (y >= comp.blocksH * 8)
                        continue;
                    Work& w = g.work[c - g.first];
                    float* dst = w.in.data() + size_t(y & 7) * w.cols;
                    convertRow(g.bgr, size_t(g.wc), kConvert[n == 1 ? 0 : c], dst, redFirst);
                    // Columns right of the picture repeat its last column.
                    std::fill(dst + g.wc, dst + w.cols, dst[g.wc - 1]);
                    if ((y & 7) != 7)
                        continue;
                    dctColumns(w.in.data(), w.out.data(), w.cols);
                    qint16* block = comp.coef.get() + size_t(y >> 3) * size_t(comp.blocksW) * 64;
                    for (int bx = 0; bx < comp.blocksW; ++bx, block += 64)
                        dctRowsQuantise(w.out.data() + size_t(bx) * 8, w.cols,
                                        multipliersT[comp.tq], block);
                }
            }
        }
    }
    return true;
}

QByteArray cJpeg::Encode() const {
    if (!m_sampled)
        return {};
    const Frame& f = m_frame;
    const size_t n = f.comps.size();
    std::vector<ComponentSpec> specs;
    for (const SampledComponent& c : f.comps)
        specs.push_back({c.id, c.h, c.v, c.tq});
    const auto groups = scanGroups(specs);
    const int mcuCols = (f.width + 8 * f.hmax - 1) / (8 * f.hmax);
    const int mcuRows = (f.height + 8 * f.vmax - 1) / (8 * f.vmax);

    // Component 0 codes with DC/AC tables 0, every other component with tables 1.
    const auto tableOf = [](size_t c) { return c == 0 ? 0 : 1; };
    // Codes one scan: every block of a lone component in turn, or the units of
    // an interleaved scan (Hc × Vc blocks of each component, in order).
    const auto codeScan = [&](int first, int count, auto& sink) {
        std::array<int, 3> pred{};
        if (count == 1) {
            const SampledComponent& c = f.comps[size_t(first)];
            const int t = tableOf(size_t(first));
            for (int by = 0; by < c.scanBlocksH; ++by) {
                const qint16* block = c.coef.get() + size_t(by) * size_t(c.blocksW) * 64;
                for (int bx = 0; bx < c.scanBlocksW; ++bx, block += 64)
                    codeBlock(block, pred[0], t, 2 + t, sink);
            }
            return;
        }
        for (int my = 0; my < mcuRows; ++my)
            for (int mx = 0; mx < mcuCols; ++mx)
                for (int i = 0; i < count; ++i) {
                    const size_t ci = size_t(first + i);
                    const SampledComponent& c = f.comps[ci];
                    const int t = tableOf(ci);
                    for (int v = 0; v < c.v; ++v) {
                        const qint16* block =
                            c.coef.get() +
                            (size_t(my * c.v + v) * size_t(c.blocksW) + size_t(mx * c.h)) * 64;
                        for (int h = 0; h < c.h; ++h, block += 64)
                            codeBlock(block, pred[size_t(i)], t, 2 + t, sink);
                    }
                }
    };

    // First pass: symbol statistics, then the optimal tables.
    SymbolCounter counter;
    for (const auto& [first, count] : groups)
        codeScan(first, count, counter);
    const int tableCount = n > 1 ? 2 : 1;
    HuffTable tables[4]; // DC 0, DC 1, AC 0, AC 1
    qint64 estimateBits = 0;
    for (int t = 0; t < 4; ++t) {
        if ((t & 1) >= tableCount)
            continue;
        const auto& counts = counter.counts[size_t(t)];
        const bool dc = t < 2;
        // A DC symbol above 11 or an AC symbol above 255 is out of range at 8 bits.
        for (int s = dc ? 12 : 256; s < 256; ++s)
            if (counts[size_t(s)])
                throw cJpegError("Bad Huffman Table");
        tables[t] = buildOptimalTable(counts);
        deriveCodes(tables[t], dc ? 11 : 255);
        for (int s = 0; s < 256; ++s)
            estimateBits += counts[size_t(s)] * (tables[t].size[size_t(s)] + (dc ? s : (s & 0x0F)));
    }
    for (int t = 0; t < tableCount; ++t)
        for (quint16 q : f.qt[t])
            if (q > 255)
                throw cJpegError("Illegal precission in Quantization Table");

    const QByteArray comment = [&] {
        QByteArray bytes(m_comment.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < m_comment.size(); ++i) {
            // One byte per character; characters without a single-byte code become '?'.
            const char16_t ch = m_comment[i].unicode();
            bytes[i] = ch < 0x100 ? char(ch) : '?';
        }
        return bytes;
    }();
    Output out(qint64(double(estimateBits / 8) * 1.3) + 1000 + comment.size());

    writeSOI(out);
    writeAPP0(out);
    if (!comment.isEmpty())
        writeCOM(out, comment.constData(), comment.size());
    writeCOM(out, kCredit, qsizetype(sizeof(kCredit) - 1));
    for (int t = 0; t < tableCount; ++t)
        writeDQT(out, t, f.qt[t]);
    std::vector<FrameComponent> frameComps;
    for (const SampledComponent& c : f.comps)
        frameComps.push_back({c.id, c.h, c.v, c.tq});
    writeSOF0(out, f.width, f.height, frameComps);
    for (int t = 0; t < tableCount; ++t)
        for (int ac = 0; ac < 2; ++ac)
            writeDHT(out, ac, t, tables[ac * 2 + t]);
    const HuffTable* tablePtrs[4] = {&tables[0], &tables[1], &tables[2], &tables[3]};
    out.setTables(tablePtrs);
    for (const auto& [first, count] : groups) {
        std::vector<std::pair<int, int>> scanComps;
        for (int i = 0; i < count; ++i)
            scanComps.emplace_back(f.comps[size_t(first + i)].id, tableOf(size_t(first + i)));
        writeSOS(out, scanComps);
        codeScan(first, count, out);
        out.padScan();
    }
    writeEOI(out);
    return out.take();
}

qint32 cJpeg::SaveFile(const QString& fileName) {
    if (fileName.isEmpty())
        return SaveEmptyName;
    const QFileInfo info(fileName);
    if (info.exists() || info.isSymLink())
        return SaveFileExists;
    const QByteArray data = Encode();
    if (data.isEmpty())
        return SaveNotWritten;
    // NewOnly refuses a file that appeared meanwhile; a failed write removes
    // what was written, so no partial file is left behind.
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QFileInfo::exists(fileName) ? SaveFileExists : SaveNotWritten;
    const bool written = file.write(data) == data.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        return SaveNotWritten;
    }
    return SaveOk;
}
