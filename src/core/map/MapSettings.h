// Reading a map tab's controls into its TMapVariables with the fields' reading rules: the first field
// that is not a number ends the reading and keeps the fields read before it.
#pragma once

#include "app/Address.h"
#include "map/MapVariables.h"
#include "ripper/RipControls.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrik {

// What one map tab's controls hold. The shared controls (block order, tile size) are the first tab's.
struct MapControls {
    std::string Address = "0";               // Edit<P>Address
    std::string WidthInTiles = "40";         // Edit<P>WidthInTiles
    std::string HeightInTiles = "32";        // Edit<P>HeightInTiles
    std::string TrimTiles = "0";             // Edit<P>TrimTiles
    std::string SkipBytes = "0";             // Edit<P>SkipBytes
    int32_t MemoryTypeIndex = 0;             // ComboBox<P>MemoryType
    int32_t DirectionIndex = 0;              // ComboBox<P>Direction
    std::string CustomGame;                  // text of ComboBox<P>CustomGame
    std::string FlipYMask = "$0";            // Edit<P>FlipYMask
    std::string FlipXMask = "$0";            // Edit<P>FlipXMask
    std::string Shift = "0";                 // Edit<P>Shift
    std::string Mask = "$ffffffff";          // Edit<P>Mask
    std::string Adjust = "0";                // Edit<P>Adjust
    std::string TilesPerBlockAcross = "1";   // Edit<P>TilesPerBlockAcross
    std::string TilesPerBlockDown = "1";     // Edit<P>TilesPerBlockDown
    int32_t TilesPerBlockDirectionIndex = 0; // ComboBoxMapTilesPerBlockDirection (first tab)
    EditableComboText TileSize;              // ComboBoxMapTileSize (first tab only)
};

// The game id of a custom game text; exact, case-sensitive names, anything else is 0.
int32_t CustomGameIdOf(std::string_view text);

// ReadMapSettings: fills map from its tab's controls. Reading the first map also sets the second map's tile
// size from "Actual tile size:"; secondMap is not touched when map is the second map.
void ReadMapSettings(const MapControls& controls, TMapVariables& map, TMapVariables& secondMap,
                     const AddressMode& addresses);

// The reading of "Use Loaded Map" (ButtonCreateMapClick): the same fields into the first map, but the
// custom game keeps its last reading. Returns false when a field was not a number: the caller then does
// not draw (fields read before the bad one keep their new values).
bool ReadCreateMapSettings(const MapControls& controls, TMapVariables& firstMap, TMapVariables& secondMap,
                           const AddressMode& addresses);

// The text a mask preset of the popup menu writes into the mask field: "$FF" ... "$FFFF", "$ffffffff".
std::string MaskPresetText(int32_t itemIndex);

} // namespace tavrik
