// Stepping through the stored order of a map's cells.
#include "map/MapWalk.h"

namespace tavrik {

MapWalk::MapWalk(const TMapVariables& map, int32_t blocksAcross, int32_t blocksDown)
    : Across(blocksAcross), Down(blocksDown), DrawWidth(map.DrawWidth), DrawHeight(map.DrawHeight),
      Horizontal(map.Direction != static_cast<int32_t>(MapDirection::Vertical)),
      AcrossFirst(map.TilesPerBlockDirection != static_cast<int32_t>(MapBlockDirection::Down)) {}

// True when the block is complete; the position is then back at the block's top-left cell.
bool MapWalk::AdvanceInBlock() {
    if (AcrossFirst) {
        ++Col;
        if (++ColInBlock < Across) return false;
        Col -= Across;
        ColInBlock = 0;
        ++RowIndex;
        if (++RowInBlock < Down) return false;
        RowIndex -= Down;
        RowInBlock = 0;
        return true;
    }
    ++RowIndex;
    if (++RowInBlock < Down) return false;
    RowIndex -= Down;
    RowInBlock = 0;
    ++Col;
    if (++ColInBlock < Across) return false;
    Col -= Across;
    ColInBlock = 0;
    return true;
}

bool MapWalk::Advance() {
    if (!AdvanceInBlock()) return false;
    if (Horizontal) {
        Col += Across;
        if (Col < DrawWidth) return false;
        Col = 0;
        RowIndex += Down;
    } else {
        RowIndex += Down;
        if (RowIndex < DrawHeight) return false;
        RowIndex = 0;
        Col += Across;
    }
    return true;
}

} // namespace tavrik
