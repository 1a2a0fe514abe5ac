// Map drawing speed: every map key redraws the whole map, so a large map must cost only a few memory copies
// of its image. A 256 x 256 "Word" map of 16 x 16 tiles (a 4096 x 4096 image) beside a memcpy of as many bytes.
#include "map/MapRenderer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using namespace tavrik;

constexpr int32_t MapSide = 256;
constexpr int32_t TileSide = 16;
constexpr uint16_t FlipXBit = 0x4000;
constexpr uint16_t FlipYBit = 0x8000;

struct BenchMap {
    std::vector<uint8_t> Memory;
    Image Sheet{320, 256, PixelFormat::Indexed8};
    TMapVariables Map = NewMapVariables(1);
    Image MapImage;
    MapDrawContext Context;

    BenchMap() {
        std::mt19937 random(11);
        for (uint8_t& pixel : Sheet.Data())
            pixel = static_cast<uint8_t>(random() % 32);
        const int32_t tileCount = (320 / TileSide) * (256 / TileSide);
        // Tile numbers as big-endian words; every third cell mirrored both ways.
        for (int32_t cell = 0; cell < MapSide * MapSide; ++cell) {
            uint16_t value = static_cast<uint16_t>(random() % tileCount);
            if (cell % 3 == 0) value |= FlipXBit | FlipYBit;
            Memory.push_back(static_cast<uint8_t>(value >> 8));
            Memory.push_back(static_cast<uint8_t>(value));
        }
        Map.MemoryType = static_cast<int32_t>(MapMemoryType::Word);
        Map.WidthInTiles = MapSide;
        Map.HeightInTiles = MapSide;
        Map.Mask = -1;
        Map.FlipXMask = FlipXBit;
        Map.FlipYMask = FlipYBit;
        Map.MapTileWidth = TileSide;
        Map.MapTileHeight = TileSide;
        Map.TilesPerBlockAcross = 1;
        Map.TilesPerBlockDown = 1;
        Context.MemoryImage = Memory;
        Context.TileSource = &Sheet;
        Context.TileCount = tileCount;
        Context.Bitplanes = 5;
        Context.Options.FlipXEnabled = true;
        Context.Options.FlipYEnabled = true;
    }
};

void BM_DrawMap(benchmark::State& state) {
    BenchMap bench;
    for (auto _ : state) {
        const MapDrawOutcome outcome = DrawMap(bench.Map, bench.MapImage, bench.Context);
        benchmark::DoNotOptimize(outcome.MissingCount);
        benchmark::DoNotOptimize(bench.MapImage.Data().data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bench.MapImage.Data().size()));
}
BENCHMARK(BM_DrawMap)->Unit(benchmark::kMillisecond);

// The yardstick: one copy of the map image's bytes.
void BM_MemcpyMapImage(benchmark::State& state) {
    const size_t size = static_cast<size_t>(MapSide * TileSide) * static_cast<size_t>(MapSide * TileSide);
    std::vector<uint8_t> source(size, 1);
    std::vector<uint8_t> target(size, 0);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_MemcpyMapImage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
