// What the tile decoders of the ripper's modes share: the read position rules of the fast path, where a
// tile's reads fall, writing eight pixels clipped to the image, and the walk over the tiles.
#pragma once

#include "app/Checked.h"
#include "ripper/PixelLanes.h"
#include "ripper/PlanarDecoder.h"
#include "ripper/RipParameterReader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tavrik::tiles {

using lanes::Lanes;

inline int64_t Mul(int64_t a, int64_t b) { return CheckedMul(a, b); }
inline int64_t Add(int64_t a, int64_t b) { return CheckedAdd(a, b); }

enum class Combine { Add, Or, Replace };

inline Lanes CombineLanes(Combine how, Lanes pixels, Lanes value) {
    switch (how) {
    case Combine::Add: return lanes::AddLanes(pixels, value);
    case Combine::Or: return pixels | value;
    default: return value;
    }
}

// Combines eight pixels starting at (x, y) with value; pixels outside the image are dropped.
inline void CombineGroup(Image& target, int64_t x, int64_t y, Lanes value, Combine how) {
    if (y < 0 || y >= target.Height()) return;
    uint8_t* row = target.Row(static_cast<int32_t>(y));
    if (x >= 0 && x + 8 <= target.Width()) {
        lanes::StoreLanes(row + x, CombineLanes(how, lanes::LoadLanes(row + x), value));
        return;
    }
    std::array<uint8_t, 8> values;
    std::memcpy(values.data(), &value, sizeof value);
    for (int64_t i = 0; i < 8; ++i) {
        const int64_t px = x + i;
        if (px < 0 || px >= target.Width()) continue;
        uint8_t& pixel = row[px];
        const uint8_t v = values[static_cast<size_t>(i)];
        pixel = how == Combine::Add ? static_cast<uint8_t>(pixel + v) : how == Combine::Or ? (pixel | v) : v;
    }
}

// Sets a rectangle to the background, clipped to the image.
inline void FillRect(Image& target, int64_t x, int64_t y, int64_t width, int64_t height, uint8_t value) {
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t right = std::min<int64_t>(x + width, target.Width());
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(y + height, target.Height());
    if (left >= right) return;
    for (int64_t row = top; row < bottom; ++row)
        std::memset(target.Row(static_cast<int32_t>(row)) + left, value, static_cast<size_t>(right - left));
}

// Reads as the fast path does: every read lies inside the memory, checked beforehand for the whole tile.
class UncheckedSource {
  public:
    UncheckedSource(const uint8_t* memory, int64_t position) : Memory(memory), Position(position) {}
    uint8_t ReadByte() { return Memory[Position++]; }
    uint16_t ReadWord() {
        const auto word = static_cast<uint16_t>((Memory[Position] << 8) | Memory[Position + 1]);
        Position += 2;
        return word;
    }
    void Skip(int64_t count) { Position += count; }

  private:
    const uint8_t* Memory;
    int64_t Position;
};

// Where a tile's reads fall relative to its start when each read lies inside the memory, and how far
// the position moves over the whole tile.
struct TileReach {
    bool HasReads = false;
    int64_t First = 0;
    int64_t Last = 0;
    int64_t Advance = 0;

    bool Inside(int64_t position, int64_t size) const {
        if (!HasReads) return true;
        int64_t first, last;
        if (__builtin_add_overflow(position, First, &first) || __builtin_add_overflow(position, Last, &last))
            return false;
        return first >= 0 && last < size;
    }
};

// Runs the tiles in memory order, each by the fast path when its reads and its cell allow, else exactly.
// The background goes where nothing overwrites it: the margins, and inside the cells (raised by the planes
// that count as set everywhere) the cells of the exact path, which add to it, and the columns right of
// what the fast path writes, which no plane byte covers when the tile width is not a multiple of 8.
template <class Decoder>
void DecodeEachTile(std::span<const uint8_t> memory, const TileDecodeRequest& request, const Decoder& decoder,
                    Image& target) {
    const RipParameters& p = request.Parameters;
    const uint8_t background = BackgroundIndex(request.Order);
    const auto cellStart = static_cast<uint8_t>(background + decoder.PlanesSetEverywhere());
    const int64_t size = static_cast<int64_t>(memory.size());
    const int64_t count = int64_t{request.TilesAcross} * request.TilesDown;
    const TileReach& reach = decoder.Reach();
    const int64_t fastWidth = decoder.FastWidth();
    int64_t position = p.Address;
    for (int64_t n = 0; n < count; ++n) {
        const int64_t x0 = (n % request.TilesAcross) * p.TileWidth;
        const int64_t y0 = (n / request.TilesAcross) * p.TileHeight;
        if (reach.Inside(position, size) && decoder.CellFits(x0, y0, target)) {
            FillRect(target, x0 + fastWidth, y0, p.TileWidth - fastWidth, p.TileHeight, cellStart);
            decoder.Fast(memory.data(), position, x0, y0, target);
            position = Add(position, reach.Advance);
        } else {
            FillRect(target, x0, y0, p.TileWidth, p.TileHeight, cellStart);
            PlanarReader reader(memory, position);
            decoder.Exact(reader, x0, y0, target);
            position = reader.Tell();
        }
    }
    const int64_t cellsRight = int64_t{request.TilesAcross} * p.TileWidth;
    const int64_t cellsBottom = int64_t{request.TilesDown} * p.TileHeight;
    FillRect(target, cellsRight, 0, target.Width() - cellsRight, cellsBottom, background);
    FillRect(target, 0, cellsBottom, target.Width(), target.Height() - cellsBottom, background);
}

// The modes decoded in their own files.
void DecodeSpriteTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target);
void DecodeMulticolourTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target);

} // namespace tavrik::tiles
