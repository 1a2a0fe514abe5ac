// The sweep over memory values: 32 positions at a time, as four vectors of eight, with the hits gathered as
// the bits of one mask. On x86 the compiler also builds an AVX2 version, chosen when the processor has it.
#include "search/SweepKernel.h"

#include <cstring>

namespace tavrik {

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target_clones("avx2", "default")]]
#endif
void SweepColumn(const int32_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                 const LooseColumn& column, std::vector<int64_t>& found) {
    using Lanes = uint32_t __attribute__((vector_size(32)));
    constexpr int64_t laneCount = 8;
    constexpr int64_t block = 4 * laneCount;
    const Lanes laneBits{1, 2, 4, 8, 16, 32, 64, 128};
    for (int64_t p = from; p <= last; p += block) {
        Lanes bits{};
        for (int64_t v = 0; v < 4; ++v) {
            const int32_t* at = values + p + v * laneCount;
            Lanes diff;
            std::memcpy(&diff, at + column.Column, sizeof diff);
            diff >>= shift;
            if (anchor >= 0) {
                Lanes base;
                std::memcpy(&base, at + anchor, sizeof base);
                diff -= base >> shift;
            }
            Lanes hit{};
            for (size_t k = 0; k < column.WantCount; ++k)
                hit |= (Lanes)(((diff - column.Wants[k]) & lowMask) == 0);
            bits |= (hit & laneBits) << static_cast<uint32_t>(v * laneCount);
        }
        uint64_t quarters[4];
        std::memcpy(quarters, &bits, sizeof quarters);
        const uint64_t folded = quarters[0] | quarters[1] | quarters[2] | quarters[3];
        // Bit b stands for position p + b: lane i holds the bits i, 8 + i, 16 + i and 24 + i.
        for (uint32_t mask = static_cast<uint32_t>(folded | (folded >> 32)); mask != 0; mask &= mask - 1) {
            const int64_t position = p + __builtin_ctz(mask);
            if (position <= last) found.push_back(position);
        }
    }
}

} // namespace tavrik
