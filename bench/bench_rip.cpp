// Rip speed: every key press in the ripper re-runs the whole rip, so the default sheet must rip in well
// under a frame, and a whole chip RAM ripped as one tall sheet should cost a few memory copies of its output.
#include "workspace/Rip.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr size_t ChipRamBytes = 2 * 1024 * 1024;
constexpr int32_t TallSheetHeight = static_cast<int32_t>(ChipRamBytes / (320 / 8 * 8));

std::vector<uint8_t> RandomMemory(size_t size) {
    std::mt19937 random(7);
    std::vector<uint8_t> memory(size);
    for (uint8_t& byte : memory)
        byte = static_cast<uint8_t>(random());
    return memory;
}

using Clock = std::chrono::steady_clock;

// Seconds per copy of size bytes, measured on the spot so the ratio below compares like with like.
double SecondsPerMemcpy(size_t size, int copies) {
    std::vector<uint8_t> source = RandomMemory(size);
    std::vector<uint8_t> target(size);
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < copies; ++i) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / copies;
}

// Rips repeatedly; the counter "per_memcpy" says how many copies of the output bytes one rip costs.
void RunRips(benchmark::State& state, tavrik::Workspace& work, const tavrik::RipControls& controls) {
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        tavrik::RipResult result = tavrik::Rip(work, controls);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(work.TileSheet.Data().data());
        benchmark::ClobberMemory();
    }
    const double secondsPerRip =
        std::chrono::duration<double>(Clock::now() - start).count() / static_cast<double>(state.iterations());
    const size_t outputBytes = work.TileSheet.Data().size();
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(outputBytes));
    state.counters["output_bytes"] = static_cast<double>(outputBytes);
    state.counters["per_memcpy"] = secondsPerRip / SecondsPerMemcpy(outputBytes, 200);
}

// (a) The default 320 x 256 sheet of 16 x 16 tiles with 5 bitplanes, in each mode.
void BM_DefaultSheetFivePlanes(benchmark::State& state) {
    tavrik::Workspace work;
    work.Memory.MemoryImage = RandomMemory(ChipRamBytes);
    tavrik::RipControls controls;
    controls.Address = "$1000";
    controls.Bitplanes = "5";
    controls.ModeIndex = static_cast<int32_t>(state.range(0));
    static const char* const names[] = {"Amiga ACBM", "Amiga ILBM", "Atari ST", "Sprites", "C64"};
    state.SetLabel(names[state.range(0)]);
    RunRips(state, work, controls);
}
BENCHMARK(BM_DefaultSheetFivePlanes)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// (b) The whole 2 MB chip RAM as one tall 320-pixel sheet of 8 planes, one tile the size of the sheet.
void BM_ChipRamTallSheet(benchmark::State& state) {
    tavrik::Workspace work;
    work.Memory.MemoryImage = RandomMemory(ChipRamBytes);
    tavrik::RipControls controls;
    controls.Bitplanes = "8";
    controls.TileWidth = "320";
    controls.TileHeight = std::to_string(TallSheetHeight);
    controls.RipWidth = "320";
    controls.RipHeight = std::to_string(TallSheetHeight);
    controls.ModeIndex = static_cast<int32_t>(state.range(0));
    state.SetLabel(state.range(0) == 0 ? "Amiga ACBM" : "Amiga ILBM");
    RunRips(state, work, controls);
}
BENCHMARK(BM_ChipRamTallSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Baselines: copying as many bytes as the rips above write.
void BM_MemcpyBaseline(benchmark::State& state) {
    const auto size = static_cast<size_t>(state.range(0));
    std::vector<uint8_t> source = RandomMemory(size);
    std::vector<uint8_t> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_MemcpyBaseline)->Arg(320 * 256)->Arg(320 * TallSheetHeight)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
