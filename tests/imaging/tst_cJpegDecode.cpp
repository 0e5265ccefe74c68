// Files of the JPEG encoder decode with libjpeg-turbo and with Qt's reader
// at many sizes, samplings and qualities, and match libjpeg-turbo's own
// encoder in quality and size.
#include "imaging/cImage.h"
#include "imaging/cJpeg.h"
#include "tests/imaging/helpers/JpegCheck.h"
#include "tests/imaging/helpers/PhotoPicture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

using namespace JpegCheck;

struct Sampling {
    int f[6];
    QString name() const {
        return f[2] == 0
                   ? QStringLiteral("grey")
                   : QString::asprintf("%dx%d,%dx%d,%dx%d", f[0], f[1], f[2], f[3], f[4], f[5]);
    }
};

// Every combination of factors 1 and 2 for the three components, then for
// grey files (chrominance factors 0).
QList<Sampling> allSamplings() {
    QList<Sampling> list;
    for (int m = 0; m < 64 + 4; ++m) {
        Sampling s;
        for (int k = 0; k < 6; ++k)
            s.f[k] = m >= 64 && k >= 2 ? 0 : 1 + ((m >> k) & 1);
        list << s;
    }
    return list;
}

// Peak signal-to-noise ratio of a decoded picture against the source (for
// grey files against the source's luminance).
double psnr(const cImage& source, const QImage& decoded) {
    double sum = 0;
    const int w = source.Width(), h = source.Height();
    const bool grey = decoded.format() == QImage::Format_Grayscale8;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = source.PixelAt(x, y), d = decoded.pixel(x, y);
            if (grey) {
                const double luma = 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
                sum += std::pow(luma - qGray(d), 2);
            } else {
                sum += std::pow(qRed(c) - qRed(d), 2) + std::pow(qGreen(c) - qGreen(d), 2) +
                       std::pow(qBlue(c) - qBlue(d), 2);
            }
        }
    const double mse = sum / (double(w) * h * (grey ? 1 : 3));
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

bool writePpm(const cImage& image, const QString& path) {
    QImage ppm(image.Width(), image.Height(), QImage::Format_RGB32);
    image.PaintHDC(ppm, 0, 0);
    return ppm.convertToFormat(QImage::Format_RGB888).save(path, "PPM");
}

// Equal factors all stand for full resolution.
bool allEqual(const Sampling& s) {
    return s.f[0] == s.f[2] && s.f[2] == s.f[4] && s.f[1] == s.f[3] && s.f[3] == s.f[5];
}

// The same picture through libjpeg-turbo's encoder (float DCT, optimised
// tables, same quality and sampling), written to ppm + ".ref.jpg", and decoder.
bool libjpegTurbo(const QString& ppm, const Sampling& s, int quality, QImage* out,
                  QString* message) {
    const QString jpg = ppm + QStringLiteral(".ref.jpg");
    QFile::remove(jpg);
    QStringList args = {"-quality", QString::number(quality), "-dct", "float", "-optimize"};
    args << (s.f[2] == 0 ? QStringList{"-grayscale"}
                         : QStringList{"-sample", allEqual(s) ? "1x1,1x1,1x1" : s.name()});
    // libjpeg-turbo interleaves at most 10 blocks a unit; beyond that each
    // component gets a scan of its own (the scans do not change the picture).
    if (s.f[2] != 0 && !allEqual(s) && s.f[0] * s.f[1] + s.f[2] * s.f[3] + s.f[4] * s.f[5] > 10) {
        const QString scans = ppm + QStringLiteral(".scans");
        if (!writeFile(scans, "0;\n1;\n2;\n"))
            return false;
        args << "-scans" << scans;
    }
    const ToolRun r = RunTool("cjpeg", args << "-outfile" << jpg << ppm, 120000);
    if (r.code != 0) {
        *message = QStringLiteral("cjpeg failed: ") + r.err;
        return false;
    }
    return Djpeg(jpg, out, message);
}

} // namespace

Q_DECLARE_METATYPE(Sampling)

class tst_cJpegDecode : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNumber = 0;

