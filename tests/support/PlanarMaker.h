// Builds planar graphics for ripper tests: a picture of pixel values written out in each memory layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrik::test {

using Bytes = std::vector<uint8_t>;

// Pixel values row by row.
struct PixelGrid {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;

    PixelGrid(int32_t width, int32_t height, uint8_t value = 0);
    uint8_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
    void Set(int32_t x, int32_t y, uint8_t value) { Pixels[static_cast<size_t>(y) * Width + x] = value; }
};

// Bit `plane` of the pixels of row y, most significant bit first, Width div 8 bytes.
Bytes PlaneRow(const PixelGrid& grid, int32_t y, int32_t plane);

// "Amiga ACBM": every row of plane 0, then every row of plane 1, ...
Bytes AcbmBytes(const PixelGrid& grid, int32_t planes);
// "Amiga ILBM": for each row, the row of each plane in turn.
Bytes IlbmBytes(const PixelGrid& grid, int32_t planes);
// "Atari ST": for each row and 16-pixel group, one big-endian word per plane.
Bytes AtariStBytes(const PixelGrid& grid, int32_t planes);
// "Sprites": one plane gives each row as two words of 32 pixels; two planes give per row the word of bit 0
// and the word of bit 1; three or more give two sprites, the first of bits 0 and 1, the second of bits 2 and 3.
Bytes SpriteBytes(const PixelGrid& grid, int32_t planes);
// "C64" multicolour: 8 x 8 pixels of values 0 to 3 in pairs; one byte per row from pixels 0, 2, 4, 6.
Bytes C64Bytes(const PixelGrid& grid);

void Append(Bytes& to, const Bytes& more);
Bytes Repeat(uint8_t value, size_t count);

} // namespace tavrik::test
