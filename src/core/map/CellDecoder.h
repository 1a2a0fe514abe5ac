// Turning one stored map value into a tile number with flip flags: the game rules, the replacements, the
// flips, the shift and mask, and for pointer maps the conversion of a graphics address into a tile number.
#pragma once

#include "map/GameRules.h"
#include "map/MapSource.h"
#include "map/MapVariables.h"
#include "map/ReplacementRules.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tavrik {

// Where pointer maps point to: the tile ripper's start and the size of one tile there.
struct TilePointerBase {
    int64_t RipAddress = 0;
    int64_t ChipRamOffset = 0;
    int64_t BytesPerTile = 1;
};

struct FlipSwitches {
    bool FlipXEnabled = false;
    bool FlipYEnabled = false;
};

bool IsPointerMap(const TMapVariables& map);

// (MapTileWidth x MapTileHeight x bitplanes) div 8 + skipBetweenTiles, checked.
int64_t BytesPerTile(const TMapVariables& map, int32_t bitplanes, int32_t skipBetweenTiles);

// Decodes the cells of one draw in their stored order; holds the draw's read position and game state.
class CellDecoder {
  public:
    CellDecoder(const TMapVariables& map, std::span<const uint8_t> source, ReplacementRules rules,
                TilePointerBase pointers, FlipSwitches flips);

    MapSource Source;

    TMapCell Decode();

  private:
    int32_t ReadValue();
    int32_t TileNumber(int32_t value) const;

    const TMapVariables& Map;
    ReplacementRules Rules;
    TilePointerBase Pointers;
    FlipSwitches Flips;
    std::optional<WallAutoJoin> Walls;
    int32_t Skip;
};

} // namespace tavrik
