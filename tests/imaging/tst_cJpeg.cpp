// File layout, tables, settings and failure results of the JPEG encoder, its
// store of symbols, and the jpegenc command.
#include "imaging/JpegSymbolStore.h"
#include "imaging/cImage.h"
#include "imaging/cJpeg.h"
#include "tests/common/TestProgramDir.h"
#include "tests/imaging/helpers/JpegCheck.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

namespace {

using namespace JpegCheck;

struct Segment {
    int marker = 0;
    QByteArray payload; // without the length bytes
};

// Splits a JPEG file into its marker segments. The entropy-coded data after
// an SOS header is skipped: it ends at the first 0xFF not followed by 0x00.
// Scan data ranges are returned in scans.
QList<Segment> parse(const QByteArray& data, QList<QByteArray>* scans = nullptr) {
    QList<Segment> segments;
    qsizetype i = 0;
    while (i + 1 < data.size()) {
        if (uchar(data[i]) != 0xFF)
            return {};
        Segment s;
        s.marker = uchar(data[i + 1]);
        i += 2;
        if (s.marker != 0xD8 && s.marker != 0xD9) {
            if (i + 2 > data.size())
                return {};
            const int length = (uchar(data[i]) << 8) | uchar(data[i + 1]);
            s.payload = data.mid(i + 2, length - 2);
            i += length;
        }
        segments << s;
        if (s.marker == 0xDA) {
            const qsizetype start = i;
            while (i + 1 < data.size() && !(uchar(data[i]) == 0xFF && uchar(data[i + 1]) != 0))
                ++i;
            if (scans)
                *scans << data.mid(start, i - start);
        }
    }
    return segments;
}

QList<Segment> withMarker(const QList<Segment>& segments, int marker) {
    QList<Segment> list;
    for (const Segment& s : segments)
        if (s.marker == marker)
            list << s;
    return list;
}

// 64 table entries written out, the rest of them `fill`.
QList<int> table(const char* entries, int fill = 0) {
    QList<int> list;
    for (const QByteArray& e : QByteArray(entries).split(' '))
        list << e.toInt();
    return list + QList<int>(64 - list.size(), fill);
}

// The number and message of the cJpegError `call` raises; empty when it raises none.
template <typename Call> QString errorOf(Call call) {
    try {
        call();
    } catch (const cJpegError& e) {
        return QStringLiteral("%1 %2").arg(e.Number()).arg(QLatin1String(e.what()));
    }
    return QString();
}

QList<int> bytes(const QByteArray& data) {
    QList<int> list;
    for (char c : data)
        list << uchar(c);
    return list;
}

} // namespace

