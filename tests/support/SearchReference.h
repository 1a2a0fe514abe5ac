// Tile matching and the map data search written out literally, every tile tried pixel by pixel and every
// position tested in every pass, for differential tests of the fast versions.
#pragma once

#include "imageio/Image.h"
#include "search/MapSearch.h"
#include "search/TileMatcher.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrik::test {

int32_t ReferenceCompareTile(const Image& searchImage, int32_t sx, int32_t sy, const Image& tiles, int32_t tx,
                             int32_t ty, int32_t width, int32_t height, int32_t flipLevel);

// Same contract as MatchTiles.
TileMatchRun ReferenceMatchTiles(const Image& searchImage, const Image& tiles, int32_t tileWidth, int32_t tileHeight,
                                 const SelectionRect& selection, MatchGrid& grid, SearchProgress& progress);

// Same contract as SearchForMap.
MapSearchRun ReferenceSearchForMap(std::span<const uint8_t> memory, const std::vector<std::string>& indexLines,
                                   const MapSearchOptions& options, MatchGrid& grid, SearchProgress& progress);

} // namespace tavrik::test
