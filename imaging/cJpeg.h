#pragma once

#include "imaging/JpegSymbolStore.h"
#include "imaging/cJpegError.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class AreaSampler;
class JpegWriter;
class RowSource;
class cImage;
namespace JpegHuffman {
struct HuffTable;
}

// Baseline sequential JPEG encoder with a JFIF header and optimal Huffman
// tables. SampleHDC (or SampleRows) converts, subsamples, transforms and
// quantises the picture one band of block rows at a time and keeps only the
// entropy coder's symbols, compactly (JpegSymbolStore); SaveFile derives the
// Huffman tables from their counts and streams the file to disk. Memory stays
// bounded whatever the picture's size.
//
// The symbols stay with the quantisation tables and the component
// structure they were made with, so a file written after a later change of
// Quality or sampling still decodes to the sampled picture.
class cJpeg {
public:
    // Results of SaveFile.
    enum SaveStatus : qint32 {
        SaveOk = 0,
        SaveEmptyName = 1,
        SaveFileExists = 2,
        SaveNotWritten = 3, // nothing sampled yet, or the file cannot be created or written
    };

    cJpeg();

    // Sets the quality 1…100 and rebuilds both quantisation tables; other values are ignored.
    void setQuality(qint32 quality);
    qint32 Quality() const { return m_quality; }
    // Luminance H1×V1, chrominance H2×V2 and H3×V3 (1…4 each); H2, V2, H3, V3
    // all 0 give one grey component. Raises "Invalid Sampling Value".
    void SetSamplingFrequencies(qint32 h1, qint32 v1, qint32 h2, qint32 v2, qint32 h3, qint32 v3);
    // Samples the rectangle (left, top, width, height) of the surface: 0 success,
    // 1 failure (no surface, a rectangle outside it, a size beyond 65535, no memory).
    qint32 SampleHDC(const cImage* surface, qint32 width, qint32 height, qint32 left = 0,
                     qint32 top = 0);
    // Samples a whole picture read from the source one band of rows at a
    // time, with the result of SampleHDC on the same picture: 0 success,
    // 1 failure (a size beyond 65535, no memory, a read error of the source, a
    // full disk under the temporary folder; ErrorString() says which).
    qint32 SampleRows(RowSource& source);
    // Raises "Illegal Comment Length" for a text the comment segment cannot hold.
    void setComment(const QString& text);
    QString Comment() const { return m_comment; }
    // Writes the file; never overwrites an existing file (see SaveStatus).
    // A file that could not be written whole is removed.
    qint32 SaveFile(const QString& fileName);
    // The file SaveFile writes, built in memory; empty when nothing is sampled.
    QByteArray Encode() const;
    // Why the last SampleHDC, SampleRows or SaveFile failed (a full disk, a
    // read error, the size), when it knows more than its result says.
    QString ErrorString() const { return m_error; }

    // Longest comment: its segment length (text + 2) must fit 16 bits.
    static constexpr int MaxCommentLength = 65533;

private:
    using Table64 = std::array<quint16, 64>;
    struct ComponentSpec {
        int id, h, v, tq;
    };
    struct SampledComponent {
        int id, h, v, tq;
        int blocksW, blocksH;         // block area the sampling fills
        int scanBlocksW, scanBlocksH; // blocks a non-interleaved scan codes
    };
    struct Scan {
        int first, count; // components
        JpegSymbolStore symbols;
        std::array<int, 3> predictor{}; // DC predictors while sampling
    };
    // Tables 0, 1: DC 0 and 1; tables 2, 3: AC 0 and 1.
    using SymbolCounts = std::array<std::array<qint64, 257>, 4>;
    struct Frame {
        int width = 0, height = 0, hmax = 1, vmax = 1;
        std::vector<SampledComponent> comps;
        std::vector<Scan> scans;
        SymbolCounts counts{};
        Table64 qt[2]{};
    };
    // Quantised blocks of one band: per component, its V block rows of
    // blocksW blocks, 64 coefficients each in zig-zag order.
    using BandBlocks = std::vector<std::vector<qint16>>;

    static std::vector<std::pair<int, int>> scanGroups(const std::vector<ComponentSpec>& comps);
    // A sampler of the picture for one component size and its sampling step.
    using MakeSampler = std::function<AreaSampler(int wc, int hc, int h, int v)>;
    // Called before each band of 8·Vmax picture rows with its first row and
    // row count; false stops the sampling. The picture's pixels are blue,
    // green, red bytes, or with redFirst red, green, blue.
    using LoadBand = std::function<bool(int first, int count)>;
    qint32 sample(int width, int height, const MakeSampler& makeSampler, const LoadBand& loadBand,
                  bool redFirst);
    void prepareFrame(int width, int height, Frame& frame) const;
    bool sampleComponents(Frame& frame, const MakeSampler& makeSampler, const LoadBand& loadBand,
                          bool redFirst) const;
    static void recordBand(Frame& frame, int band, const BandBlocks& blocks);
    static void huffmanTables(const Frame& f, JpegHuffman::HuffTable* tables);
    bool write(JpegWriter& out) const;
    static bool replayScan(const Frame& f, const Scan& scan, JpegWriter& out);

    int m_quality = 0;
    QString m_comment;
    std::vector<ComponentSpec> m_components;
    int m_hmax = 1, m_vmax = 1;
    Table64 m_qt[2]{};
    std::array<float, 64> m_multipliers[2]{}; // natural order: s(i)·s(j) / q
    Frame m_frame;
    bool m_sampled = false;
    QString m_error;
};
