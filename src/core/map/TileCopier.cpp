// Tile copies of the map drawing, the hot path of every map key: one memcpy or one reversed pass per row.
#include "map/TileCopier.h"

#include <algorithm>
#include <cstring>

namespace tavrik {

TileCopier::TileCopier(const Image* source, Image& target, int32_t tileWidth, int32_t tileHeight, bool secondMap)
    : Source(source), Target(target), TileWidth(tileWidth), TileHeight(tileHeight) {
    if (!source || source->Empty() || tileWidth < 1 || source->Format() != target.Format()) return;
    const bool wideEnough = source->Width() >= tileWidth;
    if (secondMap && !wideEnough) return;
    TilesPerSourceRow = wideEnough ? source->Width() / tileWidth : 1;
    Enabled = true;
}

// width pixels from sourceX rightwards, or for a mirrored row from sourceX leftwards.
void TileCopier::CopyRow(const uint8_t* sourceRow, int64_t sourceX, uint8_t* targetRow, int64_t width,
                         bool flipX) const {
    const auto bpp = static_cast<size_t>(Target.BytesPerPixel());
    const uint8_t* from = sourceRow + static_cast<size_t>(sourceX) * bpp;
    if (!flipX) {
        std::memcpy(targetRow, from, static_cast<size_t>(width) * bpp);
        return;
    }
    if (bpp == 1) {
        std::reverse_copy(from - width + 1, from + 1, targetRow);
        return;
    }
    for (int64_t i = 0; i < width; ++i)
        std::memcpy(targetRow + static_cast<size_t>(i) * bpp, from - i * 3, bpp);
}

void TileCopier::Draw(int64_t n, bool flipX, bool flipY, int64_t x, int64_t y) const {
    if (!Enabled) return;
    // Truncating division: a negative tile number lies left of or above the source.
    const int64_t sourceLeft = (n % TilesPerSourceRow) * TileWidth;
    const int64_t sourceTop = (n / TilesPerSourceRow) * TileHeight;
    const int64_t sourceWidth = Source->Width();
    // Columns dx of the cell whose pixel lies inside both images.
    int64_t first = std::max<int64_t>(0, -x);
    int64_t last = std::min<int64_t>(TileWidth, Target.Width() - x);
    if (flipX) {
        first = std::max(first, sourceLeft + TileWidth - sourceWidth);
        last = std::min(last, sourceLeft + TileWidth);
    } else {
        first = std::max(first, -sourceLeft);
        last = std::min(last, sourceWidth - sourceLeft);
    }
    if (first >= last) return;
    const int64_t sourceX = flipX ? sourceLeft + TileWidth - 1 - first : sourceLeft + first;
    const int64_t bpp = Target.BytesPerPixel();
    for (int64_t dy = std::max<int64_t>(0, -y); dy < TileHeight && y + dy < Target.Height(); ++dy) {
        const int64_t sourceY = sourceTop + (flipY ? TileHeight - 1 - dy : dy);
        if (sourceY < 0 || sourceY >= Source->Height()) continue;
        CopyRow(Source->Row(static_cast<int32_t>(sourceY)), sourceX,
                Target.Row(static_cast<int32_t>(y + dy)) + (x + first) * bpp, last - first, flipX);
    }
}

} // namespace tavrik
