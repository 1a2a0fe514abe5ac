// Generated memories, maps, tile sheets and screenshots.
#include "support/SearchInputs.h"

#include "search/MatchGrid.h"

namespace tavrik::test {

std::vector<uint8_t> NoisyMemory(size_t size, std::mt19937& random) {
    std::vector<uint8_t> memory(size);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<size_t> run(8, 400);
    size_t at = 0;
    while (at < size) {
        const int k = kind(random);
        const size_t end = std::min(size, at + run(random));
        for (; at < end; ++at)
            memory[at] = static_cast<uint8_t>(k < 2 ? 0 : k < 4 ? byte(random) % 8 : byte(random));
    }
    return memory;
}

void PlantMap(std::vector<uint8_t>& memory, const MapLayout& layout,
              const std::function<uint32_t(int32_t x, int32_t y)>& value) {
    for (int32_t y = 0; y < layout.Height; ++y)
        for (int32_t x = 0; x < layout.Width; ++x) {
            const int64_t cell = layout.Vertical ? int64_t{x} * layout.Height + y : int64_t{y} * layout.Width + x;
            const int64_t at = layout.Address + cell * layout.BytesPerValue;
            const uint32_t v = value(x, y);
            for (int32_t b = 0; b < layout.BytesPerValue; ++b) {
                const int64_t place = at + b;
                if (place >= 0 && place < static_cast<int64_t>(memory.size()))
                    memory[static_cast<size_t>(place)] =
                        static_cast<uint8_t>(v >> (8 * (layout.BytesPerValue - 1 - b)));
            }
        }
}

std::vector<std::string> GridText(const std::function<int32_t(int32_t x, int32_t y)>& tile, int32_t x0, int32_t y0,
                                  int32_t columns, int32_t rows) {
    MatchGrid grid;
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < columns; ++c)
            grid.At(r, c).TileNumber = tile(x0 + c, y0 + r);
    return MatchGridLines(grid, rows, columns);
}

Image RandomTileSheet(int32_t columns, int32_t rows, int32_t tileWidth, int32_t tileHeight, int32_t colours,
                      std::mt19937& random) {
    Image sheet(columns * tileWidth, rows * tileHeight, PixelFormat::Rgb24);
    std::uniform_int_distribution<int32_t> pick(0, colours - 1);
    for (int32_t y = 0; y < sheet.Height(); ++y)
        for (int32_t x = 0; x < sheet.Width(); ++x)
            sheet.SetRgb(x, y, static_cast<Colour>(pick(random)) * 0x302010u + 0x0F0F0Fu * (x & 1));
    return sheet;
}

void DrawTile(const Image& sheet, int32_t tileWidth, int32_t tileHeight, int32_t tile, int32_t flipCode, Image& picture,
              int32_t x, int32_t y) {
    const int32_t columns = sheet.Width() / tileWidth;
    const int32_t tx = tile % columns * tileWidth;
    const int32_t ty = tile / columns * tileHeight;
    for (int32_t j = 0; j < tileHeight; ++j)
        for (int32_t i = 0; i < tileWidth; ++i) {
            const int32_t si = (flipCode & 2) ? tileWidth - 1 - i : i;
            const int32_t sj = (flipCode & 1) ? tileHeight - 1 - j : j;
            if (x + i >= 0 && y + j >= 0 && x + i < picture.Width() && y + j < picture.Height())
                picture.SetRgb(x + i, y + j, sheet.ColourAt(tx + si, ty + sj));
        }
}

void PasteSprites(Image& picture, int32_t count, std::mt19937& random) {
    constexpr int32_t size = 12;
    for (int32_t sprite = 0; sprite < count; ++sprite) {
        const int32_t x0 = static_cast<int32_t>(random() % static_cast<uint32_t>(picture.Width() - size));
        const int32_t y0 = static_cast<int32_t>(random() % static_cast<uint32_t>(picture.Height() - size));
        // Odd channel values: no Amiga colour shown as n x 17 or n x 16 has all three.
        const Colour body = 0x010101u | (random() & 0xF0F0F0u);
        for (int32_t y = 0; y < size; ++y)
            for (int32_t x = 0; x < size; ++x)
                if ((x - 6) * (x - 6) + (y - 6) * (y - 6) < 36) picture.SetRgb(x0 + x, y0 + y, body ^ (x & 4 ? 0x0E0000u : 0u));
    }
}

Image ScaledWithBorder(const Image& picture, int32_t factor, int32_t border, Colour borderColour) {
    Image scaled(picture.Width() * factor + 2 * border, picture.Height() * factor + 2 * border, PixelFormat::Rgb24);
    for (int32_t y = 0; y < scaled.Height(); ++y)
        for (int32_t x = 0; x < scaled.Width(); ++x) {
            const int32_t px = (x - border) / factor;
            const int32_t py = (y - border) / factor;
            const bool inside = x >= border && y >= border && px < picture.Width() && py < picture.Height();
            scaled.SetRgb(x, y, inside ? picture.ColourAt(px, py) : borderColour);
        }
    return scaled;
}

void ShowLevelsTimesSixteen(Image& picture) {
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            picture.SetRgb(x, y, picture.ColourAt(x, y) & 0xF0F0F0u);
}

} // namespace tavrik::test
