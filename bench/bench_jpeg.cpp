// Encoding speed of cJpeg against libjpeg-turbo (float DCT, optimised
// Huffman tables, same quality and sampling), the encoder's peak memory, and
// the greeting's photo read from a 640x480 enrolment photo (whole, or at the
// eighth of its size that covers the picture box).
//
// The 640x480 case: quality 75, sampling 2x2/1x1/1x1, sampling plus
// SaveFile to /dev/shm for cJpeg; compression to a /dev/shm file for
// libjpeg-turbo. Before the benchmarks run, the program encodes a 2000x1500
// picture once and prints the resident memory it took beyond the picture.
#include "imaging/JpegReader.h"
#include "imaging/cImage.h"
#include "imaging/cJpeg.h"
#include "tests/imaging/helpers/PhotoPicture.h"

#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

namespace {

QString shmPath(const char* name) {
    return QStringLiteral("/dev/shm/bench_jpeg_%1_%2.jpg").arg(getpid()).arg(name);
}

void BM_cJpeg(benchmark::State& state) {
    cImage image;
    FillPhotoPicture(image, 640, 480);
    const QString path = shmPath("cjpeg");
    for (auto _ : state) {
        cJpeg jpeg; // quality 75, sampling 2x2, 1x1, 1x1
        jpeg.SampleHDC(image.hDC(), image.Width(), image.Height(), 0, 0);
        QFile::remove(path);
        if (jpeg.SaveFile(path) != cJpeg::SaveOk)
            state.SkipWithError("SaveFile failed");
    }
    state.counters["bytes"] = double(QFile(path).size());
    QFile::remove(path);
}
BENCHMARK(BM_cJpeg)->Unit(benchmark::kMillisecond);

void BM_libjpegTurbo(benchmark::State& state) {
    cImage image;
    FillPhotoPicture(image, 640, 480);
    // libjpeg takes top-down RGB rows.
    std::vector<uchar> rgb(size_t(640) * 480 * 3);
    for (int y = 0; y < 480; ++y) {
        image.ReadRowBGR(y, 0, 640, &rgb[size_t(y) * 640 * 3]);
        for (int x = 0; x < 640; ++x)
            std::swap(rgb[(size_t(y) * 640 + size_t(x)) * 3],
                      rgb[(size_t(y) * 640 + size_t(x)) * 3 + 2]);
    }
    const QByteArray path = shmPath("turbo").toLocal8Bit();
    for (auto _ : state) {
        jpeg_compress_struct cinfo;
        jpeg_error_mgr jerr;
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_compress(&cinfo);
        FILE* file = std::fopen(path.constData(), "wb");
        jpeg_stdio_dest(&cinfo, file);
        cinfo.image_width = 640;
        cinfo.image_height = 480;
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, 75, TRUE);
        cinfo.dct_method = JDCT_FLOAT;
        cinfo.optimize_coding = TRUE;
        cinfo.comp_info[0].h_samp_factor = 2;
        cinfo.comp_info[0].v_samp_factor = 2;
        for (int c = 1; c < 3; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row = &rgb[size_t(cinfo.next_scanline) * 640 * 3];
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        std::fclose(file);
    }
    state.counters["bytes"] = double(QFile(QString::fromLocal8Bit(path)).size());
    QFile::remove(QString::fromLocal8Bit(path));
}
BENCHMARK(BM_libjpegTurbo)->Unit(benchmark::kMillisecond);

// The greeting's photo at every scan: a 640x480 enrolment photo (cJpeg at
// its defaults, as the enrolment saves a camera frame) made the size of the
// sign-in screen's picture box, 295x223. First argument 0: the whole
// picture decoded; 1: decoded at the eighth of its size that covers the box
// (half), as the station does. Second argument 1: then scaled smoothly to the
// box (Qt scales a picture this large on several threads: the wall time is
// the one to read), 0: the decode alone.
void BM_GreetingPhoto(benchmark::State& state) {
    cImage image;
    FillPhotoPicture(image, 640, 480);
    const QString path = shmPath("greeting");
    cJpeg jpeg;
    jpeg.SampleHDC(image.hDC(), image.Width(), image.Height(), 0, 0);
    QFile::remove(path);
    QFile file(path);
    if (jpeg.SaveFile(path) != cJpeg::SaveOk || !file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("photo not made");
        return;
    }
    const QByteArray bytes = file.readAll();
    file.remove();
    const QSize box(295, 223);
    const bool eighths = state.range(0) == 1;
    for (auto _ : state) {
        const std::optional<QImage> read =
            eighths ? JpegReader::Read(bytes, box) : JpegReader::Read(bytes);
        if (!read) {
            state.SkipWithError("photo not read");
            return;
        }
        if (state.range(1))
            benchmark::DoNotOptimize(
                read->scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_GreetingPhoto)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

long residentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Peak resident memory of sampling and saving a 2000x1500 picture, beyond
// the picture itself: with the station's default sampling, then with full
// resolution chrominance (the larger of the two, so measured second from
// the same starting point).
void reportPeakMemory() {
    const int w = 2000, h = 1500;
    cImage image;
    FillPhotoPicture(image, w, h);
    const long before = residentKiB();
    const QString path = shmPath("peak");
    for (int full = 0; full < 2; ++full) {
        {
            cJpeg jpeg;
            if (full)
                jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
            jpeg.SampleHDC(image.hDC(), w, h, 0, 0);
            QFile::remove(path);
            jpeg.SaveFile(path);
        }
        const long after = residentKiB();
        QFile::remove(path);
        std::printf(
            "peak memory for %dx%d (%s) beyond the picture: %.1f MiB = %.2f bytes a pixel\n", w, h,
            full ? "1x1,1x1,1x1" : "2x2,1x1,1x1", (after - before) / 1024.0,
            (after - before) * 1024.0 / (double(w) * h));
    }
}

} // namespace

int main(int argc, char** argv) {
    reportPeakMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
