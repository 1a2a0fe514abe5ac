// The sweep over memory values: 32 positions at a time, as four vectors of eight, with the hits gathered as
// the bits of one mask. On x86 the compiler also builds an AVX2 version, chosen when the processor has it.
#include "search/SweepKernel.h"

#include <cstring>

namespace tavrik {

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target_clones("avx2", "default")]]
#endif
void SweepColumn(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                 const LooseColumn& column, std::vector<int64_t>& found) {
    using Lanes = uint32_t __attribute__((vector_size(32)));
    constexpr int64_t laneCount = 8;
    constexpr int64_t block = 4 * laneCount;
    const Lanes laneBits{1, 2, 4, 8, 16, 32, 64, 128};
    for (int64_t p = from; p <= last; p += block) {
        Lanes bits{};
        for (int64_t v = 0; v < 4; ++v) {
            const uint32_t* at = values + p + v * laneCount;
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

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target_clones("avx2", "default")]]
#endif
void SweepShifts(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, uint32_t shiftMask,
                 const LooseColumn* columns, size_t columnCount, std::vector<ShiftHit>& found) {
    using Lanes = uint32_t __attribute__((vector_size(32)));
    constexpr int64_t laneCount = 8;
    for (int64_t p = from; p <= last; p += laneCount) {
        Lanes agree = Lanes{} + shiftMask;
        Lanes base{};
        if (anchor >= 0) std::memcpy(&base, values + p + anchor, sizeof base);
        for (size_t c = 0; c < columnCount; ++c) {
            const LooseColumn& column = columns[c];
            Lanes x;
            std::memcpy(&x, values + p + column.Column, sizeof x);
            // Bit s of all: the 7 bits from bit s of the value equal the want's. Each bit j of the pattern is
            // compared at every place at once: the value where the bit is 1, its complement where it is 0 (xor
            // with bit - 1), moved down by j.
            Lanes any{};
            if (anchor < 0) {
                for (size_t k = 0; k < column.WantCount; ++k) {
                    Lanes all = ~Lanes{};
                    for (int32_t j = 0; j < ShiftPatternBits; ++j)
                        all &= (x ^ ((column.Wants[k] >> j & 1u) - 1u)) >> j;
                    any |= all;
                }
            } else {
                // The difference of the shifted values is the shifted difference plus the borrow into bit s:
                // where it borrows, the want less one is matched instead.
                const Lanes difference = x - base;
                const Lanes borrow = difference ^ x ^ base;
                for (size_t k = 0; k < column.WantCount; ++k) {
                    Lanes all = ~Lanes{}, allBelow = ~Lanes{};
                    for (int32_t j = 0; j < ShiftPatternBits; ++j) {
                        all &= (difference ^ ((column.Wants[k] >> j & 1u) - 1u)) >> j;
                        allBelow &= (difference ^ (((column.Wants[k] - 1u) >> j & 1u) - 1u)) >> j;
                    }
                    any |= (all & ~borrow) | (allBelow & borrow);
                }
            }
            agree &= any;
        }
        uint64_t quarters[4];
        std::memcpy(quarters, &agree, sizeof quarters);
        if ((quarters[0] | quarters[1] | quarters[2] | quarters[3]) == 0) continue;
        uint32_t lanes[laneCount];
        std::memcpy(lanes, &agree, sizeof lanes);
        for (int64_t i = 0; i < laneCount; ++i)
            if (lanes[i] != 0 && p + i <= last) found.push_back(ShiftHit{p + i, lanes[i]});
    }
}

} // namespace tavrik
