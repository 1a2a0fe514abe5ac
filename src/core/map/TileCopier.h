// Copying one tile of the tile source into a map cell, mirrored as the cell's flips say. Rows are copied as
// spans; whatever part of the source rectangle lies outside the tile source leaves the cell black there.
#pragma once

#include "imageio/Image.h"

#include <cstdint>

namespace tavrik {

class TileCopier {
  public:
    // Tiles are tileWidth x tileHeight cells of the source, row by row. A second map's cell stays black
    // when its source is narrower than one tile.
    TileCopier(const Image* source, Image& target, int32_t tileWidth, int32_t tileHeight, bool secondMap);

    // Draws tile n with its top-left corner at (x, y) of the target, clipped to both images.
    void Draw(int64_t n, bool flipX, bool flipY, int64_t x, int64_t y) const;

  private:
    void CopyRow(const uint8_t* sourceRow, int64_t sourceX, uint8_t* targetRow, int64_t width, bool flipX) const;

    const Image* Source;
    Image& Target;
    int64_t TileWidth;
    int64_t TileHeight;
    int64_t TilesPerSourceRow = 1;
    bool Enabled = false;
};

} // namespace tavrik
