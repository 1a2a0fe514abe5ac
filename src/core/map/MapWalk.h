// The order in which a map's cells are stored: blocks of cells, row by row ("Across") or column by column
// ("Down") inside a block, the blocks following one another along the map's direction in bands.
#pragma once

#include "map/MapVariables.h"

#include <cstdint>

namespace tavrik {

class MapWalk {
  public:
    // The draw size and block sizes as the draw fixed them (blocks at least 1).
    MapWalk(const TMapVariables& map, int32_t blocksAcross, int32_t blocksDown);

    int64_t Column() const { return Col; }
    int64_t Row() const { return RowIndex; }

    // Moves to the next stored cell; true when that completed a band (a row or column of blocks).
    bool Advance();

  private:
    bool AdvanceInBlock();

    int64_t Col = 0;
    int64_t RowIndex = 0;
    int64_t ColInBlock = 0;
    int64_t RowInBlock = 0;
    int64_t Across;
    int64_t Down;
    int64_t DrawWidth;
    int64_t DrawHeight;
    bool Horizontal;
    bool AcrossFirst;
};

} // namespace tavrik
