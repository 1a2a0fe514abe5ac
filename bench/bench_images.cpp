// Picture reader speed: our ILBM and DEGAS readers against libpng reading the same pictures saved as PNG.
// Prints the ratios ILBM / PNG and DEGAS / PNG at the end; the goal is at most 1.
#include "imageio/IlbmImage.h"
#include "imageio/NeoImage.h"
#include "imageio/PngFile.h"

// The test builders of ILBM files are compiled into this program too.
#include "support/PictureTestFiles.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

using tavrik::Image;
using tavrik::PixelFormat;
using tavrik::test::Bytes;

struct BenchPicture {
    Bytes Native; // ILBM or DEGAS file
    Bytes Png;    // the same picture as PNG
};

// Game-like pixels: runs of a colour, gradients and some texture, so that run-length packing works as usual.
uint8_t GameLikeValue(int x, int y, int levels) {
    const int texture = ((x * 7) ^ (y * 13)) % 5 == 0 ? 3 : 0;
    return static_cast<uint8_t>((x / 12 + y / 9 + texture + (x > 160 ? y / 3 : 0)) % levels);
}

Image IndexedPicture(int width, int height, const std::vector<uint8_t>& values, auto colourOf) {
    Image image(width, height, PixelFormat::Indexed8);
    for (int i = 0; i < 256; ++i)
        image.ColourTable[i] = tavrik::EntryFromColour(colourOf(i));
    image.Data() = values;
    return image;
}

Bytes PackedLines(const std::vector<uint8_t>& values, int width, int height, int planes) {
    const Bytes lines = tavrik::test::PlanarLines(values, width, height, planes);
    const size_t lineBytes = lines.size() / height;
    Bytes body;
    for (int y = 0; y < height; ++y) {
        const Bytes packed =
            tavrik::test::ByteRun1(Bytes(lines.begin() + y * lineBytes, lines.begin() + (y + 1) * lineBytes));
        body.insert(body.end(), packed.begin(), packed.end());
    }
    return body;
}

