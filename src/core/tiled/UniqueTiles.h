// De-duplicating a map's tileset: each distinct tile the map shows is kept once, a tile and its mirror
// images counting as one, and the map's gids say which kept tile to draw with which flips.
#pragma once

#include "tiled/TiledMap.h"

#include <cstdint>
#include <string>

namespace tavrik {

// The map over a tileset of the distinct tiles its cells show, in the order the cells first show them,
// laid out with at most the full tileset's number of columns. Tiles are equal when their pixels (colour
// indexes of an indexed sheet) are. Throws tavrik::Error when no cell shows a tile, since a tileset
// picture cannot be empty.
TiledMap UniqueTiles(const TiledMap& full);

// "Tiles: N of M kept": the tiles of the exported tileset out of the full tileset's.
std::string KeptTilesText(int32_t kept, int32_t total);

} // namespace tavrik