private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable("djpeg").isEmpty() &&
                     !QStandardPaths::findExecutable("cjpeg").isEmpty(),
                 "djpeg/cjpeg not found: install libjpeg-turbo-progs (scripts/install-deps.sh)");
        QVERIFY(m_dir.isValid());
    }

    void decodes_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<Sampling>>("samplings");
        QTest::addColumn<QList<int>>("qualities");
        QTest::addColumn<bool>("photo"); // a photo-like picture, held to libjpeg-turbo closely
        const QList<int> all = {1, 30, 75, 100};
        const QList<Sampling> every = allSamplings();
        for (const auto& [w, h] :
             QList<std::pair<int, int>>{{1, 1}, {7, 9}, {8, 8}, {13, 13}, {16, 16}, {17, 33}})
            QTest::addRow("%dx%d", w, h) << w << h << every << all << false;
        // The large sizes: every sampling at quality 75, a few at every quality.
        const QList<Sampling> few = {
            {{2, 2, 1, 1, 1, 1}}, {{1, 1, 1, 1, 1, 1}}, {{1, 1, 0, 0, 0, 0}}};
        QTest::addRow("640x480 all samplings") << 640 << 480 << every << QList<int>{75} << false;
        QTest::addRow("640x480 all qualities") << 640 << 480 << few << all << false;
        QTest::addRow("2000x1500")
            << 2000 << 1500 << QList<Sampling>{{{2, 2, 1, 1, 1, 1}}, {{1, 2, 2, 1, 1, 1}}}
            << QList<int>{1, 100} << false;
        QTest::addRow("2000x1500 grey")
            << 2000 << 1500 << QList<Sampling>{{{1, 1, 0, 0, 0, 0}}} << QList<int>{30} << false;
        // Factors up to 4, where a unit may need scans of their own.
        const QList<Sampling> large = {{{4, 4, 1, 1, 1, 1}}, {{4, 1, 2, 1, 1, 1}},
                                       {{1, 4, 1, 2, 1, 1}}, {{3, 3, 1, 1, 1, 1}},
                                       {{2, 2, 2, 2, 1, 1}}, {{1, 1, 4, 4, 2, 2}}};
        for (const auto& [w, h] : QList<std::pair<int, int>>{{13, 13}, {17, 33}, {640, 480}})
            QTest::addRow("%dx%d factors up to 4", w, h)
                << w << h << large << QList<int>{30, 75} << false;
        // At quality 75 on a photo-like picture the decoded picture is at most
        // 0.3 dB worse than libjpeg-turbo's and the file at most 3% larger.
        QTest::addRow("640x480 photo") << 640 << 480 << few << QList<int>{75} << true;
    }

    void decodes() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QList<Sampling>, samplings);
        QFETCH(QList<int>, qualities);
        QFETCH(bool, photo);
        auto image = photo ? std::make_unique<cImage>() : TestPicture(width, height);
        QVERIFY(image && (!photo || FillPhotoPicture(*image, width, height)));
        const QString source = m_dir.filePath(QStringLiteral("source.ppm"));
        QVERIFY(writePpm(*image, source));
        for (const Sampling& s : samplings) {
            cJpeg jpeg;
            jpeg.SetSamplingFrequencies(s.f[0], s.f[1], s.f[2], s.f[3], s.f[4], s.f[5]);
            for (int quality : qualities) {
                const QString what = QStringLiteral("%1 q%2").arg(s.name()).arg(quality);
                jpeg.setQuality(quality);
                QCOMPARE(jpeg.SampleHDC(image->hDC(), width, height, 0, 0), 0);
                const QString path = m_dir.filePath(QStringLiteral("d%1.jpg").arg(++m_fileNumber));
                QCOMPARE(jpeg.SaveFile(path), qint32(cJpeg::SaveOk));

                QImage decoded;
                QString message;
                QVERIFY2(Djpeg(path, &decoded, &message), qPrintable(what + ": " + message));
                QCOMPARE(decoded.size(), QSize(width, height));
                QCOMPARE(decoded.format() == QImage::Format_Grayscale8, s.f[2] == 0);
                // The picture itself must come back, about as well as libjpeg-turbo brings it.
                if (quality >= 75) {
                    QImage reference;
                    QVERIFY2(libjpegTurbo(source, s, quality, &reference, &message),
                             qPrintable(message));
                    const double ours = psnr(*image, decoded), theirs = psnr(*image, reference);
                    const qint64 size = QFileInfo(path).size(),
                                 theirSize = QFileInfo(source + ".ref.jpg").size();
                    QVERIFY2(ours >= theirs - (photo ? 0.3 : 1.0) &&
                                 (!photo || double(size) <= 1.03 * double(theirSize)),
                             qPrintable(what + QStringLiteral(": PSNR %1 dB, size %2 bytes, "
                                                              "libjpeg-turbo %3 dB, %4 bytes")
                                                   .arg(ours)
                                                   .arg(size)
                                                   .arg(theirs)
                                                   .arg(theirSize)));
                }

                const QImage qt(path);
                QVERIFY2(!qt.isNull(), qPrintable(what + ": Qt cannot read it"));
                QCOMPARE(qt.size(), QSize(width, height));
                QFile::remove(path);
            }
        }
    }

    // The sampled rectangle is the one asked for, and 1-bit bitmaps are read
    // through their colour tables (8-bit ones: tst_PictureFileReader).
    void samplesRectanglesAndIndexedPictures() {
        auto image = TestPicture(64, 48);
        cImage part;
        QVERIFY(part.CopyHDC(image->hDC(), 24, 16, 24, 20, 10));
        cImage mono;
        QVERIFY(mono.CopyHDC(image->hDC(), 64, 48, 1));
        struct Case {
            const cImage* surface;
            int left, top, w, h;
            const cImage* expected;
        };
        for (const Case& c :
             {Case{image.get(), 20, 10, 24, 16, &part}, Case{&mono, 0, 0, 64, 48, &mono}}) {
            cJpeg jpeg;
            jpeg.setQuality(100);
            jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
            QCOMPARE(jpeg.SampleHDC(c.surface->hDC(), c.w, c.h, c.left, c.top), 0);
            const QString path = m_dir.filePath(QStringLiteral("r%1.jpg").arg(++m_fileNumber));
            QCOMPARE(jpeg.SaveFile(path), qint32(cJpeg::SaveOk));
            QImage decoded;
            QString message;
            QVERIFY2(Djpeg(path, &decoded, &message), qPrintable(message));
            QCOMPARE(decoded.width(), c.w);
            const double p = psnr(*c.expected, decoded);
            QVERIFY2(p > 40.0, qPrintable(QStringLiteral("PSNR %1 dB").arg(p)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_cJpegDecode)
#include "tst_cJpegDecode.moc"