BenchPicture FivePlaneIlbm() {
    const int width = 320, height = 256;
    std::vector<uint8_t> values(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            values[y * width + x] = GameLikeValue(x, y, 32);
    std::vector<uint32_t> colours;
    for (uint32_t i = 0; i < 32; ++i)
        colours.push_back((i * 8 + 1) << 16 | (255 - i * 7) << 8 | (i * 5 + 3));
    tavrik::test::IlbmFile file{width, height, 5, 0, 1, {}};
    file.Chunks = {tavrik::test::Cmap(colours), tavrik::test::IffChunk("BODY", PackedLines(values, width, height, 5))};
    const Image indexed = IndexedPicture(width, height, values, [&](int i) {
        const uint32_t c = colours[i % 32];
        return tavrik::MakeColour(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
    });
    return {tavrik::test::BuildIlbm(file), tavrik::EncodePng(indexed)};
}

BenchPicture Ham8Ilbm() {
    const int width = 640, height = 512;
    std::vector<uint8_t> values(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int control = (x + y / 4) % 4;
            values[y * width + x] = static_cast<uint8_t>(control << 6 | ((x / 3 + y / 2) % 64));
        }
    std::vector<uint32_t> colours;
    for (uint32_t i = 0; i < 64; ++i)
        colours.push_back(i * 4 << 16 | i * 3 << 8 | (255 - i * 4));
    tavrik::test::IlbmFile file{width, height, 8, 0, 1, {}};
    const Bytes camg = {0, 0, 0x08, 0x04};
    file.Chunks = {tavrik::test::Cmap(colours), tavrik::test::IffChunk("CAMG", camg),
                   tavrik::test::IffChunk("BODY", PackedLines(values, width, height, 8))};
    Bytes ilbm = tavrik::test::BuildIlbm(file);
    tavrik::TILBMImage decoded;
    decoded.LoadFromStream(ilbm);
    return {std::move(ilbm), tavrik::EncodePng(decoded)};
}

BenchPicture CompressedDegas() {
    const int width = 320, height = 200;
    std::vector<uint8_t> values(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            values[y * width + x] = GameLikeValue(x, y, 16);
    Bytes planeRows;
    for (int y = 0; y < height; ++y)
        for (int plane = 0; plane < 4; ++plane)
            for (int byte = 0; byte < width / 8; ++byte) {
                uint8_t bits = 0;
                for (int bit = 0; bit < 8; ++bit)
                    if (values[y * width + byte * 8 + bit] >> plane & 1) bits |= uint8_t(0x80 >> bit);
                planeRows.push_back(bits);
            }
    Bytes file = {0x80, 0x00};
    for (int i = 0; i < 16; ++i)
        file.insert(file.end(), {uint8_t(i % 8), uint8_t((7 - i % 8) << 4 | i / 2)});
    const Bytes packed = tavrik::test::ByteRun1(planeRows);
    file.insert(file.end(), packed.begin(), packed.end());
    tavrik::TNEOImage decoded;
    decoded.LoadFromStream(file);
    return {std::move(file), tavrik::EncodePng(decoded)};
}

const BenchPicture& Pictures(int which) {
    static const BenchPicture pictures[] = {FivePlaneIlbm(), Ham8Ilbm(), CompressedDegas()};
    return pictures[which];
}

void ReadIlbm(benchmark::State& state, int which) {
    const Bytes& file = Pictures(which).Native;
    for (auto _ : state) {
        tavrik::TILBMImage image;
        image.LoadFromStream(file);
        benchmark::DoNotOptimize(image.Data().data());
    }
}

void ReadDegas(benchmark::State& state) {
    const Bytes& file = Pictures(2).Native;
    for (auto _ : state) {
        tavrik::TNEOImage image;
        image.AtariFormat = tavrik::TAtariFormat::afDEGASEliteCompressed;
        image.LoadFromStream(file);
        image.ConvertTo(PixelFormat::Rgb24); // as LoadImage hands it on
        benchmark::DoNotOptimize(image.Data().data());
    }
}

void ReadAsPng(benchmark::State& state, int which) {
    const Bytes& file = Pictures(which).Png;
    for (auto _ : state) {
        const Image image = tavrik::ReadPng(file);
        benchmark::DoNotOptimize(image.Data().data());
    }
}

BENCHMARK_CAPTURE(ReadIlbm, ilbm_320x256_5planes_byterun1, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAsPng, png_320x256_5planes_byterun1, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadIlbm, ilbm_640x512_ham8, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAsPng, png_640x512_ham8, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadDegas)->Name("ReadDegas/degas_320x200_compressed")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAsPng, png_320x200_degas, 2)->Unit(benchmark::kMicrosecond);

// Keeps each run's CPU time (steadier than wall time on a busy machine) for the ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            Times[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio(const char* label, const std::string& ours, const std::string& png) const {
        const auto a = Times.find(ours), b = Times.find(png);
        if (a == Times.end() || b == Times.end() || b->second <= 0) return;
        std::printf("%-34s %.2f%s\n", label, a->second / b->second,
                    a->second <= b->second ? "" : "  (slower than libpng)");
    }

  private:
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatio of our reader's time to libpng's on the same picture (goal: at most 1)\n");
    reporter.PrintRatio("ILBM 320x256 5 planes / PNG", "ReadIlbm/ilbm_320x256_5planes_byterun1",
                        "ReadAsPng/png_320x256_5planes_byterun1");
    reporter.PrintRatio("ILBM 640x512 HAM8 / PNG", "ReadIlbm/ilbm_640x512_ham8", "ReadAsPng/png_640x512_ham8");
    reporter.PrintRatio("DEGAS 320x200 compressed / PNG", "ReadDegas/degas_320x200_compressed",
                        "ReadAsPng/png_320x200_degas");
    benchmark::Shutdown();
    return 0;
}
