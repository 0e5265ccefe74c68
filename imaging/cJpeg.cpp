#include "imaging/cJpeg.h"

#include "imaging/AreaSampler.h"
#include "imaging/JpegHuffman.h"
#include "imaging/JpegTransform.h"
#include "imaging/JpegWriter.h"
#include "imaging/RowSource.h"
#include "imaging/cImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <new>

using namespace JpegTransform;
using JpegHuffman::HuffTable;

namespace {

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

// Counts each symbol and keeps it, with its extra bits, for the writing.
struct SymbolRecorder {
    std::array<std::array<qint64, 257>, 4>& counts;
    JpegSymbolStore& store;
    void symbol(int table, int s, quint32 extra, int nbits) {
        ++counts[size_t(table)][size_t(s)];
        store.Put(s, extra, nbits);
    }
};

// Multipliers transposed for the block transform: entry v·8 + u holds u·8 + v.
std::array<float, 64> transposed(const std::array<float, 64>& m) {
    std::array<float, 64> t;
    for (size_t u = 0; u < 8; ++u)
        for (size_t v = 0; v < 8; ++v)
            t[v * 8 + u] = m[u * 8 + v];
    return t;
}

QString sizeError(int width, int height) {
    return QStringLiteral("the picture is %1x%2 pixels; at most 65535 in a side can be encoded")
        .arg(width)
        .arg(height);
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
    if (width <= 0 || height <= 0 || left < 0 || top < 0 ||
        qint64(left) + width > surface->Width() || qint64(top) + height > surface->Height())
        return 1;
    const MakeSampler makeSampler = [&](int wc, int hc, int h, int v) {
        return AreaSampler(*surface, left, top, width, height, wc, hc, {m_hmax, h}, {m_vmax, v});
    };
    return sample(
        width, height, makeSampler, [](int, int) { return true; }, false);
}

qint32 cJpeg::SampleRows(RowSource& source) {
    const int width = source.Width(), height = source.Height();
    if (width <= 0 || height <= 0)
        return 1;
    // One band of 8·Vmax rows: every sample of a block row of each
    // component lies in the band of its picture rows.
    const size_t stride = size_t(width) * 3;
    std::vector<uchar> band;
    AreaSampler::Window window{nullptr, stride, 0, 0};
    const MakeSampler makeSampler = [&](int wc, int hc, int h, int v) {
        return AreaSampler(window, width, height, wc, hc, {m_hmax, h}, {m_vmax, v});
    };
    const LoadBand loadBand = [&](int first, int count) {
        band.resize(stride * size_t(std::min(8 * m_vmax, height)));
        window.rows = band.data();
        window.first = first;
        window.count = count;
        if (source.ReadRows(first, count, band.data(), stride))
            return true;
        m_error = source.Error();
        return false;
    };
    return sample(width, height, makeSampler, loadBand, source.RedFirst());
}

// Samples into a new frame, which replaces the current one on success only.
qint32 cJpeg::sample(int width, int height, const MakeSampler& makeSampler,
                     const LoadBand& loadBand, bool redFirst) {
    m_error.clear();
    if (width > 65535 || height > 65535) {
        m_error = sizeError(width, height);
        return 1;
    }
    Frame frame;
    try {
        prepareFrame(width, height, frame);
        if (!sampleComponents(frame, makeSampler, loadBand, redFirst))
            return 1;
    } catch (const std::bad_alloc&) {
        m_error =
            QStringLiteral("not enough memory to encode a %1x%2 picture").arg(width).arg(height);
        return 1;
    }
    for (const Scan& scan : frame.scans)
        if (!scan.symbols.Ok()) {
            m_error = scan.symbols.Error();
            return 1;
        }
    m_frame = std::move(frame);
    m_sampled = true;
    return 0;
}

void cJpeg::prepareFrame(int width, int height, Frame& frame) const {
    frame.width = width;
    frame.height = height;
    frame.hmax = m_hmax;
    frame.vmax = m_vmax;
    frame.qt[0] = m_qt[0];
    frame.qt[1] = m_qt[1];
    const int mcuCols = (width + 8 * m_hmax - 1) / (8 * m_hmax);
    const int mcuRows = (height + 8 * m_vmax - 1) / (8 * m_vmax);
    std::vector<bool> interleaved(m_components.size(), false);
    for (const auto& [first, count] : scanGroups(m_components)) {
        for (int i = first; i < first + count; ++i)
            interleaved[size_t(i)] = count > 1;
        frame.scans.push_back({first, count, JpegSymbolStore(), {}});
    }
    for (size_t i = 0; i < m_components.size(); ++i) {
        const ComponentSpec& c = m_components[i];
        SampledComponent s{c.id, c.h, c.v, c.tq, 0, 0, 0, 0};
        // Component size ceil(Hc·X / Hmax) × ceil(Vc·Y / Vmax) (ITU T.81 A.1.1).
        const int wc = int((qint64(c.h) * width + m_hmax - 1) / m_hmax);
        const int hc = int((qint64(c.v) * height + m_vmax - 1) / m_vmax);
        s.scanBlocksW = (wc + 7) / 8;
        s.scanBlocksH = (hc + 7) / 8;
        // In an interleaved scan the units cover whole multiples of H×V blocks.
        s.blocksW = interleaved[i] ? mcuCols * c.h : s.scanBlocksW;
        s.blocksH = interleaved[i] ? mcuRows * c.v : s.scanBlocksH;
        frame.comps.push_back(s);
    }
}

bool cJpeg::sampleComponents(Frame& frame, const MakeSampler& makeSampler, const LoadBand& loadBand,
                             bool redFirst) const {
    const std::array<float, 64> multipliersT[2] = {transposed(m_multipliers[0]),
                                                   transposed(m_multipliers[1])};
    struct Work {
        size_t cols;
        std::vector<float> in, out;
    };
    // Components of the same sampling factors share the scaled picture rows.
    // Sample i of a component covers the picture pixels [i·Hmax/H, (i + 1)·Hmax/H)
    // (and likewise vertically), the grid on which decoders place it; the last
    // sample of an odd-sized picture repeats its edge pixels.
    struct Group {
        size_t first, last;
        int wc, hc, v, rows;
        AreaSampler sampler;
        std::vector<Work> work;
        const uchar* bgr = nullptr;
    };
    const size_t n = frame.comps.size();
    std::vector<Group> groups;
    BandBlocks blocks(n);
    for (size_t first = 0; first < n;) {
        const SampledComponent& f = frame.comps[first];
        const int wc = int((qint64(f.h) * frame.width + frame.hmax - 1) / frame.hmax);
        const int hc = int((qint64(f.v) * frame.height + frame.vmax - 1) / frame.vmax);
        size_t last = first + 1;
        while (last < n && frame.comps[last].h == f.h && frame.comps[last].v == f.v)
            ++last;
        Group g{first, last, wc, hc, f.v, 0, makeSampler(wc, hc, f.h, f.v), {}};
        for (size_t c = first; c < last; ++c) {
            const SampledComponent& comp = frame.comps[c];
            const size_t cols = size_t(comp.blocksW) * 8;
            g.work.push_back({cols, std::vector<float>(cols * 8), std::vector<float>(cols * 8)});
            g.rows = std::max(g.rows, comp.blocksH * 8);
            blocks[c].resize(size_t(comp.blocksW) * size_t(comp.v) * 64);
        }
        groups.push_back(std::move(g));
        first = last;
    }
    // Band by band from the top: the 8·V sample rows of a component in band b
    // cover exactly the picture rows of the band; its blocks are coded before the next.
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
                    const SampledComponent& comp = frame.comps[c];
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
                    qint16* block = blocks[c].data() +
                                    size_t((y >> 3) - b * comp.v) * size_t(comp.blocksW) * 64;
                    for (int bx = 0; bx < comp.blocksW; ++bx, block += 64)
                        dctRowsQuantise(w.out.data() + size_t(bx) * 8, w.cols,
                                        multipliersT[comp.tq].data(), block);
                }
            }
        }
        recordBand(frame, b, blocks);
    }
    return true;
}

