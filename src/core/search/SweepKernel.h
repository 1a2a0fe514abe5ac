// The map search's inner loops: passes over a stretch of decoded memory values that keep the positions at which
// columns of a grid row can agree with their tile numbers, vectorised where the processor allows. The values
// are bytes, words or longwords as the step reads them, so that a vector holds as many positions as it can.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrik {

// How many values past the last position (plus a column's place) the sweeps read.
inline constexpr int64_t SweepOverread = 256;
// The most wants a column of SweepShifts may have.
inline constexpr size_t SweepMaxWants = 16;

// What one column of a grid row asks of the values: the column's place in the row and the values it accepts
// (less the anchor cell's value in the offset mode).
struct LooseColumn {
    int64_t Column;
    const uint32_t* Wants;
    size_t WantCount;
};

// Appends to found the positions from to last (both included) at which every column agrees: its value shifted
// right by shift (less the anchor column's value shifted alike when anchor >= 0) equals one of its wants in the
// bits of lowMask. values must hold SweepOverread entries past last + every column and last + anchor.
void SweepColumns(const uint8_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                  const LooseColumn* columns, size_t columnCount, std::vector<int64_t>& found);
void SweepColumns(const uint16_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                  const LooseColumn* columns, size_t columnCount, std::vector<int64_t>& found);
void SweepColumns(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                  const LooseColumn* columns, size_t columnCount, std::vector<int64_t>& found);

// A position and the shifts (as bits) at which it agrees.
struct ShiftHit {
    int64_t Position;
    uint32_t Shifts;
};

// The bits of a value SweepShifts compares at each shift.
inline constexpr int32_t ShiftPatternBits = 7;

// Appends to found, for the positions from to last (both included), the shifts s among the bits of shiftMask at
// which every column agrees: the 7 bits from bit s of the column's value (of the column's value shifted right by
// s less the anchor column's value shifted alike when anchor >= 0) equal the low 7 bits of one of the column's
// wants. All shifts are tested at once, bit by bit of the pattern, so s + 6 must stay below the value's width.
// values must hold SweepOverread entries past last + every column and last + anchor. One or two columns of at
// most SweepMaxWants wants each.
void SweepShifts(const uint16_t* values, int64_t from, int64_t last, int64_t anchor, uint32_t shiftMask,
                 const LooseColumn* columns, size_t columnCount, std::vector<ShiftHit>& found);
void SweepShifts(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, uint32_t shiftMask,
                 const LooseColumn* columns, size_t columnCount, std::vector<ShiftHit>& found);

} // namespace tavrik
