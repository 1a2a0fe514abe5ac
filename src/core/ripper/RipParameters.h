// The ripper's settings, re-read from the controls at every rip, and the bitplane order.
#pragma once

#include <array>
#include <cstdint>

namespace tavrik {

enum class RipMode : int32_t { AmigaAcbm = 0, AmigaIlbm = 1, AtariSt = 2, Sprites = 3, C64 = 4 };

struct RipParameters {
    int64_t Address = 0; // a file offset, past 4 GiB in a large raw file
    int32_t Bitplanes = 1;
    int32_t TileWidth = 16;
    int32_t TileHeight = 16;
    int32_t SkipBytes = 0;
    int32_t SkipMode = 0; // 0 "Tiles", 1 "Bitplanes"
    int32_t SkipBetweenTiles = 0;
    int32_t SkipBetweenPlanes = 0;
    int32_t RipWidth = 320;
    int32_t RipHeight = 256;
    int32_t Mode = 0; // RipMode as the item index of the mode list
    bool MaskBefore = false;
    bool MaskAfter = false;
    int32_t TilesPerBlockAcross = 1;
    int32_t TilesPerBlockDown = 1;
    int32_t TilesPerBlockDirection = 0; // 0 "Across", 1 "Down"
    int32_t BlockTileWidth = 16;
    int32_t BlockTileHeight = 16;
    int32_t ActualTileWidth = 16;
    int32_t ActualTileHeight = 16;
    int32_t CopperlistStopYPos = 128;
    int32_t PlaneCountWithMasks = 1;
    int32_t StepWord = 2;
    int32_t StepTile = 256;
    int32_t StepLine = 2;
    int32_t StepTileRow = 16;
};

// Entry p belongs to source bitplane p: 0 adds nothing ("-"), 1 to 8 add 2^(entry-1), 9 is "X".
using BitplaneOrder = std::array<int32_t, 8>;
inline constexpr BitplaneOrder DefaultBitplaneOrder{1, 2, 3, 4, 5, 6, 7, 8};

} // namespace tavrik