// Codes the blocks of band b into each scan's symbols: every block of a lone
// component in turn, or the units of an interleaved scan (Hc × Vc blocks of
// each component, in order). Component 0 codes with DC/AC tables 0, every
// other component with tables 1.
void cJpeg::recordBand(Frame& frame, int band, const BandBlocks& blocks) {
    const int mcuCols = (frame.width + 8 * frame.hmax - 1) / (8 * frame.hmax);
    for (Scan& scan : frame.scans) {
        SymbolRecorder sink{frame.counts, scan.symbols};
        if (scan.count == 1) {
            const SampledComponent& c = frame.comps[size_t(scan.first)];
            const int t = scan.first == 0 ? 0 : 1;
            const int rows = std::min(c.v, c.scanBlocksH - band * c.v);
            for (int r = 0; r < rows; ++r) {
                const qint16* block =
                    blocks[size_t(scan.first)].data() + size_t(r) * size_t(c.blocksW) * 64;
                for (int bx = 0; bx < c.scanBlocksW; ++bx, block += 64)
                    JpegHuffman::codeBlock(block, scan.predictor[0], t, 2 + t, sink);
            }
            continue;
        }
        for (int mx = 0; mx < mcuCols; ++mx)
            for (int i = 0; i < scan.count; ++i) {
                const size_t ci = size_t(scan.first + i);
                const SampledComponent& c = frame.comps[ci];
                const int t = ci == 0 ? 0 : 1;
                for (int v = 0; v < c.v; ++v) {
                    const qint16* block =
                        blocks[ci].data() + (size_t(v) * size_t(c.blocksW) + size_t(mx * c.h)) * 64;
                    for (int h = 0; h < c.h; ++h, block += 64)
                        JpegHuffman::codeBlock(block, scan.predictor[size_t(i)], t, 2 + t, sink);
                }
            }
    }
}