class tst_cJpeg : public QObject {
    Q_OBJECT

private:
    QByteArray encode(cJpeg& jpeg, const cImage& image) {
        if (jpeg.SampleHDC(image.hDC(), image.Width(), image.Height(), 0, 0) != 0)
            return {};
        m_last = m_dir->filePath(QStringLiteral("f%1.jpg").arg(++m_fileNumber));
        return jpeg.SaveFile(m_last) == cJpeg::SaveOk ? readFile(m_last) : QByteArray();
    }
    // Whether djpeg decodes the file encode() wrote last without a warning.
    bool lastDecodes() {
        QString message;
        return Djpeg(m_last, nullptr, &message) || (qWarning("%s", qPrintable(message)), false);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_fileNumber = 0;
    QString m_last;

private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable("djpeg").isEmpty(),
                 "djpeg not found: install libjpeg-turbo-progs (scripts/install-deps.sh)");
    }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void quantisationTables_data() {
        QTest::addColumn<int>("asked");
        QTest::addColumn<QList<int>>("luminance");
        QTest::addColumn<QList<int>>("chrominance");
        // Quality 75: scale 50; halves round to even (16 → 8.5 → 8, 14 → 7.5 → 8).
        const QList<int> luminance75 =
            table("8 6 6 8 6 6 8 8 7 8 10 9 8 10 12 20 14 12 12 12 12 25 18 19 15 20 30 26 31 30 "
                  "29 26 28 28 32 36 46 40 32 34 44 35 28 28 40 55 41 44 48 50 52 52 52 32 39 57 "
                  "61 56 50 60 46 51 52 50");
        const QList<int> chrominance75 = table("9 10 10 12 11 12 24 14 14 24 50 34 28 34", 50);
        QTest::newRow("75") << 75 << luminance75 << chrominance75;
        // A quality outside 1 to 100 is ignored: the default 75 stays.
        for (int asked : {0, 101, -5})
            QTest::addRow("%d ignored", asked) << asked << luminance75 << chrominance75;
        // Quality 30: scale 5000 / 30 = 166.67 → 167.
        QTest::newRow("30") << 30
                            << table("27 19 21 24 21 17 27 24 22 24 31 29 27 32 41 67 44 41 37 37 "
                                     "41 82 59 62 49 67 97 86 102 101 96 86 94 92 107 121 154 131 "
                                     "107 114 146 116 92 94 134 183 136 146 159 164 173 174 173 "
                                     "104 129 189 203 188 168 201 154 169 173 166")
                            << table("29 31 31 41 36 41 79 44 44 79 166 111 94 111", 166);
        // Quality 100: scale 0, every entry raised to 1; quality 1: every entry limited to 255.
        QTest::newRow("100") << 100 << QList<int>(64, 1) << QList<int>(64, 1);
        QTest::newRow("1") << 1 << QList<int>(64, 255) << QList<int>(64, 255);
    }

    void quantisationTables() {
        QFETCH(int, asked);
        QFETCH(QList<int>, luminance);
        QFETCH(QList<int>, chrominance);
        auto image = TestPicture(16, 16);
        cJpeg jpeg;
        jpeg.setQuality(asked);
        const QList<Segment> dqt = withMarker(parse(encode(jpeg, *image)), 0xDB);
        QCOMPARE(dqt.size(), 2);
        QCOMPARE(bytes(dqt[0].payload), QList<int>{0x00} + luminance);
        QCOMPARE(bytes(dqt[1].payload), QList<int>{0x01} + chrominance);
    }

    void samplingErrorsKeepStructure() {
        auto image = TestPicture(24, 24);
        cJpeg jpeg;
        jpeg.SetSamplingFrequencies(1, 2, 1, 1, 1, 1);
        const QList<QList<int>> bad = {{5, 1, 1, 1, 1, 1}, {0, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 5},
                                       {1, 1, 0, 0, 0, 1}, {1, 1, 1, 0, 0, 0}, {1, -1, 0, 0, 0, 0}};
        for (const QList<int>& f : bad)
            QCOMPARE(
                errorOf([&] { jpeg.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]); }),
                QStringLiteral("1 Invalid Sampling Value"));
        const QList<Segment> sof = withMarker(parse(encode(jpeg, *image)), 0xC0);
        QCOMPARE(sof.size(), 1);
        // Precision, height, width, 3 components: (1, 1×2, table 0), (2, 1×1, 1), (3, 1×1, 1).
        QCOMPARE(bytes(sof[0].payload),
                 (QList<int>{8, 0, 24, 0, 24, 3, 1, 0x12, 0, 2, 0x11, 1, 3, 0x11, 1}));
    }

    void markerOrderAndHeaders() {
        auto image = TestPicture(17, 33);
        cJpeg jpeg;
        jpeg.setComment(QStringLiteral("Employee 0042"));
        const QByteArray file = encode(jpeg, *image);
        const QList<Segment> segments = parse(file); // starts with SOI: the file's first bytes
        QList<int> markers;
        for (const Segment& s : segments)
            markers << s.marker;
        QCOMPARE(markers, (QList<int>{0xD8, 0xE0, 0xFE, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4,
                                      0xC4, 0xDA, 0xD9}));
        // APP0: JFIF 1.01, aspect ratio 1:1, no thumbnail; 18 bytes with marker.
        QCOMPARE(file.mid(2, 18),
                 QByteArray("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18));
        QCOMPARE(segments[2].payload, QByteArray("Employee 0042"));
        QVERIFY(segments[3].payload.startsWith("JPEG Encoder Class\r\n")); // the credit
        // DHT order: DC 0, AC 0, DC 1, AC 1.
        QList<int> classes;
        for (const Segment& s : withMarker(segments, 0xC4))
            classes << uchar(s.payload[0]);
        QCOMPARE(classes, (QList<int>{0x00, 0x10, 0x01, 0x11}));
        // One interleaved scan: Y with tables 0, Cb and Cr with tables 1.
        QCOMPARE(bytes(withMarker(segments, 0xDA)[0].payload),
                 (QList<int>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));
        QCOMPARE(bytes(withMarker(segments, 0xC0)[0].payload),
                 (QList<int>{8, 0, 33, 0, 17, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));

        // Without a user comment only the credit comment is written.
        jpeg.setComment(QString());
        QCOMPARE(withMarker(parse(encode(jpeg, *image)), 0xFE).size(), 1);
    }

    void huffmanTablesHoldEachSymbolOnce() {
        // djpeg refuses tables that are no prefix code or use the all-ones code
        // (tst_cJpegDecode), but not a symbol given two codes.
        for (int quality : {1, 75, 100}) {
            auto image = TestPicture(64, 48);
            cJpeg jpeg;
            jpeg.setQuality(quality);
            for (const Segment& s : withMarker(parse(encode(jpeg, *image)), 0xC4)) {
                const QList<int> symbols = bytes(s.payload.mid(17));
                QCOMPARE(QSet<int>(symbols.begin(), symbols.end()).size(), symbols.size());
            }
        }
    }

    void commentLimits() {
        auto image = TestPicture(8, 8);
        cJpeg jpeg;
        jpeg.setComment(QStringLiteral("keep"));
        for (int length : {65534, 65535, 65536}) {
            QCOMPARE(errorOf([&] { jpeg.setComment(QString(length, QLatin1Char('x'))); }),
                     QStringLiteral("1 Illegal Comment Length"));
            QCOMPARE(jpeg.Comment(), QStringLiteral("keep"));
        }
        // The longest comment fills the 16-bit segment length exactly.
        jpeg.setComment(QString(cJpeg::MaxCommentLength, QLatin1Char('y')));
        const QByteArray file = encode(jpeg, *image);
        QCOMPARE(file.mid(20, 4), QByteArray("\xFF\xFE\xFF\xFF", 4));
        QVERIFY(lastDecodes());
        // One byte per character; characters beyond one byte become '?'.
        jpeg.setComment(QStringLiteral("A\u00E9\u4E2D"));
        QCOMPARE(withMarker(parse(encode(jpeg, *image)), 0xFE)[0].payload, QByteArray("A\xE9?"));
    }

    void saveFileResults() {
        auto image = TestPicture(9, 9);
        cJpeg jpeg;
        const QString path = m_dir->filePath(QStringLiteral("photo.jpg"));
        QCOMPARE(jpeg.SaveFile(path), qint32(cJpeg::SaveNotWritten)); // nothing sampled yet
        QVERIFY(!QFile::exists(path));
        QCOMPARE(jpeg.SampleHDC(image->hDC(), 9, 9, 0, 0), 0);
        QCOMPARE(jpeg.SaveFile(QString()), qint32(cJpeg::SaveEmptyName));

        // An existing file is never overwritten.
        QVERIFY(writeFile(path, "old contents"));
        QCOMPARE(jpeg.SaveFile(path), qint32(cJpeg::SaveFileExists));
        QCOMPARE(readFile(path), QByteArray("old contents"));
        QCOMPARE(jpeg.SaveFile(m_dir->path()), qint32(cJpeg::SaveFileExists));

        // A folder that does not exist: nothing written, nothing left behind.
        const QString missing = m_dir->filePath(QStringLiteral("no/such/folder/photo.jpg"));
        QCOMPARE(jpeg.SaveFile(missing), qint32(cJpeg::SaveNotWritten));
        QVERIFY(!QFile::exists(missing));
    }

    void samplesStayUntilTheNextSampling() {
        // Failed samplings and later settings leave the samples, and the tables
        // and structure their coefficients were made with.
        auto image = TestPicture(20, 10);
        cJpeg jpeg;
        jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
        const QByteArray expected = encode(jpeg, *image);
        QCOMPARE(jpeg.SampleHDC(nullptr, 20, 10, 0, 0), 1);
        // Empty, negative, outside the picture, or beyond any size: {w, h, left, top}.
        for (const auto& [w, h, left, top] : {std::array{0, 10, 0, 0},
                                              {20, -3, 0, 0},
                                              {20, 10, 1, 0},
                                              {5, 5, 0, 6},
                                              {5, 5, -1, 0},
                                              {0x7FFFFFFF, 0x7FFFFFFF, 0, 0}})
            QCOMPARE(jpeg.SampleHDC(image->hDC(), w, h, left, top), 1);
        jpeg.setQuality(10);
        jpeg.SetSamplingFrequencies(2, 1, 0, 0, 0, 0);
        const QString path = m_dir->filePath(QStringLiteral("kept.jpg"));
        QCOMPARE(jpeg.SaveFile(path), qint32(cJpeg::SaveOk));
        QCOMPARE(readFile(path), expected);
    }

    void entropyDataIsStuffed() {
        // Pixels of extreme values at quality 100 give long codes and many 0xFF bytes.
        cImage image;
        QVERIFY(image.Create(96, 64, 24));
        QRandomGenerator random(7);
        std::vector<uchar> row(96 * 3);
        for (int y = 0; y < 64; ++y) {
            for (uchar& b : row)
                b = random.bounded(2) ? 255 : 0;
            image.WriteRowBGR(y, 0, 96, row.data());
        }
        for (int sampling : {0, 1}) {
            cJpeg jpeg;
            jpeg.setQuality(100);
            if (sampling)
                jpeg.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
            const QByteArray file = encode(jpeg, image);
            QList<QByteArray> scans;
            parse(file, &scans);
            // The only 0xFF in the scan not followed by 0x00 is the EOI marker.
            QCOMPARE(scans.size(), 1);
            QVERIFY(file.endsWith(scans[0] + QByteArray("\xFF\xD9")));
            QVERIFY2(scans[0].count(QByteArray("\xFF\x00", 2)) > 10, "no stuffed byte produced");
            QVERIFY(lastDecodes());
        }
    }

    void edgesRepeatIntoPaddingAndUnits() {
        // A picture smaller than its blocks or units codes exactly like a larger
        // picture that repeats its last column and row: the padding and the whole
        // units of the interleaved scan repeat the edge samples.
        const auto repeatEdges = [](const cImage& image, int w, int h) {
            auto out = std::make_unique<cImage>();
            out->Create(w, h, 24);
            std::vector<uchar> row(size_t(w) * 3);
            for (int y = 0; y < h; ++y) {
                image.ReadRowBGR(std::min(y, image.Height() - 1), 0, image.Width(), row.data());
                for (int x = image.Width(); x < w; ++x)
                    std::copy_n(&row[3 * size_t(image.Width() - 1)], 3, &row[3 * size_t(x)]);
                out->WriteRowBGR(y, 0, w, row.data());
            }
            return out;
        };
        for (int size : {1, 8, 13}) {
            // The last two columns and rows are equal, so that the 2×2 chrominance
            // means at the edge are those of the edge pixels.
            auto base = TestPicture(std::max(1, size - 1), std::max(1, size - 1));
            auto image = repeatEdges(*base, size, size);
            for (bool grey : {false, true}) {
                const int padded = grey ? (size + 7) / 8 * 8 : 16;
                auto larger = repeatEdges(*image, padded, padded);
                cJpeg jpeg;
                jpeg.setQuality(100);
                if (grey)
                    jpeg.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
                QList<QByteArray> small, large;
                parse(encode(jpeg, *image), &small);
                parse(encode(jpeg, *larger), &large);
                QCOMPARE(small.size(), 1);
                QVERIFY2(small == large, qPrintable(QStringLiteral("size %1").arg(size)));
            }
        }
    }

    void symbolStoreReadsBackThroughTheFile() {
        // Pieces of 7 bytes, two in memory: most of them go to the temporary file.
        JpegSymbolStore store(7, 2);
        const auto symbolOf = [](int i) { return (i * 37) & 0xFF; };
        const auto extraOf = [](int i, int nbits) {
            return nbits ? quint32(i * 2654435761u) >> (32 - nbits) : 0u;
        };
        for (int i = 0; i < 1000; ++i)
            store.Put(symbolOf(i), extraOf(i, i % 17), i % 17);
        QVERIFY(store.Ok());
        for (int pass = 0; pass < 2; ++pass) { // read any number of times
            JpegSymbolStore::Reader in(store);
            for (int i = 0; i < 1000; ++i) {
                QCOMPARE(in.Symbol(), symbolOf(i));
                QCOMPARE(in.Extra(i % 17), extraOf(i, i % 17));
            }
            QVERIFY(in.Ok());
        }
    }

    void jpegencCommand() {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(qRgb(200, 100, 50));
        const QString in = m_dir->filePath(QStringLiteral("in.png"));
        QVERIFY(picture.save(in));
        const auto run = [](const QStringList& args) { return Jpegenc(args).code; };
        const QString grey = m_dir->filePath(QStringLiteral("grey.jpg"));
        QCOMPARE(run({in, grey, "-q", "30", "-s", "1x1,0x0,0x0", "-c", "hi"}), 0);
        const QByteArray written = readFile(grey);
        const QList<Segment> segments = parse(written);
        QCOMPARE(int(uchar(withMarker(segments, 0xC0)[0].payload[5])), 1);
        QCOMPARE(withMarker(segments, 0xFE)[0].payload, QByteArray("hi"));
        QCOMPARE(int(uchar(withMarker(segments, 0xDB)[0].payload[1])), 27);

        // An existing output stays untouched; bad sampling and missing input fail.
        QCOMPARE(run({in, grey}), 1);
        QCOMPARE(readFile(grey), written);
        const QString out = m_dir->filePath(QStringLiteral("out.jpg"));
        QCOMPARE(run({in, out, "-s", "5x1,1x1,1x1"}), 1);
        QCOMPARE(run({m_dir->filePath(QStringLiteral("none.png")), out}), 1);
        QCOMPARE(run({in, m_dir->filePath(QStringLiteral("missing/out.jpg"))}), 1);
        QCOMPARE(run({in}), 1);
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_GUILESS_MAIN(tst_cJpeg)
#include "tst_cJpeg.moc"
