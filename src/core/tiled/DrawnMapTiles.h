// The Tiled form of a drawn map: the cells of its last draw as gids over its tile source, cut into tiles
// the way the draw cut it.
#pragma once

#include "map/MapVariables.h"
#include "tiled/TiledMap.h"

#include <cstdint>

namespace tavrik {

// What the draw of the map read: its picture, its tile source (the TileSheet for the first map, the first
// map's picture for the second) and the rip's TileCount, above which a tile number is a bad cell.
struct DrawnMapSources {
    const Image* Picture = nullptr;
    const Image* TileSource = nullptr;
    int32_t TileCount = 0;
};

// The map as its last draw shows it. The tileset is the tile source cut into TilesPerSourceRow columns,
// padded with the picture's black to whole tiles so that a tile the draw copied in part looks the same,
// and carrying the picture's colour table. A cell's gid is its tile number + Adjust + 1 with its flips; a
// bad cell, a cell no tile was drawn into and a tile outside the sheet are 0. Throws tavrik::Error when
// the map was never drawn or its tiles no longer fit the picture.
TiledMap TiledMapOfDraw(const TMapVariables& map, const DrawnMapSources& sources);

} // namespace tavrik
