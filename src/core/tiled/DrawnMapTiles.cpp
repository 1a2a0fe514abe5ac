// Cutting a drawn map's tile source into a tileset and turning its drawn cells into gids.
#include "tiled/DrawnMapTiles.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "map/DrawnCells.h"
#include "map/HexFont.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tavrik {

namespace {

std::string MapName(const TMapVariables& map) { return "Map " + std::to_string(map.MapNumber); }

void CheckDrawn(const TMapVariables& map, const DrawnMapSources& sources) {
    const Image* picture = sources.Picture;
    if (!picture || picture->Empty() || map.DrawWidth <= 0 || map.DrawHeight <= 0 || map.MapTileWidth <= 0 ||
        map.MapTileHeight <= 0)
        throw Error(MapName(map) + " is empty: draw it (Create Map) before exporting it");
    if (int64_t{map.DrawWidth} * map.MapTileWidth != picture->Width() ||
        int64_t{map.DrawHeight} * map.MapTileHeight != picture->Height())
        throw Error(MapName(map) + "'s settings changed since it was drawn: draw it again before exporting it");
    const Image* source = sources.TileSource;
    if (!source || source->Empty())
        throw Error(MapName(map) + " has no tiles to export: rip or load its tile sheet first");
    if (source->Format() != picture->Format())
        throw Error(MapName(map) + "'s tile sheet changed since the map was drawn: draw it again before exporting it");
    // The second map draws nothing from a picture narrower than one of its tiles.
    if (map.MapNumber == 2 && source->Width() < map.MapTileWidth)
        throw Error("The first map's picture is narrower than one tile of map 2: there are no tiles to export");
}

// The colour index (or black) that the draw leaves where no tile lands.
uint8_t BlackIndex(const Image& picture) {
    return picture.Format() == PixelFormat::Indexed8 ? NearestColourIndex(picture.ColourTable, MakeColour(0, 0, 0)) : 0;
}

TiledTileset CutTileset(const TMapVariables& map, const Image& source, const Image& picture) {
    TiledTileset tileset;
    tileset.TileWidth = map.MapTileWidth;
    tileset.TileHeight = map.MapTileHeight;
    tileset.Columns = source.Width() >= map.MapTileWidth ? source.Width() / map.MapTileWidth : 1;
    const int32_t rows = CheckedAdd(source.Height(), map.MapTileHeight - 1) / map.MapTileHeight;
    tileset.TileCount = CheckedMul(tileset.Columns, rows);
    tileset.Sheet.Reset(CheckedMul(tileset.Columns, map.MapTileWidth), CheckedMul(rows, map.MapTileHeight),
                        source.Format());
    tileset.Sheet.ColourTable = picture.ColourTable;
    tileset.Sheet.Fill(BlackIndex(picture));
    CopyRect(source, 0, 0, tileset.Sheet.Width(), tileset.Sheet.Height(), tileset.Sheet, 0, 0);
    return tileset;
}

uint32_t CellGid(const TMapCell* cell, const TMapVariables& map, const DrawnMapSources& sources, int32_t tileCount) {
    if (!cell || cell->TileIndex > sources.TileCount) return 0;
    const int64_t tile = int64_t{cell->TileIndex} + map.Adjust;
    if (tile < 0 || tile >= tileCount) return 0;
    return TileGid(static_cast<uint32_t>(tile), FlipsOf(cell->FlipX, cell->FlipY));
}

} // namespace

TiledMap TiledMapOfDraw(const TMapVariables& map, const DrawnMapSources& sources) {
    CheckDrawn(map, sources);
    TiledMap tiled;
    tiled.Width = map.DrawWidth;
    tiled.Height = map.DrawHeight;
    tiled.Tileset = CutTileset(map, *sources.TileSource, *sources.Picture);
    tiled.Background = sources.Picture->Format() == PixelFormat::Indexed8
                           ? ColourFromEntry(sources.Picture->ColourTable[BlackIndex(*sources.Picture)])
                           : MakeColour(0, 0, 0);
    const DrawnCellGrid cells = DrawnCells(map);
    tiled.Gids.reserve(static_cast<size_t>(tiled.Width) * static_cast<size_t>(tiled.Height));
    for (int32_t row = 0; row < tiled.Height; ++row)
        for (int32_t column = 0; column < tiled.Width; ++column)
            tiled.Gids.push_back(CellGid(cells.At(row, column), map, sources, tiled.Tileset.TileCount));
    return tiled;
}

} // namespace tavrik
