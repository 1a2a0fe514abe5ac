// A small bitmap font of the hexadecimal digits for the marks on bad map cells, so that a map draws the same
// pixels on every machine. Each character is 5 pixels wide and 8 high, spacing included.
#pragma once

#include "app/Colour.h"
#include "imageio/Image.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tavrik {

inline constexpr int32_t HexFontAdvance = 5;
inline constexpr int32_t HexFontLineHeight = 8;

// A rectangle, right and bottom edges excluded.
struct PixelRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// A colour ready for an image: the nearest colour-table entry on an indexed image, the colour itself on a
// 24-bit one.
struct Pen {
    uint8_t Index = 0;
    Colour Rgb = 0;
};

Pen MakePen(const Image& image, Colour colour);

// The colour-table entry nearest to colour (the first of equally near ones).
uint8_t NearestColourIndex(const std::array<PaletteEntry, 256>& table, Colour colour);

// Fills the rectangle, clipped to the image.
void FillRect(Image& image, PixelRect rect, Pen pen);

// Writes the digits 0-9 and A-F (other characters are blank) with the top-left corner of the first
// character box at (x, y), on a transparent background, clipped to clip and the image.
void DrawHexText(Image& image, int32_t x, int32_t y, std::string_view text, Pen pen, PixelRect clip);

} // namespace tavrik
