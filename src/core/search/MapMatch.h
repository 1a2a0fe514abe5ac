// A map found by the memory search, the texts it is offered under, and how choosing it fills the
// "Map Ripper" tab's controls.
#pragma once

#include "app/Address.h"
#include "map/MapSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrik {

enum class MapSearchType : int16_t { Byte = 0, Word = 1, Longword = 2, Pointers = 3 }; // memory type item indexes

struct MapMatch {
    int64_t Address = 0; // byte offset of the value under the grid's first cell in the memory image
    int32_t Shift = 0;
    uint32_t Mask = 0;
    int32_t Offset = 0;   // by how much the stored values exceed the tile numbers
    int16_t Vertical = 0; // 1: columns stored one after another
    int16_t Width = 0;    // in tiles, horizontal maps only
    int16_t Height = 0;   // in tiles, vertical maps only
    int32_t BytesPerValue = 1;
    MapSearchType MemoryType = MapSearchType::Byte;
    // The level the find lies in: its first row (first column when vertical), the find's column (row) kept,
    // and how many rows (columns) it has; 0 when not known.
    int64_t MapAddress = 0;
    int32_t MapRows = 0;
    bool operator==(const MapMatch&) const = default;
};

// ComboBoxMapMatches before the first search.
inline constexpr std::string_view NoMapMatchesItem = "- No matches found -";

// The combo box item: "Horiz $ADDR Width W shift S" or "Vert $ADDR Height H shift S".
std::string MapMatchItemText(const MapMatch& match);

// The level's size in tiles: the stride one way, the rows (columns) found the other.
int32_t LevelWidth(const MapMatch& match);
int32_t LevelHeight(const MapMatch& match);

// ApplyMapMatch: writes the match into the first map tab's controls: the level's address and size when it is
// known (else the find's address and the found width or height, a "0" in the other field becoming "40"),
// memory type, direction, shift, mask, adjust. The address is written in the fields' display form, so that the
// map reads the find's file offset whichever form is on. The caller then creates the map and scrolls its view
// to the top-left corner.
void ApplyMapMatch(const MapMatch& match, MapControls& controls, const AddressMode& addresses = {});

} // namespace tavrik