// The optimal tables from the symbol counts: DC 0, DC 1, AC 0, AC 1.
void cJpeg::huffmanTables(const Frame& f, HuffTable* tables) {
    const int tableCount = f.comps.size() > 1 ? 2 : 1;
    for (int t = 0; t < 4; ++t) {
        if ((t & 1) >= tableCount)
            continue;
        const auto& counts = f.counts[size_t(t)];
        const bool dc = t < 2;
        // A DC symbol above 11 or an AC symbol above 255 is out of range at 8 bits.
        for (int s = dc ? 12 : 256; s < 256; ++s)
            if (counts[size_t(s)])
                throw cJpegError("Bad Huffman Table");
        tables[t] = JpegHuffman::buildOptimalTable(counts);
        JpegHuffman::deriveCodes(tables[t], dc ? 11 : 255);
    }
    for (int t = 0; t < tableCount; ++t)
        for (quint16 q : f.qt[t])
            if (q > 255)
                throw cJpegError("Illegal precision in Quantization Table");
}

// Writes the scan's symbols again with the Huffman codes; the symbols of a
// block end at its end-of-block symbol or its 63rd coefficient.
bool cJpeg::replayScan(const Frame& f, const Scan& scan, JpegWriter& out) {
    std::vector<int> unitTables; // the table of each block of a unit
    qint64 units = 0;
    for (int i = 0; i < scan.count; ++i) {
        const SampledComponent& c = f.comps[size_t(scan.first + i)];
        const int t = scan.first + i == 0 ? 0 : 1;
        unitTables.insert(unitTables.end(), size_t(scan.count == 1 ? 1 : c.h * c.v), t);
        units = scan.count == 1 ? qint64(c.scanBlocksW) * c.scanBlocksH
                                : qint64((f.width + 8 * f.hmax - 1) / (8 * f.hmax)) *
                                      ((f.height + 8 * f.vmax - 1) / (8 * f.vmax));
    }
    JpegSymbolStore::Reader in(scan.symbols);
    for (qint64 u = 0; u < units; ++u)
        for (int t : unitTables) {
            const int dc = in.Symbol();
            out.symbol(t, dc, in.Extra(dc), dc);
            for (int k = 0; k < 63;) {
                const int s = in.Symbol();
                const int nbits = s & 0x0F;
                out.symbol(2 + t, s, in.Extra(nbits), nbits);
                if (s == 0x00)
                    break;
                k += s == 0xF0 ? 16 : (s >> 4) + 1;
            }
        }
    out.padScan();
    return in.Ok();
}

