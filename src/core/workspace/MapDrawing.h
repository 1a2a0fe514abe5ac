// Drawing one of the workspace's two maps: the first from the tile sheet, the second from the first map's
// picture, both reading memory (or the loaded map data) as their records say.
#pragma once

#include "map/MapRenderer.h"
#include "workspace/Workspace.h"

#include <cstdint>

namespace tavrik {

// The record of map 1 or 2.
TMapVariables& MapRecord(Workspace& ws, int32_t mapNumber);
const TMapVariables& MapRecord(const Workspace& ws, int32_t mapNumber);
Image& MapPicture(Workspace& ws, int32_t mapNumber);
const Image& MapPicture(const Workspace& ws, int32_t mapNumber);
// Where the map's tiles come from: the TileSheet for the first map, the first map's picture for the second.
const Image& MapTileSource(const Workspace& ws, int32_t mapNumber);

// DrawMap for map 1 or 2 with the workspace's memory, tiles, rip settings and palette. The first map's
// tile size is the tile ripper's actual tile size.
MapDrawOutcome DrawWorkspaceMap(Workspace& ws, int32_t mapNumber, const MapSharedOptions& options);

} // namespace tavrik
