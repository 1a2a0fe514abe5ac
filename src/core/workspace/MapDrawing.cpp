// The map draw's inputs gathered from the workspace.
#include "workspace/MapDrawing.h"

namespace tavrik {

namespace {

size_t MapSlot(int32_t mapNumber) { return mapNumber == 2 ? 1 : 0; }

} // namespace

TMapVariables& MapRecord(Workspace& ws, int32_t mapNumber) { return ws.Maps[MapSlot(mapNumber)]; }

const TMapVariables& MapRecord(const Workspace& ws, int32_t mapNumber) { return ws.Maps[MapSlot(mapNumber)]; }

Image& MapPicture(Workspace& ws, int32_t mapNumber) { return ws.MapImages[MapSlot(mapNumber)]; }

const Image& MapPicture(const Workspace& ws, int32_t mapNumber) { return ws.MapImages[MapSlot(mapNumber)]; }

const Image& MapTileSource(const Workspace& ws, int32_t mapNumber) {
    return MapSlot(mapNumber) == 0 ? ws.TileSheet : ws.MapImages[0];
}

MapDrawOutcome DrawWorkspaceMap(Workspace& ws, int32_t mapNumber, const MapSharedOptions& options) {
    TMapVariables& map = MapRecord(ws, mapNumber);
    const bool firstMap = MapSlot(mapNumber) == 0;
    const RipParameters& rip = ws.Ripper.Parameters;
    if (firstMap) {
        map.MapTileWidth = rip.ActualTileWidth;
        map.MapTileHeight = rip.ActualTileHeight;
    }
    MapDrawContext context;
    context.MemoryImage = ws.Memory.MemoryImage;
    context.LoadedMapData = ws.LoadedMapData;
    context.TileSource = &MapTileSource(ws, mapNumber);
    context.TileCount = ws.Ripper.TileCount;
    context.RipAddress = rip.Address;
    context.Bitplanes = rip.Bitplanes;
    context.SkipBetweenTiles = rip.SkipBetweenTiles;
    context.ChipRamOffset = ws.Memory.ChipRamOffset;
    context.ColourTable = ws.Palette.Entries;
    context.Options = options;
    return DrawMap(map, MapPicture(ws, mapNumber), context);
}

} // namespace tavrik