bool cJpeg::write(JpegWriter& out) const {
    const Frame& f = m_frame;
    HuffTable tables[4];
    huffmanTables(f, tables);
    const int tableCount = f.comps.size() > 1 ? 2 : 1;
    QByteArray comment(m_comment.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < m_comment.size(); ++i) {
        // One byte per character; characters without a single-byte code become '?'.
        const char16_t ch = m_comment[i].unicode();
        comment[i] = ch < 0x100 ? char(ch) : '?';
    }
    out.SOI();
    out.APP0();
    if (!comment.isEmpty())
        out.COM(comment.constData(), comment.size());
    out.COM(kCredit, qsizetype(sizeof(kCredit) - 1));
    for (int t = 0; t < tableCount; ++t)
        out.DQT(t, f.qt[t]);
    std::vector<JpegWriter::FrameComponent> frameComps;
    for (const SampledComponent& c : f.comps)
        frameComps.push_back({c.id, c.h, c.v, c.tq});
    out.SOF0(f.width, f.height, frameComps);
    for (int t = 0; t < tableCount; ++t)
        for (int ac = 0; ac < 2; ++ac)
            out.DHT(ac, t, tables[ac * 2 + t]);
    const HuffTable* tablePtrs[4] = {&tables[0], &tables[1], &tables[2], &tables[3]};
    out.setTables(tablePtrs);
    bool readBack = true;
    for (const Scan& scan : f.scans) {
        std::vector<std::pair<int, int>> scanComps;
        for (int i = scan.first; i < scan.first + scan.count; ++i)
            scanComps.emplace_back(f.comps[size_t(i)].id, i == 0 ? 0 : 1);
        out.SOS(scanComps);
        readBack = replayScan(f, scan, out) && readBack;
    }
    out.EOI();
    return readBack;
}

QByteArray cJpeg::Encode() const {
    if (!m_sampled)
        return {};
    JpegWriter out;
    return write(out) ? out.take() : QByteArray();
}

qint32 cJpeg::SaveFile(const QString& fileName) {
    m_error.clear();
    if (fileName.isEmpty())
        return SaveEmptyName;
    const QFileInfo info(fileName);
    if (info.exists() || info.isSymLink())
        return SaveFileExists;
    if (!m_sampled)
        return SaveNotWritten;
    HuffTable tables[4];
    huffmanTables(m_frame, tables); // raises its errors before a file is made
    // NewOnly refuses a file that appeared meanwhile; a failed write removes
    // what was written, so no partial file is left behind.
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_error = file.errorString();
        return QFileInfo::exists(fileName) ? SaveFileExists : SaveNotWritten;
    }
    JpegWriter out(&file);
    const bool readBack = write(out);
    bool written = out.finish() && file.flush();
    m_error = !out.error().isEmpty() ? out.error() : file.errorString();
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    if (!readBack)
        m_error = QStringLiteral("the temporary file of the picture could not be read back");
    if (!written || !readBack) {
        file.remove();
        return SaveNotWritten;
    }
    m_error.clear();
    return SaveOk;
}
