// The sweeps over memory values: a vector of 64 bytes at a time (64 byte values, 32 words or 16 longwords), the
// agreeing lanes picked out only when a vector has any. On x86 the compiler also builds AVX-512 and AVX2
// versions of each sweep, the best the processor has chosen when the program starts.
#include "search/SweepKernel.h"

#include "search/VectorClones.h"

#include <cstring>

namespace tavrik {

namespace {

constexpr size_t VectorBytes = 64;

template <typename T> struct VectorOf {
    using Lanes [[gnu::vector_size(VectorBytes)]] = T;
    static constexpr int64_t Count = VectorBytes / sizeof(T);
};

// Appends to found what the lanes of a vector of results for the positions from p on hold, where they hold
// anything and lie before last.
template <typename T, typename Lanes, typename Append>
[[gnu::always_inline]] inline void PickLanes(const Lanes& agree, int64_t p, int64_t last, Append&& append) {
    uint64_t parts[VectorBytes / 8];
    std::memcpy(parts, &agree, sizeof parts);
    uint64_t any = 0;
    for (const uint64_t part : parts)
        any |= part;
    if (any == 0) return;
    T lanes[VectorOf<T>::Count];
    std::memcpy(lanes, &agree, sizeof lanes);
    for (int64_t i = 0; i < VectorOf<T>::Count && p + i <= last; ++i)
        if (lanes[i] != 0) append(p + i, lanes[i]);
}

template <typename T>
[[gnu::always_inline]] inline void SweepColumnsIn(const T* values, int64_t from, int64_t last, int64_t anchor,
                                                  int32_t shift, uint32_t lowMask, const LooseColumn* columns,
                                                  size_t columnCount, std::vector<int64_t>& found) {
    using Lanes = typename VectorOf<T>::Lanes;
    const T low = static_cast<T>(lowMask);
    for (int64_t p = from; p <= last; p += VectorOf<T>::Count) {
        Lanes base{};
        if (anchor >= 0) {
            std::memcpy(&base, values + p + anchor, sizeof base);
            base >>= shift;
        }
        Lanes agree = ~Lanes{};
        for (size_t c = 0; c < columnCount; ++c) {
            Lanes x;
            std::memcpy(&x, values + p + columns[c].Column, sizeof x);
            const Lanes difference = (x >> shift) - base;
            Lanes any{};
            for (size_t k = 0; k < columns[c].WantCount; ++k)
                any |= (Lanes)(((difference - static_cast<T>(columns[c].Wants[k])) & low) == 0);
            agree &= any;
        }
        PickLanes<T>(agree, p, last, [&found](int64_t position, T) { found.push_back(position); });
    }
}

template <typename T>
[[gnu::always_inline]] inline void SweepShiftsIn(const T* values, int64_t from, int64_t last, int64_t anchor,
                                                 uint32_t shiftMask, const LooseColumn* columns, size_t columnCount,
                                                 std::vector<ShiftHit>& found) {
    using Lanes = typename VectorOf<T>::Lanes;
    // Bit j of a want as all ones or all zeros, so that xor with it leaves the value where the want's bit is 1
    // and flips it where it is 0.
    const auto flip = [](uint32_t want, int32_t j) { return static_cast<T>((want >> j & 1u) - 1u); };
    for (int64_t p = from; p <= last; p += VectorOf<T>::Count) {
        Lanes base{};
        if (anchor >= 0) std::memcpy(&base, values + p + anchor, sizeof base);
        Lanes agree = Lanes{} + static_cast<T>(shiftMask);
        for (size_t c = 0; c < columnCount; ++c) {
            const LooseColumn& column = columns[c];
            Lanes x;
            std::memcpy(&x, values + p + column.Column, sizeof x);
            // Bit s of all: the 7 bits from bit s of the value equal the want's, each bit of the pattern compared
            // at every place at once and moved down by its own place.
            Lanes any{};
            if (anchor < 0) {
                for (size_t k = 0; k < column.WantCount; ++k) {
                    Lanes all = ~Lanes{};
                    for (int32_t j = 0; j < ShiftPatternBits; ++j)
                        all &= (x ^ flip(column.Wants[k], j)) >> j;
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
                        all &= (difference ^ flip(column.Wants[k], j)) >> j;
                        allBelow &= (difference ^ flip(column.Wants[k] - 1u, j)) >> j;
                    }
                    any |= (all & ~borrow) | (allBelow & borrow);
                }
            }
            agree &= any;
        }
        PickLanes<T>(agree, p, last, [&found](int64_t position, T shifts) { found.push_back({position, shifts}); });
    }
}

} // namespace

TAVRIK_VECTOR_CLONES
void SweepColumns(const uint8_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                  const LooseColumn* columns, size_t columnCount, std::vector<int64_t>& found) {
    SweepColumnsIn(values, from, last, anchor, shift, lowMask, columns, columnCount, found);
}

TAVRIK_VECTOR_CLONES
void SweepColumns(const uint16_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                  const LooseColumn* columns, size_t columnCount, std::vector<int64_t>& found) {
    SweepColumnsIn(values, from, last, anchor, shift, lowMask, columns, columnCount, found);
}

TAVRIK_VECTOR_CLONES
void SweepColumns(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                  const LooseColumn* columns, size_t columnCount, std::vector<int64_t>& found) {
    SweepColumnsIn(values, from, last, anchor, shift, lowMask, columns, columnCount, found);
}

TAVRIK_VECTOR_CLONES
void SweepShifts(const uint16_t* values, int64_t from, int64_t last, int64_t anchor, uint32_t shiftMask,
                 const LooseColumn* columns, size_t columnCount, std::vector<ShiftHit>& found) {
    SweepShiftsIn(values, from, last, anchor, shiftMask, columns, columnCount, found);
}

TAVRIK_VECTOR_CLONES
void SweepShifts(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, uint32_t shiftMask,
                 const LooseColumn* columns, size_t columnCount, std::vector<ShiftHit>& found) {
    SweepShiftsIn(values, from, last, anchor, shiftMask, columns, columnCount, found);
}

} // namespace tavrik
