// Planar inner loops: a portable one that sums table lookups in 64-bit values, and on x86-64 processors
// with AVX2 one that spreads 32 pixels of a plane at a time with byte shuffles and adds them in one go.
#include "ripper/PlanarKernels.h"

#include <utility>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TAVRIK_PLANAR_AVX2 1
#include <immintrin.h>
#endif

namespace tavrik::planar {

namespace {

using lanes::Lanes;

// The pointers to byte 0 of a run in each active plane.
template <int Count> struct RunPlanes {
    const uint8_t* Plane[Count > 0 ? Count : 1];

    RunPlanes(const uint8_t* memory, int64_t runStart, const ActivePlanes& planes) {
        for (int p = 0; p < Count; ++p)
            Plane[p] = memory + (runStart + planes.Offset[static_cast<size_t>(p)]);
    }

    template <bool Carryless> Lanes EightPixels(const ActivePlanes& planes, int32_t k) const {
        Lanes sum = planes.Start;
        for (int p = 0; p < Count; ++p) {
            const Lanes value = (*planes.Table[static_cast<size_t>(p)])[Plane[p][k]];
            if constexpr (Carryless)
                sum += value;
            else
                sum = lanes::AddLanes(sum, value);
        }
        return sum;
    }
};

template <int Count, bool Carryless>
void PortableCell(const uint8_t* memory, int64_t position, const PlanarLayout& layout, const ActivePlanes& planes,
                  uint8_t* firstRow, size_t stride) {
    for (int32_t y = 0; y < layout.Rows; ++y) {
        uint8_t* out = firstRow + static_cast<size_t>(y) * stride;
        const int64_t rowStart = position + y * layout.RowStride;
        for (int32_t r = 0; r < layout.Runs; ++r) {
            const RunPlanes<Count> run(memory, rowStart + r * layout.RunStride, planes);
            for (int32_t k = 0; k < layout.RunLength; ++k, out += 8)
                lanes::StoreLanes(out, run.template EightPixels<Carryless>(planes, k));
        }
    }
}

#ifdef TAVRIK_PLANAR_AVX2

template <int Count>
__attribute__((target("avx2"))) void Avx2Cell(const uint8_t* memory, int64_t position, const PlanarLayout& layout,
                                              const ActivePlanes& planes, uint8_t* firstRow, size_t stride) {
    // Byte j of four plane bytes goes to pixels 8j to 8j + 7; each pixel then tests its own bit.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 3,
                                            3, 3, 3, 3, 3, 3, 3);
    const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x0102040810204080ULL));
    const __m256i start = _mm256_set1_epi64x(static_cast<long long>(planes.Start));
    __m256i value[Count > 0 ? Count : 1];
    for (int p = 0; p < Count; ++p)
        value[p] = _mm256_set1_epi8(static_cast<char>(planes.Value[static_cast<size_t>(p)]));

    for (int32_t y = 0; y < layout.Rows; ++y) {
        uint8_t* out = firstRow + static_cast<size_t>(y) * stride;
        const int64_t rowStart = position + y * layout.RowStride;
        for (int32_t r = 0; r < layout.Runs; ++r) {
            const RunPlanes<Count> run(memory, rowStart + r * layout.RunStride, planes);
            int32_t k = 0;
            for (; k + 4 <= layout.RunLength; k += 4, out += 32) {
                __m256i sum = start;
                for (int p = 0; p < Count; ++p) {
                    int32_t four;
                    std::memcpy(&four, run.Plane[p] + k, sizeof four);
                    const __m256i bytes = _mm256_shuffle_epi8(_mm256_set1_epi32(four), spread);
                    const __m256i set = _mm256_cmpeq_epi8(_mm256_and_si256(bytes, bit), bit);
                    sum = _mm256_add_epi8(sum, _mm256_and_si256(set, value[p]));
                }
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), sum);
            }
            for (; k < layout.RunLength; ++k, out += 8)
                lanes::StoreLanes(out, run.template EightPixels<false>(planes, k));
        }
    }
}

bool HasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

#endif

using CellLoop = void (*)(const uint8_t*, int64_t, const PlanarLayout&, const ActivePlanes&, uint8_t*, size_t);

template <size_t... Counts>
constexpr std::array<std::array<CellLoop, 2>, sizeof...(Counts)> MakePortableLoops(std::index_sequence<Counts...>) {
    return {{{&PortableCell<static_cast<int>(Counts), false>, &PortableCell<static_cast<int>(Counts), true>}...}};
}
constexpr auto PortableLoops = MakePortableLoops(std::make_index_sequence<9>{});

#ifdef TAVRIK_PLANAR_AVX2
template <size_t... Counts>
constexpr std::array<CellLoop, sizeof...(Counts)> MakeAvx2Loops(std::index_sequence<Counts...>) {
    return {{&Avx2Cell<static_cast<int>(Counts)>...}};
}
constexpr auto Avx2Loops = MakeAvx2Loops(std::make_index_sequence<9>{});
#endif

} // namespace

void DecodePlanarCell(const uint8_t* memory, int64_t position, const PlanarLayout& layout, const ActivePlanes& planes,
                      uint8_t* firstRow, size_t stride, bool allowSimd) {
    const auto count = static_cast<size_t>(planes.Count);
#ifdef TAVRIK_PLANAR_AVX2
    // Rows shorter than 32 pixels gain nothing from the vector loop.
    if (allowSimd && layout.RunLength >= 4 && HasAvx2()) {
        Avx2Loops[count](memory, position, layout, planes, firstRow, stride);
        return;
    }
#else
    (void)allowSimd;
#endif
    PortableLoops[count][planes.Carryless ? 1 : 0](memory, position, layout, planes, firstRow, stride);
}

} // namespace tavrik::planar
