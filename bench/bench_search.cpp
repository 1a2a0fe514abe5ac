// Map search speed, the product's versions beside the literal ones in tests/support, on the jobs the user
// waits for. (a) Tile matching that finds nothing: a 320 x 256 selection of one colour against 320 tiles of
// 16 x 16 that each differ from it only in their last pixel, so every literal comparison runs to the end,
// through all three flip levels. (b) The whole table with "Search for longword matches" on a 2 MB and a
// 16 MB memory image holding a 40 x 32 word map stored column by column with every tile number plus 16,
// which only the fuzzy vertical word step finds, searched with a 10 x 6 grid. (c) 8 MB of zero bytes
// searched with longwords for grids of repeated tile numbers, where every position is a candidate.
// (d) What "Search while selecting" runs each time the selection rests: Match Tiles on a 160 x 96 selection
// of a screenshot composed of a tile sheet's tiles, then the search of a 2 MB memory image for the grid
// found, the level stored either as bytes row by row or as words column by column plus 16 (whose low bytes
// the byte steps find, one byte after the word).
// Each search reports the most memory it held at once ("peakMB") beside its time.
#include "search/MapSearch.h"
#include "search/TileMatcher.h"
#include "support/SearchInputs.h"
#include "support/SearchReference.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <stdexcept>

// Every allocation of the program counted, so a benchmark can report the most memory its work held at once.
namespace {
std::atomic<int64_t> HeldBytes{0};
std::atomic<int64_t> PeakBytes{0};
} // namespace

