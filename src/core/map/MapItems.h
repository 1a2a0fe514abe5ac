// The item lists of the map tabs' combo boxes, written once for the desktop program and the command line.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavrik {

// ComboBoxMapMemoryType, in item index order.
inline constexpr std::array<std::string_view, 5> MapMemoryTypeItems{"Byte", "Word", "Longword", "Pointers",
                                                                    "Word Pointers"};

// Bytes per map element for the item index of the memory type list (0 for unknown items).
constexpr int32_t ElementSize(int32_t memoryType) {
    constexpr std::array<int32_t, MapMemoryTypeItems.size()> sizes{1, 2, 4, 4, 2};
    return memoryType >= 0 && memoryType < static_cast<int32_t>(sizes.size()) ? sizes[static_cast<size_t>(memoryType)] : 0;
}

// ComboBoxMapDirection ("Format").
inline constexpr std::array<std::string_view, 2> MapDirectionItems{"Horizontal", "Vertical"};

// ComboBoxMapTilesPerBlockDirection.
inline constexpr std::array<std::string_view, 2> MapBlockDirectionItems{"Across", "Down"};

// ComboBoxMapScaleMode ("View").
inline constexpr std::array<std::string_view, 2> MapScaleModeItems{"Normal", "Scale to fit"};

// ComboBoxMapCustomGame: sorted, the empty item first. The game ids follow ReadMapSettings, not this order.
inline constexpr std::array<std::string_view, 8> CustomGameItems{
    "", "Action Fighter", "Battle Squadron", "Brat", "Captain Fizz", "Lost Vikings", "Quadralien", "Yo! Joe!"};

// "Actual tile size:" of the map tab takes the tile ripper's TileSizeItems (ripper/RipControls.h).

// PopupMenuMapMask of the mask field. Choosing one writes MaskPresetText(index) into the field.
inline constexpr std::array<std::string_view, 10> MapMaskPresetItems{"$ff",   "$1ff",  "$3ff",  "$7ff",  "$fff",
                                                                     "$1fff", "$3fff", "$7fff", "$ffff", "$ffffffff"};

// "Save Map" writes a PNG whatever is chosen here; "..." of the map data file opens any file.
inline constexpr const char* SaveMapTitle = "Save Map";
inline constexpr const char* SaveMapFilter =
    "Image File (*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1)|*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1|PNG File (*.png)|*.png|"
    "Bitmap File (*.bmp)|*.bmp|ILBM File (*.iff)|*.iff|NEO File (*.neo)|*.neo|DEGAS Compressed File (*.pc1)|*.pc1|"
    "DEGAS File (*.pi1)|*.pi1|All Files (*.*)|*.*";
inline constexpr const char* MapDataFileTitle = "Load Map Data File";
inline constexpr const char* MapDataFileFilter = "All Files (*.*)|*.*";

} // namespace tavrik
