#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

// The sample side of the JPEG encoder: colour conversion, the floating-point
// AAN forward DCT and quantisation, the zig-zag order and the base tables.
namespace JpegTransform {

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
inline constexpr ZigZag kZigZag;

// ITU T.81 Annex K, Tables K.1 (luminance) and K.2 (chrominance), natural order.
extern const quint16 kLuminance[64];
extern const quint16 kChrominance[64];
// Row and column scale factors of the AAN DCT: s(0) = 1/(2·√2), s(k) = 1/(4·cos(kπ/16)).
extern const double kAanScale[8];
// Colour conversion: Y, Cb, Cr of JFIF with the level shift of 128 applied
// (a single component is Y), in single precision.
extern const float kConvert[3][4];

// Vertical pass over eight rows of a whole block row at once (cols is a multiple of 8).
void dctColumns(const float* in, float* out, size_t cols);
// One row of blue, green, red (or red, green, blue) bytes to component samples.
void convertRow(const uchar* px, size_t count, const float* k, float* dst, bool redFirst);
// Horizontal pass of one block and quantisation into zig-zag order; the
// multipliers are given transposed (entry v·8 + u: vertical u, horizontal v).
void dctRowsQuantise(const float* rows, size_t cols, const float* multipliersT, qint16* block);

} // namespace JpegTransform
