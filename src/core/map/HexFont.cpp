// The hexadecimal digit font: 4 x 6 pixel glyphs one pixel below the top of an 5 x 8 character box,
// drawn in the proportions of a small sans serif.
#include "map/HexFont.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tavrik {

namespace {

constexpr int32_t GlyphWidth = 4;
constexpr int32_t GlyphHeight = 6;
constexpr int32_t GlyphTop = 1;

// One row per entry, the leftmost pixel in bit 3.
using Glyph = std::array<uint8_t, GlyphHeight>;

constexpr std::array<Glyph, 16> Glyphs{{
    {0b0110, 0b1001, 0b1001, 0b1001, 0b1001, 0b0110}, // 0
    {0b0100, 0b1100, 0b0100, 0b0100, 0b0100, 0b1110}, // 1
    {0b0110, 0b1001, 0b0010, 0b0100, 0b1000, 0b1111}, // 2
    {0b1110, 0b0001, 0b0110, 0b0001, 0b0001, 0b1110}, // 3
    {0b0010, 0b0110, 0b1010, 0b1111, 0b0010, 0b0010}, // 4
    {0b1111, 0b1000, 0b1110, 0b0001, 0b0001, 0b1110}, // 5
    {0b0110, 0b1000, 0b1110, 0b1001, 0b1001, 0b0110}, // 6
    {0b1111, 0b0001, 0b0010, 0b0010, 0b0100, 0b0100}, // 7
    {0b0110, 0b1001, 0b0110, 0b1001, 0b1001, 0b0110}, // 8
    {0b0110, 0b1001, 0b1001, 0b0111, 0b0001, 0b0110}, // 9
    {0b0110, 0b1001, 0b1001, 0b1111, 0b1001, 0b1001}, // A
    {0b1110, 0b1001, 0b1110, 0b1001, 0b1001, 0b1110}, // B
    {0b0110, 0b1001, 0b1000, 0b1000, 0b1001, 0b0110}, // C
    {0b1110, 0b1001, 0b1001, 0b1001, 0b1001, 0b1110}, // D
    {0b1111, 0b1000, 0b1110, 0b1000, 0b1000, 0b1111}, // E
    {0b1111, 0b1000, 0b1110, 0b1000, 0b1000, 0b1000}, // F
}};

const Glyph* GlyphOf(char c) {
    if (c >= '0' && c <= '9') return &Glyphs[static_cast<size_t>(c - '0')];
    if (c >= 'A' && c <= 'F') return &Glyphs[static_cast<size_t>(c - 'A' + 10)];
    return nullptr;
}

PixelRect Intersect(PixelRect a, const Image& image) {
    return {std::max(a.Left, 0), std::max(a.Top, 0), std::min(a.Right, image.Width()),
            std::min(a.Bottom, image.Height())};
}

void PutPixel(Image& image, int32_t x, int32_t y, Pen pen) {
    if (image.Format() == PixelFormat::Indexed8)
        image.Row(y)[x] = pen.Index;
    else
        image.SetRgb(x, y, pen.Rgb);
}

} // namespace

uint8_t NearestColourIndex(const std::array<PaletteEntry, 256>& table, Colour colour) {
    int64_t best = std::numeric_limits<int64_t>::max();
    uint8_t bestIndex = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        const int64_t dr = int64_t{table[i].Red} - RedOf(colour);
        const int64_t dg = int64_t{table[i].Green} - GreenOf(colour);
        const int64_t db = int64_t{table[i].Blue} - BlueOf(colour);
        const int64_t distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            bestIndex = static_cast<uint8_t>(i);
        }
    }
    return bestIndex;
}

Pen MakePen(const Image& image, Colour colour) {
    if (image.Format() == PixelFormat::Rgb24) return Pen{0, colour};
    return Pen{NearestColourIndex(image.ColourTable, colour), colour};
}

void FillRect(Image& image, PixelRect rect, Pen pen) {
    const PixelRect r = Intersect(rect, image);
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        for (int32_t x = r.Left; x < r.Right; ++x)
            PutPixel(image, x, y, pen);
}

void DrawHexText(Image& image, int32_t x, int32_t y, std::string_view text, Pen pen, PixelRect clip) {
    const PixelRect r = Intersect(clip, image);
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph* glyph = GlyphOf(text[i]);
        if (!glyph) continue;
        const int64_t left = int64_t{x} + static_cast<int64_t>(i) * HexFontAdvance;
        for (int32_t gy = 0; gy < GlyphHeight; ++gy) {
            const int64_t py = int64_t{y} + GlyphTop + gy;
            if (py < r.Top || py >= r.Bottom) continue;
            for (int32_t gx = 0; gx < GlyphWidth; ++gx) {
                const int64_t px = left + gx;
                if (px < r.Left || px >= r.Right) continue;
                if ((*glyph)[static_cast<size_t>(gy)] & (0b1000 >> gx))
                    PutPixel(image, static_cast<int32_t>(px), static_cast<int32_t>(py), pen);
            }
        }
    }
}

} // namespace tavrik
