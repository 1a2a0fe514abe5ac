// The inner loop of the planar modes ("Amiga ACBM", "Amiga ILBM", "Atari ST") for a tile whose reads all
// lie inside the memory image: memory is read by offset and every pixel is written once.
#pragma once

#include "ripper/PixelLanes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tavrik::planar {

// Byte offsets relative to the tile's start, valid while every read lies inside the memory: byte k of run r
// of plane p in row y sits at PlaneOffset[p] + y * RowStride + r * RunStride + k, and gives pixels
// 8 x (r x RunLength + k) onwards.
struct PlanarLayout {
    std::array<int64_t, 8> PlaneOffset{};
    int32_t Rows = 0;
    int64_t RowStride = 0;
    int32_t Runs = 0; // one run in the Amiga modes; one per 16 pixels on the Atari ST
    int32_t RunLength = 0;
    int64_t RunStride = 0;

    int64_t PixelsPerRow() const { return int64_t{8} * Runs * RunLength; }
};

// The planes that change pixels, in memory order; "X" planes that count as set everywhere and planes
// that add nothing are folded into Start instead.
struct ActivePlanes {
    int32_t Count = 0;
    std::array<int64_t, 8> Offset{};                             // PlaneOffset of the plane
    std::array<uint8_t, 8> Value{};                              // what a set bit adds
    std::array<const std::array<lanes::Lanes, 256>*, 8> Table{}; // a plane byte spread over eight pixels
    lanes::Lanes Start = 0;                                      // every pixel before the planes add
    bool Carryless = true; // Start plus every value fits in a byte, so plain 64-bit adds never carry
};

// Writes the tile's pixels over the rows starting at firstRow (stride bytes apart). allowSimd lets the
// loop use the processor's vector unit when it has one; the result is the same either way.
void DecodePlanarCell(const uint8_t* memory, int64_t position, const PlanarLayout& layout, const ActivePlanes& planes,
                      uint8_t* firstRow, size_t stride, bool allowSimd);

} // namespace tavrik::planar
