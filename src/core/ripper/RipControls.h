// What the "Tile Ripper" tab's controls hold at the moment of a rip: texts, item indexes and check
// states, read by the GUI and turned into RipParameters by the core with the fields' reading rules.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrik {

// The items of the tile size lists ("Actual tile size:" of the ripper and the map tab, and the block tile
// size): the first keeps the rip's tile size, the others are "W x H".
inline constexpr std::string_view SameAsTiles = "Same as tiles";
inline constexpr std::array<std::string_view, 11> TileSizeItems{SameAsTiles, "8 x 8",   "16 x 8",  "16 x 16",
                                                                "16 x 32",   "32 x 8",  "32 x 16", "32 x 32",
                                                                "32 x 64",   "64 x 32", "64 x 64"};

struct EditableComboText {
    int32_t ItemIndex = 0; // -1 when the text was typed
    std::string Text{SameAsTiles};
};

struct RipControls {
    std::string Address = "0";            // EditGfxAddress
    std::string Bitplanes = "1";          // EditGfxBitplaneCount
    std::string TileWidth = "16";         // EditGfxTileWidth
    std::string TileHeight = "16";        // EditGfxTileHeight
    std::string SkipBytes = "0";          // EditGfxSkipBytes
    int32_t SkipModeIndex = 0;            // ComboBoxGfxSkipMode: "Tiles", "Bitplanes"
    std::string RipWidth = "320";         // EditGfxRipWidth
    std::string RipHeight = "256";        // EditGfxRipHeight
    int32_t ModeIndex = 0;                // ComboBoxGfxMode
    int32_t SpriteBankIndex = 0;          // ComboBoxGfxSpriteMode: "Sprite 0/1" ... "Sprite 6/7"
    bool MaskBefore = false;              // CheckBoxGfxMaskBefore
    bool MaskAfter = false;               // CheckBoxGfxMaskAfter
    std::string TilesPerBlockAcross = "1"; // EditGfxTilesPerBlockAcross
    std::string TilesPerBlockDown = "1";   // EditGfxTilesPerBlockDown
    int32_t TilesPerBlockDirectionIndex = 0; // ComboBoxGfxTilesPerBlockDirection: "Across", "Down"
    EditableComboText TilesPerBlockSize;  // ComboBoxGfxTilesPerBlockSize
    EditableComboText ActualTileSize;     // ComboBoxGfxTileSize
    bool Rearrange = false;               // CheckBoxGfxRearrange
    bool UseLoadedTiles = false;          // CheckBoxUseMap
    std::string CopperlistStopYPos = "$80"; // EditGfxCopperlistStopYPos
};

} // namespace tavrik