// Not inlined, so the compiler does not pair a caller's new with the free inside delete.
[[gnu::noinline]] void* operator new(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    const int64_t held = HeldBytes += static_cast<int64_t>(malloc_usable_size(block));
    for (int64_t peak = PeakBytes; held > peak && !PeakBytes.compare_exchange_weak(peak, held);) {
    }
    return block;
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    HeldBytes -= static_cast<int64_t>(malloc_usable_size(block));
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace {

using namespace tavrik;

constexpr Colour Sky = 0x886644;

struct MatchingJob {
    Image Screen{320, 256, PixelFormat::Rgb24};
    Image Sheet{320, 256, PixelFormat::Rgb24};
    SelectionRect Selection{0, 0, 320, 256};

    MatchingJob() {
        for (int32_t y = 0; y < 256; ++y)
            for (int32_t x = 0; x < 320; ++x) {
                Screen.SetRgb(x, y, Sky);
                Sheet.SetRgb(x, y, Sky);
            }
        for (int32_t t = 0; t < 320; ++t)
            Sheet.SetRgb(t % 20 * 16 + 15, t / 20 * 16 + 15, static_cast<Colour>(t) * 0x10101);
    }
};

struct SearchJob {
    std::vector<uint8_t> Memory;
    std::vector<std::string> Grid;
    MapSearchOptions Options;

    explicit SearchJob(size_t megabytes) {
        std::mt19937 random(5);
        Memory = test::NoisyMemory(megabytes * 1024 * 1024, random);
        std::vector<int32_t> level(40 * 32);
        for (int32_t& t : level)
            t = static_cast<int32_t>(random() % 100);
        const auto tile = [&level](int32_t x, int32_t y) { return level[static_cast<size_t>(y * 40 + x)]; };
        test::PlantMap(Memory, test::MapLayout{1234567, 40, 32, 2, true},
                       [&](int32_t x, int32_t y) { return static_cast<uint32_t>(tile(x, y) + 16); });
        Grid = test::GridText(tile, 12, 9, 10, 6);
        Options.SearchLongs = true;
    }
};

// The memory held at the start of a measurement, so that the peak counts only what the work adds.
int64_t StartMeasuringMemory() {
    PeakBytes = HeldBytes.load();
    return HeldBytes;
}
void ReportPeakMemory(benchmark::State& state, int64_t before) {
    state.counters["peakMB"] = static_cast<double>(PeakBytes - before) / (1024.0 * 1024.0);
}

const MatchingJob& Matching() {
    static const MatchingJob job;
    return job;
}

const SearchJob& Searching(size_t megabytes) {
    static const SearchJob small(2);
    if (megabytes == 2) return small;
    static const SearchJob large(16);
    return large;
}

void TileMatchingNothing(benchmark::State& state, bool literal) {
    const MatchingJob& job = Matching();
    for (auto _ : state) {
        MatchGrid grid;
        SearchProgress progress;
        const TileMatchRun run =
            literal ? test::ReferenceMatchTiles(job.Screen, job.Sheet, 16, 16, job.Selection, grid, progress)
                    : MatchTiles(job.Screen, job.Sheet, 16, 16, job.Selection, grid, progress);
        if (run.Matched) throw std::logic_error("the benchmark's screenshot must match nothing");
        benchmark::DoNotOptimize(run);
    }
}

void MapSearchFullTable(benchmark::State& state, bool literal, size_t megabytes) {
    const SearchJob& job = Searching(megabytes);
    const int64_t before = StartMeasuringMemory();
    for (auto _ : state) {
        MatchGrid grid;
        SearchProgress progress;
        const MapSearchRun run = literal
                                     ? test::ReferenceSearchForMap(job.Memory, job.Grid, job.Options, grid, progress)
                                     : SearchForMap(job.Memory, job.Grid, job.Options, grid, progress);
        if (run.Matches.empty() || run.Matches[0].Offset != 16 || run.Matches[0].Vertical != 1)
            throw std::logic_error("the benchmark's map must be found by the fuzzy vertical word step");
        benchmark::DoNotOptimize(run);
    }
    ReportPeakMemory(state, before);
}

struct SelectingJob {
    static constexpr int32_t Columns = 40, Rows = 32;
    Image Sheet;
    Image Screen{320, 256, PixelFormat::Rgb24};
    SelectionRect Selection{32, 48, 160, 96};
    std::vector<uint8_t> Memory;

    explicit SelectingJob(bool wordsDown) {
        std::mt19937 random(11);
        Sheet = test::RandomTileSheet(20, 5, 16, 16, 6, random);
        std::vector<int32_t> level(Columns * Rows);
        for (int32_t& t : level)
            t = static_cast<int32_t>(random() % 100);
        const auto tile = [&level](int32_t x, int32_t y) { return level[static_cast<size_t>(y * Columns + x)]; };
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 20; ++x)
                test::DrawTile(Sheet, 16, 16, tile(x, y), 0, Screen, x * 16, y * 16);
        Memory = test::NoisyMemory(2 * 1024 * 1024, random);
        const test::MapLayout layout{1234567, Columns, Rows, wordsDown ? 2 : 1, wordsDown};
        test::PlantMap(Memory, layout,
                       [&](int32_t x, int32_t y) { return static_cast<uint32_t>(tile(x, y) + (wordsDown ? 16 : 0)); });
    }
};

void MatchAndSearchWhileSelecting(benchmark::State& state, bool wordsDown) {
    static const SelectingJob early(false), late(true);
    const SelectingJob& job = wordsDown ? late : early;
    MapSearchOptions options;
    options.SearchLongs = true;
    options.TileCount = 100;
    for (auto _ : state) {
        MatchGrid grid;
        SearchProgress progress;
        const TileMatchRun match = MatchTiles(job.Screen, job.Sheet, 16, 16, job.Selection, grid, progress);
        const MapSearchRun run = SearchForMap(job.Memory, match.IndexLines, options, grid, progress);
        const int64_t cell = 1234567 + (wordsDown ? 2 * (2 * 32 + 3) + 1 : 3 * 40 + 2);
        if (!match.Matched || run.Matches.empty() || run.Matches[0].Address != cell)
            throw std::logic_error("the selection's grid must be found where the level's cell (2, 3) lies");
        benchmark::DoNotOptimize(run);
    }
}

// 8 MB of zero bytes searched with longwords: rows of one repeated tile number each, the same tile in every
// row (every position a find of the fuzzy byte step) or another tile in every row (no find at all).
void MapSearchZeros(benchmark::State& state, bool sameTileInEveryRow) {
    const std::vector<uint8_t> zeros(8 * 1024 * 1024, 0);
    std::vector<std::string> grid;
    for (int32_t row = 0; row < 6; ++row) {
        const std::string tile = std::to_string(sameTileInEveryRow ? 7 : 1 + row);
        grid.push_back(tile + ", " + tile + ", " + tile + ", " + tile + ", " + tile + ", " + tile);
    }
    MapSearchOptions options;
    options.SearchLongs = true;
    const int64_t before = StartMeasuringMemory();
    for (auto _ : state) {
        MatchGrid searched;
        SearchProgress progress;
        const MapSearchRun run = SearchForMap(zeros, grid, options, searched, progress);
        const bool found = !run.Matches.empty() && run.Matches[0].Offset == -7;
        if (found != sameTileInEveryRow) throw std::logic_error("zeros must be found only as one tile less 7");
        benchmark::DoNotOptimize(run);
    }
    ReportPeakMemory(state, before);
}

BENCHMARK_CAPTURE(TileMatchingNothing, literal, true)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(TileMatchingNothing, fast, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MapSearchFullTable, literal, true, 2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(MapSearchFullTable, fast, false, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MapSearchFullTable, fast16MB, false, 16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MatchAndSearchWhileSelecting, bytesAcross, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MatchAndSearchWhileSelecting, wordsDown, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MapSearchZeros, sameTile, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MapSearchZeros, tilePerRow, false)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
