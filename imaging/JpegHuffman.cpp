#include "imaging/JpegHuffman.h"

#include "imaging/cJpegError.h"

#include <algorithm>
#include <set>

namespace JpegHuffman {

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
    for (int s = 0; s < 256; ++s)
        if (codesize[size_t(s)])
            t.values.push_back(quint8(s));
    std::stable_sort(t.values.begin(), t.values.end(),
                     [&](quint8 a, quint8 b) { return codesize[a] < codesize[b]; });
    return t;
}

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

} // namespace JpegHuffman
