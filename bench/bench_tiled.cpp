// Unique-tile de-duplication speed for the Tiled export: a 256 x 256 map of 16 x 16 tiles, once over a
// 320 x 256 sheet of 320 tiles of which half are mirror images of the other half (the common case), and
// once over a sheet of 65536 tiles, each shown by one cell (every tile hashed in all four orientations).
#include "tiled/UniqueTiles.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace tavrik;

constexpr int32_t MapSide = 256;
constexpr int32_t TileSide = 16;

TiledTileset RandomTileset(int32_t columns, int32_t rows, std::mt19937& random) {
    TiledTileset tileset;
    tileset.TileWidth = tileset.TileHeight = TileSide;
    tileset.Columns = columns;
    tileset.TileCount = columns * rows;
    tileset.Sheet.Reset(columns * TileSide, rows * TileSide, PixelFormat::Indexed8);
    for (uint8_t& pixel : tileset.Sheet.Data())
        pixel = static_cast<uint8_t>(random() % 32);
    return tileset;
}

// The lower half of the sheet's tiles mirror the upper half's, left to right and upside down.
void MirrorLowerHalf(TiledTileset& tileset) {
    Image& sheet = tileset.Sheet;
    const int32_t half = sheet.Height() / 2;
    for (int32_t y = 0; y < half; ++y)
        for (int32_t x = 0; x < sheet.Width(); ++x)
            sheet.Row(half + y)[x] = sheet.Row((y / TileSide) * TileSide + TileSide - 1 -
                                               y % TileSide)[(x / TileSide) * TileSide + TileSide - 1 - x % TileSide];
}

TiledMap BenchMap(TiledTileset tileset, bool cellPerTile, std::mt19937& random) {
    TiledMap map;
    map.Width = map.Height = MapSide;
    for (uint32_t cell = 0; cell < MapSide * MapSide; ++cell) {
        const uint32_t tile = cellPerTile ? cell : static_cast<uint32_t>(random() % tileset.TileCount);
        map.Gids.push_back(TileGid(tile, static_cast<uint8_t>(cell % 4)));
    }
    map.Tileset = std::move(tileset);
    return map;
}

void BM_UniqueTilesOfMirroredSheet(benchmark::State& state) {
    std::mt19937 random(16);
    TiledTileset tileset = RandomTileset(20, 16, random);
    MirrorLowerHalf(tileset);
    const TiledMap map = BenchMap(std::move(tileset), false, random);
    int32_t kept = 0;
    for (auto _ : state)
        kept = UniqueTiles(map).Tileset.TileCount;
    state.counters["kept"] = kept;
}
BENCHMARK(BM_UniqueTilesOfMirroredSheet)->Unit(benchmark::kMillisecond);

void BM_UniqueTilesOfACellPerTile(benchmark::State& state) {
    std::mt19937 random(17);
    const TiledMap map = BenchMap(RandomTileset(MapSide, MapSide, random), true, random);
    int32_t kept = 0;
    for (auto _ : state)
        kept = UniqueTiles(map).Tileset.TileCount;
    state.counters["kept"] = kept;
}
BENCHMARK(BM_UniqueTilesOfACellPerTile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
