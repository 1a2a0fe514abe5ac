// The record of one map: its settings as last read from its tab, the cells of its last draw, and the
// game whose storage rules apply. The program holds two, one per map tab.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik {

// Item indexes of the memory type list ("Type").
enum class MapMemoryType : int32_t { Byte = 0, Word = 1, Longword = 2, Pointers = 3, WordPointers = 4 };

// Item indexes of the direction list ("Format").
enum class MapDirection : int32_t { Horizontal = 0, Vertical = 1 };

// Item indexes of the block order list.
enum class MapBlockDirection : int32_t { Across = 0, Down = 1 };

// The games whose maps need their own rules; the value is CustomGameId.
enum class CustomGame : int32_t {
    None = 0,
    ActionFighter = 1,
    YoJoe = 2,
    Quadralien = 3,
    LostVikings = 4,
    CaptainFizz = 5,
    BattleSquadron = 6,
    Brat = 7,
};

// One decoded cell.
struct TMapCell {
    int32_t RawValue = 0;     // the value read, after the game rules that change it, before replacements
    int32_t TileIndex = 0;    // the final tile number
    int64_t SourceOffset = 0; // where in the map source the cell's read began
    bool FlipX = false;       // the tile is drawn mirrored left to right
    bool FlipY = false;       // the tile is drawn upside down

    bool operator==(const TMapCell&) const = default;
};

struct TMapVariables {
    int32_t MapNumber = 1;
    int64_t Address = 0; // a file offset, past 4 GiB in a large raw file
    int32_t WidthInTiles = 0;
    int32_t HeightInTiles = 0;
    int32_t DrawWidth = 0;
    int32_t DrawHeight = 0;
    int32_t Mask = 0;
    int32_t Shift = 0;
    int32_t MemoryType = 0; // MapMemoryType as an item index
    int32_t Direction = 0;  // MapDirection as an item index
    int32_t Adjust = 0;
    int32_t TrimTiles = 0;
    int32_t SkipBytes = 0;
    int32_t MapTileWidth = 0;
    int32_t MapTileHeight = 0;
    int32_t FlipYMask = 0;
    int32_t FlipXMask = 0;
    int32_t TilesPerBlockAcross = 0;
    int32_t TilesPerBlockDown = 0;
    int32_t TilesPerBlockDirection = 0; // MapBlockDirection as an item index
    std::string CustomGame;
    int32_t CustomGameId = 0; // tavrik::CustomGame
    // Indexed [row][column]; holds CellRows + 1 rows of CellColumns + 1 cells and only ever grows.
    std::vector<std::vector<TMapCell>> Cells{1, std::vector<TMapCell>(1)};
    int32_t CellColumns = 0;
    int32_t CellRows = 0;
    // Take the values from the loaded map data file instead of the memory image (first map only).
    bool UseLoadedMap = false;
};

// The record as the program starts with it: the second map cuts 32 x 32 blocks out of the first map.
TMapVariables NewMapVariables(int32_t mapNumber);

// The cell at (row, column), or nothing when the grid does not hold it.
const TMapCell* CellAt(const TMapVariables& map, int32_t row, int32_t column);

} // namespace tavrik
