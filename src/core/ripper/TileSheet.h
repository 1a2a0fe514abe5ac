// The tile sheet after the decoder: its tile geometry, the rearrangement of tiles into blocks, the grid
// image shown in place of the sheet, the dimension presets of the tile size fields and saving the sheet.
#pragma once

#include "app/Colour.h"
#include "app/Dialogs.h"
#include "imageio/Image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrik {

// A sheet cut into w x h tiles: Columns = width div w by Rows = height div h; the remainders at the
// right and bottom belong to no tile. Throws "Division by zero" for a zero tile size.
struct TileGeometry {
    TileGeometry(const Image& sheet, int32_t tileWidth, int32_t tileHeight);

    int32_t TileWidth;
    int32_t TileHeight;
    int32_t Columns;
    int32_t Rows;

    // Top-left pixel of tile k: column k mod Columns, row k div Columns.
    int32_t TileX(int32_t k) const;
    int32_t TileY(int32_t k) const;
};

struct RearrangeSettings {
    int32_t TilesPerBlockAcross = 1;
    int32_t TilesPerBlockDown = 1;
    int32_t TilesPerBlockDirection = 0; // 0 "Across", 1 "Down"
    int32_t BlockTileWidth = 16;
    int32_t BlockTileHeight = 16;
    int32_t SheetWidth = 0; // the typed rip width
};

// Copies the source's tiles into target block by block; the target is resized to whole rows of blocks and
// takes the source's pixel format (its colour table stays).
void Rearrange(const Image& source, Image& target, const RearrangeSettings& settings);

inline constexpr Colour GridColour = MakeColour(115, 115, 115);

// The grid replaces the sheet in the view when it is on and the sheet is more than one actual tile.
bool ShowsGrid(const Image& sheet, bool gridEnabled, int32_t actualTileWidth, int32_t actualTileHeight);

// The sheet's tiles of the actual tile size with gaps of thickness pixels of grey between them; the last
// row and column carry the partial tiles. The colour table is palette with entry 255 made grey.
Image BuildGridImage(const Image& sheet, int32_t actualTileWidth, int32_t actualTileHeight, int32_t thickness,
                     const std::array<PaletteEntry, 256>& palette);

// A dimension preset caption such as "320 x 256": the texts for EditGfxTileWidth and EditGfxTileHeight.
// A part that is no number ends the preset: the width may still be set, and no rip follows.
struct DimensionPreset {
    std::optional<std::string> TileWidth;
    std::optional<std::string> TileHeight;
    bool Rip = false;
};
DimensionPreset ReadDimensionPreset(std::string_view caption);

inline constexpr const char* SaveTilesTitle = "Save Tiles";
inline constexpr const char* SaveTilesFilter = "PNG File (*.png)|*.png";

// The name "Save Gfx" writes to: the chosen name with the extension ".png" in place of any other.
std::string SheetFileName(const std::string& chosen);

// "Save Gfx": asks for a name, confirms overwriting an existing file when the option asks for it, and
// writes the sheet (never the grid image) as PNG. Returns the file written, or nothing when the user stopped.
std::optional<std::string> SaveSheet(const Image& sheet, Dialogs& dialogs, bool confirmOverwriting);

} // namespace tavrik
