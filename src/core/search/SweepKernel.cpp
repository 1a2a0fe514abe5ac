// The sweeps over memory values: a vector of 64 bytes at a time (64 byte values, 32 words or 16 longwords), the
// agreeing lanes picked out only when a vector has any. On x86 the compiler also builds AVX-512 and AVX2
// versions of each sweep, the best the processor has chosen when the program starts.
#include "search/SweepKernel.h"

#include "search/VectorClones.h"

#include <cstring>
#include <stdexcept>

namespace tavrik {

namespace {

constexpr size_t VectorBytes = 64;
// Vectors swept between two looks for agreeing lanes, which are rare.
constexpr int64_t Group = 4;
static_assert(Group * VectorBytes <= SweepOverread);

template <typename T> struct VectorOf {
    using Lanes [[gnu::vector_size(VectorBytes)]] = T;
    static constexpr int64_t Count = VectorBytes / sizeof(T);
};

template <typename Lanes> [[gnu::always_inline]] inline bool AnyLane(const Lanes& lanes) {
    uint64_t parts[VectorBytes / 8];
    std::memcpy(parts, &lanes, sizeof parts);
    uint64_t any = 0;
    for (const uint64_t part : parts)
        any |= part;
    return any != 0;
}

// Sweeps the positions from to last a group of vectors at a time: lanes(p, results) sets the results of the
// vector of positions from p on, and append is called with each position before last whose result is not 0.
// (Vectors pass by reference: the sweeps are built for several processors, which pass vectors differently.)
template <typename T, typename Lanes, typename Sweep, typename Append>
[[gnu::always_inline]] inline void SweepGroups(int64_t from, int64_t last, Sweep&& lanes, Append&& append) {
    constexpr int64_t count = VectorOf<T>::Count;
    for (int64_t p = from; p <= last; p += Group * count) {
        Lanes results[Group];
        Lanes any{};
        for (int64_t g = 0; g < Group; ++g) {
            lanes(p + g * count, results[g]);
            any |= results[g];
        }
        if (!AnyLane(any)) continue;
        // Eight bytes of results at a time, so that stretches without a hit are passed over quickly.
        constexpr int64_t perPart = 8 / sizeof(T);
        uint64_t parts[Group * VectorBytes / 8];
        std::memcpy(parts, results, sizeof parts);
        for (int64_t part = 0; part < Group * count / perPart && p + part * perPart <= last; ++part) {
            if (parts[part] == 0) continue;
            T picked[perPart];
            std::memcpy(picked, &parts[part], sizeof picked);
            for (int64_t i = 0; i < perPart; ++i) {
                const int64_t position = p + part * perPart + i;
                if (picked[i] != 0 && position <= last) append(position, picked[i]);
            }
        }
    }
}

template <typename T>
[[gnu::always_inline]] inline void SweepColumnsIn(const T* values, int64_t from, int64_t last, int64_t anchor,
                                                  int32_t shift, uint32_t lowMask, const LooseColumn* columns,
                                                  size_t columnCount, std::vector<int64_t>& found) {
    using Lanes = typename VectorOf<T>::Lanes;
    const T low = static_cast<T>(lowMask);
    const auto lanes = [&](int64_t p, Lanes& agree) __attribute__((always_inline)) {
        Lanes base{};
        if (anchor >= 0) {
            std::memcpy(&base, values + p + anchor, sizeof base);
            base >>= shift;
        }
        agree = ~Lanes{};
        for (size_t c = 0; c < columnCount; ++c) {
            Lanes x;
            std::memcpy(&x, values + p + columns[c].Column, sizeof x);
            const Lanes difference = (x >> shift) - base;
            Lanes any{};
            for (size_t k = 0; k < columns[c].WantCount; ++k)
                any |= (Lanes)(((difference - static_cast<T>(columns[c].Wants[k])) & low) == 0);
            agree &= any;
        }
    };
    SweepGroups<T, Lanes>(from, last, lanes,
                   [&found](int64_t position, T) { found.push_back(position); });
}

// A column of SweepShifts with its wants as the patterns the sweep compares: for want k and pattern bit j, all
// ones where the bit is 0 and zeros where it is 1, moved down by j, for the want and the want less one.
template <typename T> struct PatternColumn {
    static constexpr size_t MaxWants = SweepMaxWants;
    int64_t Column = 0;
    size_t WantCount = 0;
    T Flip[MaxWants][ShiftPatternBits]{};
    T FlipBelow[MaxWants][ShiftPatternBits]{};

    explicit PatternColumn(const LooseColumn& column)
        : Column(column.Column), WantCount(column.WantCount) {
        for (size_t k = 0; k < WantCount; ++k)
            for (int32_t j = 0; j < ShiftPatternBits; ++j) {
                Flip[k][j] = static_cast<T>(static_cast<T>((column.Wants[k] >> j & 1u) - 1u) >> j);
                FlipBelow[k][j] = static_cast<T>(static_cast<T>(((column.Wants[k] - 1u) >> j & 1u) - 1u) >> j);
            }
    }
};

template <typename T>
[[gnu::always_inline]] inline void SweepShiftsIn(const T* values, int64_t from, int64_t last, int64_t anchor,
                                                 uint32_t shiftMask, const LooseColumn* columns, size_t columnCount,
                                                 std::vector<ShiftHit>& found) {
    using Lanes = typename VectorOf<T>::Lanes;
    if (columnCount == 0 || columnCount > 2 || columns[0].WantCount > SweepMaxWants ||
        columns[columnCount - 1].WantCount > SweepMaxWants)
        throw std::logic_error("SweepShifts takes one or two columns of at most 16 wants");
    const PatternColumn<T> prepared[2]{PatternColumn<T>(columns[0]), PatternColumn<T>(columns[columnCount - 1])};
    const auto lanes = [&](int64_t p, Lanes& agree) __attribute__((always_inline)) {
        Lanes base{};
        if (anchor >= 0) std::memcpy(&base, values + p + anchor, sizeof base);
        agree = Lanes{} + static_cast<T>(shiftMask);
        for (size_t c = 0; c < columnCount; ++c) {
            const PatternColumn<T>& column = prepared[c];
            Lanes x;
            std::memcpy(&x, values + p + column.Column, sizeof x);
            // Bit s of all: the 7 bits from bit s of the value equal the want's, each bit of the pattern compared
            // at every place at once: the value moved down by the bit's place, flipped where the want's bit is 0.
            Lanes any{};
            if (anchor < 0) {
                for (size_t k = 0; k < column.WantCount; ++k) {
                    Lanes all = ~Lanes{};
#pragma GCC unroll 8
                    for (int32_t j = 0; j < ShiftPatternBits; ++j)
                        all &= (x >> j) ^ column.Flip[k][j];
                    any |= all;
                }
            } else {
                // The difference of the shifted values is the shifted difference plus the borrow into bit s:
                // where it borrows, the want less one is matched instead.
                const Lanes difference = x - base;
                const Lanes borrow = difference ^ x ^ base;
                for (size_t k = 0; k < column.WantCount; ++k) {
                    Lanes all = ~Lanes{}, allBelow = ~Lanes{};
#pragma GCC unroll 8
                    for (int32_t j = 0; j < ShiftPatternBits; ++j) {
                        const Lanes moved = difference >> j;
                        all &= moved ^ column.Flip[k][j];
                        allBelow &= moved ^ column.FlipBelow[k][j];
                    }
                    any |= (all & ~borrow) | (allBelow & borrow);
                }
            }
            agree &= any;
        }
    };
    SweepGroups<T, Lanes>(from, last, lanes,
                   [&found](int64_t position, T shifts) { found.push_back({position, shifts}); });
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
