#pragma once

#include <QtGlobal>

#include <array>
#include <bit>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Huffman coding of the JPEG encoder (ITU T.81 Annexes C, F.1.2 and K.2).
namespace JpegHuffman {

// Huffman table of one class and index: code-length counts, symbols, and
// the code and length of each symbol.
struct HuffTable {
    std::array<quint8, 17> bits{}; // bits[l] = number of codes of length l
    std::vector<quint8> values;
    std::array<quint16, 256> code{};
    std::array<quint8, 256> size{};
};

// Optimal code lengths from symbol counts (ITU T.81 Annex K.2, Figures K.1 to K.4).
HuffTable buildOptimalTable(const std::array<qint64, 257>& counts);
// Codes of a table (ITU T.81 Annex C); raises "Bad Huffman Table" when the
// table cannot describe a valid code.
void deriveCodes(HuffTable& t, int maxSymbol);

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

} // namespace JpegHuffman
