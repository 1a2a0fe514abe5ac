// Tile copies of the map drawing, the hot path of every map key: each row is one copy, a mirrored row one
// reversed pass, and whole tiles of the usual widths copy rows of a size known when compiling.
#include "map/TileCopier.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tavrik {

namespace {

// Reverses RowBytes bytes (a multiple of 8) as byte-swapped 64-bit words in reverse order.
template <size_t RowBytes> void ReverseRow(const uint8_t* from, uint8_t* to) {
    for (size_t word = 0; word < RowBytes / 8; ++word) {
        uint64_t bits;
        std::memcpy(&bits, from + RowBytes - 8 * (word + 1), 8);
        bits = __builtin_bswap64(bits);
        std::memcpy(to + 8 * word, &bits, 8);
    }
}

} // namespace

TileCopier::TileCopier(const Image* source, Image& target, int32_t tileWidth, int32_t tileHeight, bool secondMap)
    : Source(source), Target(target), TileWidth(tileWidth), TileHeight(tileHeight) {
    if (!source || source->Empty() || tileWidth < 1 || source->Format() != target.Format()) return;
    const bool wideEnough = source->Width() >= tileWidth;
    if (secondMap && !wideEnough) return;
    TilesPerSourceRow = wideEnough ? source->Width() / tileWidth : 1;
    Enabled = true;
    Queue.reserve(QueueLength);
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

// Columns first to last - 1 of the cell at (x, y), read from the tile at (sourceLeft, sourceTop).
void TileCopier::CopyRows(int64_t sourceLeft, int64_t sourceTop, int64_t first, int64_t last, bool flipX, bool flipY,
                          int64_t x, int64_t y) const {
    const int64_t sourceX = flipX ? sourceLeft + TileWidth - 1 - first : sourceLeft + first;
    const int64_t bpp = Target.BytesPerPixel();
    for (int64_t dy = std::max<int64_t>(0, -y); dy < TileHeight && y + dy < Target.Height(); ++dy) {
        const int64_t sourceY = sourceTop + (flipY ? TileHeight - 1 - dy : dy);
        if (sourceY < 0 || sourceY >= Source->Height()) continue;
        CopyRow(Source->Row(static_cast<int32_t>(sourceY)), sourceX,
                Target.Row(static_cast<int32_t>(y + dy)) + (x + first) * bpp, last - first, flipX);
    }
}

bool TileCopier::DrawWhole(int64_t n, bool flipX, bool flipY, int64_t x, int64_t y) {
    if (!Enabled) return false;
    const int64_t sourceLeft = SourceLeft(n);
    const int64_t sourceTop = SourceTop(n);
    if (x < 0 || y < 0 || x + TileWidth > Target.Width() || y + TileHeight > Target.Height()) return false;
    if (sourceLeft < 0 || sourceTop < 0 || sourceLeft + TileWidth > Source->Width() ||
        sourceTop + TileHeight > Source->Height())
        return false;
    const bool queued =
        Target.Format() == PixelFormat::Indexed8 && (TileWidth == 8 || TileWidth == 16 || TileWidth == 32);
    if (!queued) {
        Flush();
        CopyRows(sourceLeft, sourceTop, 0, TileWidth, flipX, flipY, x, y);
        return true;
    }
    const auto sourceStride = static_cast<std::ptrdiff_t>(Source->Stride());
    const int64_t firstSourceRow = flipY ? sourceTop + TileHeight - 1 : sourceTop;
    Queue.push_back({Source->Row(static_cast<int32_t>(firstSourceRow)) + sourceLeft,
                     flipY ? -sourceStride : sourceStride, Target.Row(static_cast<int32_t>(y)) + x, flipX});
    if (Queue.size() == QueueLength) Flush();
    return true;
}

template <size_t RowBytes> void TileCopier::FlushRows() {
    const size_t targetStride = Target.Stride();
    for (int64_t dy = 0; dy < TileHeight; ++dy)
        for (const QueuedTile& tile : Queue) {
            const uint8_t* from = tile.From + dy * tile.SourceStep;
            uint8_t* to = tile.To + static_cast<size_t>(dy) * targetStride;
            if (tile.FlipX)
                ReverseRow<RowBytes>(from, to);
            else
                std::memcpy(to, from, RowBytes);
        }
}

void TileCopier::Flush() {
    if (Queue.empty()) return;
    switch (TileWidth) {
    case 8: FlushRows<8>(); break;
    case 16: FlushRows<16>(); break;
    default: FlushRows<32>(); break;
    }
    Queue.clear();
}

void TileCopier::DrawClipped(int64_t n, bool flipX, bool flipY, int64_t x, int64_t y) {
    if (!Enabled) return;
    Flush();
    // Truncating division: a negative tile number lies left of or above the source.
    const int64_t sourceLeft = SourceLeft(n);
    const int64_t sourceTop = SourceTop(n);
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
    if (first < last) CopyRows(sourceLeft, sourceTop, first, last, flipX, flipY, x, y);
}

} // namespace tavrik
