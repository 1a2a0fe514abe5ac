// Shared set-up of the map tests: a memory image, a tile sheet whose every pixel tells which tile and where
// it came from, and a draw of one map.
#pragma once

#include "imageio/Image.h"
#include "map/MapRenderer.h"
#include "map/MapVariables.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik::test {

// Indexed sheet: pixel (x, y) holds (x * 7 + y * 13 + 1) & 0xFF, so no two nearby pixels of a tile are alike.
inline Image PatternSheet(int32_t width, int32_t height) {
    Image sheet(width, height, PixelFormat::Indexed8);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            sheet.Row(y)[x] = static_cast<uint8_t>((x * 7 + y * 13 + 1) & 0xFF);
    return sheet;
}

// A greyscale colour table whose entry 0 is black and 255 white; 254 is magenta.
inline std::array<PaletteEntry, 256> TestColourTable() {
    std::array<PaletteEntry, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = EntryFromColour(MakeColour(uint8_t(i), uint8_t(i), uint8_t(i)));
    table[254] = EntryFromColour(MakeColour(255, 0, 255));
    return table;
}

struct MapRig {
    std::vector<uint8_t> Memory = std::vector<uint8_t>(0x10000, 0);
    Image Sheet = PatternSheet(320, 256);
    TMapVariables Map = NewMapVariables(1);
    Image MapImage;
    MapDrawContext Context;
    std::string Replacements;

    MapRig() {
        Map.WidthInTiles = 4;
        Map.HeightInTiles = 2;
        Map.Mask = -1;
        Map.MapTileWidth = 16;
        Map.MapTileHeight = 16;
        Map.TilesPerBlockAcross = 1;
        Map.TilesPerBlockDown = 1;
        Context.TileCount = 320;
        Context.Bitplanes = 5;
        Context.ColourTable = TestColourTable();
    }

    void Put(size_t offset, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            Memory.at(offset++) = b;
    }

    MapDrawOutcome Draw() {
        Context.MemoryImage = Memory;
        Context.TileSource = &Sheet;
        Context.Options.Replacements = Replacements;
        return DrawMap(Map, MapImage, Context);
    }

    const TMapCell& Cell(int32_t row, int32_t col) const { return Map.Cells.at(size_t(row)).at(size_t(col)); }

    // True when the map cell (col, row) shows sheet tile n (16 x 16 tiles on a 320-wide sheet), flipped as asked.
    bool ShowsTile(int32_t col, int32_t row, int32_t n, bool flipX = false, bool flipY = false) const {
        const int32_t w = Map.MapTileWidth, h = Map.MapTileHeight, perRow = Sheet.Width() / w;
        for (int32_t dy = 0; dy < h; ++dy)
            for (int32_t dx = 0; dx < w; ++dx) {
                const int32_t sx = (n % perRow) * w + (flipX ? w - 1 - dx : dx);
                const int32_t sy = (n / perRow) * h + (flipY ? h - 1 - dy : dy);
                if (MapImage.IndexAt(col * w + dx, row * h + dy) != Sheet.IndexAt(sx, sy)) return false;
            }
        return true;
    }
};

} // namespace tavrik::test
