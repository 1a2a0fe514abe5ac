// The map search's inner loops: passes over the decoded memory values that keep the positions at which
// columns of a grid row can agree with their tile numbers, vectorised where the processor allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrik {

// What one column of a grid row asks of the values: the column's place in the row and the tile numbers it
// accepts (less the anchor cell's tile number in the offset mode).
struct LooseColumn {
    int64_t Column;
    const uint32_t* Wants;
    size_t WantCount;
};

// Appends to found the positions from to last (both included) at which the value of the column, shifted
// right by shift (less the shifted value of the anchor column when anchor >= 0), agrees with one of the
// column's wants in the bits of lowMask. values must hold 64 entries past last + column and last + anchor.
void SweepColumn(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                 const LooseColumn& column, std::vector<int64_t>& found);

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
// wants. All shifts are tested at once, bit by bit of the pattern, so s + 6 must stay below 32. values must
// hold 64 entries past last + every column and last + anchor.
void SweepShifts(const uint32_t* values, int64_t from, int64_t last, int64_t anchor, uint32_t shiftMask,
                 const LooseColumn* columns, size_t columnCount, std::vector<ShiftHit>& found);

} // namespace tavrik
