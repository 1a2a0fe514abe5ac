// Save-state loading against bare zlib: a state whose 2 MB chip RAM chunk is compressed, loaded whole,
// and the same stream inflated alone. The ratio counter is load time over bare inflate time.
#include "memory/SaveState.h"

// The benchmark programs link no test library, so the builder is compiled in here.
#include "support/SaveStateBuilder.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>

namespace {

constexpr size_t ChipRamSize = 2u << 20;

struct CompressedState {
    std::vector<uint8_t> File;
    std::vector<uint8_t> Stream;
};

const CompressedState& State() {
    static const CompressedState state = [] {
        const std::vector<uint8_t> ram = tavrik::test::VariedChipRam(ChipRamSize, 42);
        CompressedState built;
        built.Stream = tavrik::test::ZlibCompress(ram);
        tavrik::test::SaveStateBuilder builder;
        builder.Stored("CPU ", std::vector<uint8_t>(200, 1));
        builder.CompressedStream("CRAM", ChipRamSize, built.Stream);
        builder.Stored("CHIP", tavrik::test::ChipChunkData({.COP1LC = 0x1000}));
        builder.End();
        built.File = builder.Data();
        return built;
    }();
    return state;
}

void InflateAlone(std::vector<uint8_t>& out) {
    uLongf size = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &size, State().Stream.data(), static_cast<uLong>(State().Stream.size())) != Z_OK)
        throw std::runtime_error("inflate failed");
}

void LoadState() {
    tavrik::ParsedDataFile parsed =
        tavrik::ParseDataFile(std::span<const uint8_t>(State().File), tavrik::MemoryState{}, "bench.uss");
    benchmark::DoNotOptimize(parsed.Memory.MemoryImage.data());
}

void BM_LoadCompressedState(benchmark::State& state) {
    for (auto _ : state)
        LoadState();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ChipRamSize));
}
BENCHMARK(BM_LoadCompressedState)->Unit(benchmark::kMillisecond);

void BM_InflateAlone(benchmark::State& state) {
    std::vector<uint8_t> out(ChipRamSize);
    for (auto _ : state) {
        InflateAlone(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ChipRamSize));
}
BENCHMARK(BM_InflateAlone)->Unit(benchmark::kMillisecond);

// Both in turn in every iteration, so that both see the same machine load.
void BM_LoadOverInflateRatio(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    std::vector<uint8_t> out(ChipRamSize);
    Clock::duration load{}, inflate{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        LoadState();
        const Clock::time_point middle = Clock::now();
        InflateAlone(out);
        benchmark::DoNotOptimize(out.data());
        load += middle - start;
        inflate += Clock::now() - middle;
        state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
    }
    state.counters["ratio"] = std::chrono::duration<double>(load) / std::chrono::duration<double>(inflate);
    state.counters["compressed_kb"] = static_cast<double>(State().Stream.size()) / 1024;
}
BENCHMARK(BM_LoadOverInflateRatio)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
