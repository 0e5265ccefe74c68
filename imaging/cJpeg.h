#pragma once

#include "imaging/cJpegError.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class AreaSampler;
class RowSource;
class cImage;

// Baseline sequential JPEG encoder with a JFIF header and optimal Huffman
// tables. SampleHDC (or SampleRows) converts, subsamples, transforms and quantises the
// picture and keeps the coefficients; SaveFile derives the Huffman tables
// from them, builds the whole file in memory and writes it in one piece.
//
// The coefficients stay with the quantisation tables and the component
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
    // 1 failure (a size beyond 65535, no memory, a read error of the source).
    qint32 SampleRows(RowSource& source);
    // Raises "Illegal Comment Length" for a text the comment segment cannot hold.
    void setComment(const QString& text);
    QString Comment() const { return m_comment; }
    // Writes the file; never overwrites an existing file (see SaveStatus).
    qint32 SaveFile(const QString& fileName);
    // The file SaveFile writes, built in memory; empty when nothing is sampled.
    QByteArray Encode() const;

    // Longest comment: its segment length (text + 2) must fit 16 bits.
    static constexpr int MaxCommentLength = 65533;

private:
    using Table64 = std::array<quint16, 64>;
    struct ComponentSpec {
        int id, h, v, tq;
    };
    struct SampledComponent {
        int id, h, v, tq;
        int blocksW, blocksH;           // block area of the stored coefficients
        int scanBlocksW, scanBlocksH;   // blocks a non-interleaved scan codes
        std::unique_ptr<qint16[]> coef; // 64 per block, zig-zag order, blocks row by row
    };
    struct Frame {
        int width = 0, height = 0, hmax = 1, vmax = 1;
        std::vector<SampledComponent> comps;
        Table64 qt[2]{};
    };

    static std::vector<std::pair<int, int>> scanGroups(const std::vector<ComponentSpec>& comps);
    // A sampler of the picture for one component size and its sampling step.
    using MakeSampler = std::function<AreaSampler(int wc, int hc, int h, int v)>;
    // Called before each band of 8·Vmax picture rows with its first row and
    // row count; false stops the sampling. The picture's pixels are blue,
    // green, red bytes, or with redFirst red, green, blue.
    using LoadBand = std::function<bool(int first, int count)>;
    bool prepareFrame(int width, int height, Frame& frame) const;
    bool sampleComponents(Frame& frame, const MakeSampler& makeSampler, const LoadBand& loadBand,
                          bool redFirst) const;

    int m_quality = 0;
    QString m_comment;
    std::vector<ComponentSpec> m_components;
    int m_hmax = 1, m_vmax = 1;
    Table64 m_qt[2]{};
    std::array<float, 64> m_multipliers[2]{}; // natural order: s(i)·s(j) / q
    Frame m_frame;
    bool m_sampled = false;
};
