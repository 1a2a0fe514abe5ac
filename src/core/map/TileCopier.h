// Copying one tile of the tile source into a map cell, mirrored as the cell's flips say. Rows are copied as
// spans; whatever part of the source rectangle lies outside the tile source leaves the cell as it was.
#pragma once

#include "imageio/Image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrik {

class TileCopier {
  public:
    // Tiles are tileWidth x tileHeight cells of the source, row by row. A second map's cell stays black
    // when its source is narrower than one tile.
    TileCopier(const Image* source, Image& target, int32_t tileWidth, int32_t tileHeight, bool secondMap);

    // False when no tile can be drawn at all (no source, or a second map's source narrower than a tile).
    bool CanDraw() const { return Enabled; }

    // Draws tile n with its top-left corner at (x, y) when the tile lies wholly inside both images and so
    // covers the whole cell; otherwise draws nothing and returns false. Tiles of the usual widths are queued
    // and drawn by Flush, a pixel row of all queued tiles at a time, so that neighbouring tiles fill each
    // cache line of the image together.
    bool DrawWhole(int64_t n, bool flipX, bool flipY, int64_t x, int64_t y);

    // Draws what is queued. Anything else that draws into the image must come after it.
    void Flush();

    // Draws the part of tile n that lies inside both images (after what is queued).
    void DrawClipped(int64_t n, bool flipX, bool flipY, int64_t x, int64_t y);

  private:
    // A whole tile waiting to be drawn: its first source row, the step to the next, and its first target row.
    struct QueuedTile {
        const uint8_t* From;
        std::ptrdiff_t SourceStep;
        uint8_t* To;
        bool FlipX;
    };
    static constexpr size_t QueueLength = 64;

    template <size_t RowBytes> void FlushRows();
    void CopyRow(const uint8_t* sourceRow, int64_t sourceX, uint8_t* targetRow, int64_t width, bool flipX) const;
    void CopyRows(int64_t sourceX, int64_t sourceTop, int64_t first, int64_t last, bool flipX, bool flipY, int64_t x,
                  int64_t y) const;
    int64_t SourceLeft(int64_t n) const { return (n % TilesPerSourceRow) * TileWidth; }
    int64_t SourceTop(int64_t n) const { return (n / TilesPerSourceRow) * TileHeight; }

    const Image* Source;
    Image& Target;
    int64_t TileWidth;
    int64_t TileHeight;
    int64_t TilesPerSourceRow = 1;
    bool Enabled = false;
    std::vector<QueuedTile> Queue;
};

} // namespace tavrik
