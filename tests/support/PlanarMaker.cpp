// Planar graphics makers for ripper tests.
#include "PlanarMaker.h"

namespace tavrik::test {

PixelGrid::PixelGrid(int32_t width, int32_t height, uint8_t value)
    : Width(width), Height(height), Pixels(static_cast<size_t>(width) * height, value) {}

Bytes PlaneRow(const PixelGrid& grid, int32_t y, int32_t plane) {
    Bytes row(static_cast<size_t>(grid.Width / 8), 0);
    for (int32_t x = 0; x < grid.Width / 8 * 8; ++x)
        if ((grid.At(x, y) >> plane) & 1) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return row;
}

Bytes AcbmBytes(const PixelGrid& grid, int32_t planes) {
    Bytes bytes;
    for (int32_t p = 0; p < planes; ++p)
        for (int32_t y = 0; y < grid.Height; ++y)
            Append(bytes, PlaneRow(grid, y, p));
    return bytes;
}

Bytes IlbmBytes(const PixelGrid& grid, int32_t planes) {
    Bytes bytes;
    for (int32_t y = 0; y < grid.Height; ++y)
        for (int32_t p = 0; p < planes; ++p)
            Append(bytes, PlaneRow(grid, y, p));
    return bytes;
}

Bytes AtariStBytes(const PixelGrid& grid, int32_t planes) {
    Bytes bytes;
    for (int32_t y = 0; y < grid.Height; ++y) {
        for (int32_t g = 0; g < grid.Width / 16; ++g)
            for (int32_t p = 0; p < planes; ++p) {
                const Bytes row = PlaneRow(grid, y, p);
                bytes.push_back(row[static_cast<size_t>(2 * g)]);
                bytes.push_back(row[static_cast<size_t>(2 * g + 1)]);
            }
    }
    return bytes;
}

Bytes SpriteBytes(const PixelGrid& grid, int32_t planes) {
    Bytes bytes;
    const int32_t sprites = planes >= 3 ? 2 : 1;
    const int32_t planesPerSprite = planes == 1 ? 1 : 2;
    for (int32_t s = 0; s < sprites; ++s)
        for (int32_t y = 0; y < grid.Height; ++y)
            for (int32_t q = 0; q < planesPerSprite; ++q)
                Append(bytes, PlaneRow(grid, y, 2 * s + q));
    return bytes;
}

Bytes C64Bytes(const PixelGrid& grid) {
    Bytes bytes;
    for (int32_t y = 0; y < 8; ++y) {
        uint8_t byte = 0;
        for (int32_t pair = 0; pair < 4; ++pair)
            byte = static_cast<uint8_t>(byte << 2 | (grid.At(2 * pair, y) & 3));
        bytes.push_back(byte);
    }
    return bytes;
}

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

Bytes Repeat(uint8_t value, size_t count) { return Bytes(count, value); }

} // namespace tavrik::test
