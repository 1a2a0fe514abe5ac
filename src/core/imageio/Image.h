// The program's picture: 8-bit indexed with a 256-entry colour table, or 24-bit direct colour.
#pragma once

#include "app/Colour.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tavrik {

enum class PixelFormat : uint8_t { Indexed8, Rgb24 };

class Image {
  public:
    Image() = default;
    Image(int32_t width, int32_t height, PixelFormat format) { Reset(width, height, format); }

    int32_t Width() const { return ImageWidth; }
    int32_t Height() const { return ImageHeight; }
    PixelFormat Format() const { return ImageFormat; }
    bool Empty() const { return ImageWidth == 0 || ImageHeight == 0; }
    int32_t BytesPerPixel() const { return ImageFormat == PixelFormat::Indexed8 ? 1 : 3; }
    size_t Stride() const { return static_cast<size_t>(ImageWidth) * static_cast<size_t>(BytesPerPixel()); }

    // New size and format; pixels are zero. Throws tavrik::Error for a negative or too large size.
    void Reset(int32_t width, int32_t height, PixelFormat format);
    // Converts in place: indexed pixels become their colour-table colours; 24-bit to indexed keeps the size
    // with zero indexes (the pixels are rebuilt by the caller).
    void ConvertTo(PixelFormat format);

    uint8_t* Row(int32_t y) { return Pixels.data() + static_cast<size_t>(y) * Stride(); }
    const uint8_t* Row(int32_t y) const { return Pixels.data() + static_cast<size_t>(y) * Stride(); }
    std::vector<uint8_t>& Data() { return Pixels; }
    const std::vector<uint8_t>& Data() const { return Pixels; }

    // Indexed pixel access (no bounds check beyond the caller's).
    uint8_t IndexAt(int32_t x, int32_t y) const { return Row(y)[x]; }
    // The colour of a pixel in either format.
    Colour ColourAt(int32_t x, int32_t y) const;
    void SetRgb(int32_t x, int32_t y, Colour colour);
    void Fill(uint8_t index);

    std::array<PaletteEntry, 256> ColourTable{};

  private:
    int32_t ImageWidth = 0;
    int32_t ImageHeight = 0;
    PixelFormat ImageFormat = PixelFormat::Indexed8;
    // Indexed8: one byte per pixel. Rgb24: red, green, blue bytes per pixel. Rows are packed.
    std::vector<uint8_t> Pixels;
};

// Copies a rectangle between images of one pixel format, clipped to both.
void CopyRect(const Image& source, int32_t sx, int32_t sy, int32_t width, int32_t height, Image& target, int32_t tx,
              int32_t ty);

} // namespace tavrik
