// A map as the Tiled map editor describes it: one layer of gids over one tileset cut from one picture.
// A gid is a tile's number in the tileset plus 1 (0 is an empty cell) with the flips in its top bits.
#pragma once

#include "app/Colour.h"
#include "imageio/Image.h"

#include <cstdint>
#include <vector>

namespace tavrik {

inline constexpr uint32_t TiledFlipXBit = 0x80000000u;
inline constexpr uint32_t TiledFlipYBit = 0x40000000u;
// Bit 29 is Tiled's diagonal flip, which no drawn cell uses; the tile part lies below it.
inline constexpr uint32_t TiledTileBits = 0x1FFFFFFFu;

// Mirrorings as two bits, so that two of them combine by exclusive or.
enum TileFlips : uint8_t { NoFlip = 0, FlipXOnly = 1, FlipYOnly = 2, FlipBoth = 3 };

constexpr uint8_t FlipsOf(bool flipX, bool flipY) { return static_cast<uint8_t>((flipX ? 1 : 0) | (flipY ? 2 : 0)); }
constexpr uint8_t FlipsOfGid(uint32_t gid) { return FlipsOf((gid & TiledFlipXBit) != 0, (gid & TiledFlipYBit) != 0); }
// The gid of tile number tile (0-based) of the tileset, drawn with flips.
constexpr uint32_t TileGid(uint32_t tile, uint8_t flips) {
    return (tile + 1) | ((flips & 1) != 0 ? TiledFlipXBit : 0) | ((flips & 2) != 0 ? TiledFlipYBit : 0);
}

// Tiles of TileWidth x TileHeight pixels, Columns to a row of the sheet, numbered row by row. The sheet
// holds whole tiles only.
struct TiledTileset {
    Image Sheet;
    int32_t TileWidth = 0;
    int32_t TileHeight = 0;
    int32_t Columns = 1;
    int32_t TileCount = 0;
};

struct TiledMap {
    int32_t Width = 0; // in cells
    int32_t Height = 0;
    std::vector<uint32_t> Gids; // row by row, top row first
    TiledTileset Tileset;
    // What an empty cell shows: the colour the map picture has where no tile is drawn.
    Colour Background = 0;

    uint32_t GidAt(int32_t row, int32_t column) const {
        return Gids[static_cast<size_t>(row) * static_cast<size_t>(Width) + static_cast<size_t>(column)];
    }
};

} // namespace tavrik
