// Drawing a map: the walk over its stored cells, each cell decoded into a tile number and the tile copied
// from the tile source into the map image, with bad cells marked, the index dump and the summary.
#pragma once

#include "app/Colour.h"
#include "imageio/Image.h"
#include "map/MapVariables.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// The first tab's controls that act for both maps.
struct MapSharedOptions {
    bool FlipXEnabled = false;     // CheckBoxMapFlipXMask
    bool FlipYEnabled = false;     // CheckBoxMapFlipYMask
    bool ShowBadTiles = false;     // CheckBoxMapShowBadTiles
    bool ShowIndexes = false;      // CheckBoxMapShowIndexes
    std::string_view Replacements; // text of MemoMapTileIndexReplacements
};

// Everything a draw reads besides the map's own record.
struct MapDrawContext {
    std::span<const uint8_t> MemoryImage;
    std::span<const uint8_t> LoadedMapData; // read instead of MemoryImage when the map's UseLoadedMap is set
    // The TileSheet for the first map, the first map's image for the second. The map image takes its
    // pixel format.
    const Image* TileSource = nullptr;
    int32_t TileCount = 0;
    // The tile ripper's Address, Bitplanes and SkipBetweenTiles: where pointer maps point into.
    int64_t RipAddress = 0;
    int32_t Bitplanes = 1;
    int32_t SkipBetweenTiles = 0;
    uint32_t ChipRamOffset = 0;
    // The colour table the map image gets (the working palette's entries).
    std::array<PaletteEntry, 256> ColourTable{};
    MapSharedOptions Options;
};

enum class MapDrawResult {
    NotDrawn, // the map is 0 wide or high: nothing changed, not even the index dump
    TooLarge, // 32768 pixels or more in a direction; Message holds the first "Out of memory!" text
    NoMemory, // the image could not be made; Message holds the second "Out of memory!" text
    Drawn,
};

struct MapDrawOutcome {
    MapDrawResult Result = MapDrawResult::NotDrawn;
    std::string Message;                // for TooLarge and NoMemory, to be shown in a plain message box
    bool ClearIndexDump = false;        // MemoMapData is emptied (every draw that got past its first step)
    bool ShowMapDataTab = false;        // "Show Indexes" was on: the "Map Data" tab becomes visible
    std::vector<std::string> IndexDump; // the lines for MemoMapData, one per completed band
    int32_t MissingCount = 0;
    int32_t MinIndex = 2147483647;
    int32_t MaxIndex = 0;
    std::string Summary; // "Missing: N, Min: $X, Max: $Y" for Label<P>Summary; set when drawn
};

// Draws map into mapImage (sized, coloured and filled in place) and stores the decoded cells in
// map.Cells. Throws tavrik::Error before anything changes when the tile width or height is 0 or a
// pointer map's bytes per tile are 0, and on arithmetic overflow.
MapDrawOutcome DrawMap(TMapVariables& map, Image& mapImage, const MapDrawContext& context);

// The summary label's text.
std::string MapSummaryText(int32_t missingCount, int32_t minIndex, int32_t maxIndex);

} // namespace tavrik
