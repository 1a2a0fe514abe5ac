// The map search's inner loop: one pass over the decoded memory values that keeps the positions at which one
// column of a grid row can agree with its tile numbers, vectorised where the processor allows.
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
void SweepColumn(const int32_t* values, int64_t from, int64_t last, int64_t anchor, int32_t shift, uint32_t lowMask,
                 const LooseColumn& column, std::vector<int64_t>& found);

} // namespace tavrik
