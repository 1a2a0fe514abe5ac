// The Tiled export of a workspace map: the map's last draw cut into gids, optionally de-duplicated.
#include "workspace/TiledExport.h"

#include "tiled/DrawnMapTiles.h"
#include "tiled/UniqueTiles.h"
#include "workspace/MapDrawing.h"

namespace tavrik {

std::string AddTiledExport(FileSet& files, const Workspace& ws, int32_t mapNumber, const std::string& path,
                           const TiledExportOptions& options) {
    const DrawnMapSources sources{&MapPicture(ws, mapNumber), &MapTileSource(ws, mapNumber), ws.Ripper.TileCount};
    const TiledMap full = TiledMapOfDraw(MapRecord(ws, mapNumber), sources);
    const int32_t total = full.Tileset.TileCount;
    if (!options.UniqueTiles) {
        AddTiledMap(files, full, path, options.Format);
        return KeptTilesText(total, total);
    }
    const TiledMap unique = UniqueTiles(full);
    AddTiledMap(files, unique, path, options.Format);
    return KeptTilesText(unique.Tileset.TileCount, total);
}

std::string ExportTiledMap(const Workspace& ws, int32_t mapNumber, const std::string& path,
                           const TiledExportOptions& options) {
    FileSet files;
    std::string kept = AddTiledExport(files, ws, mapNumber, path, options);
    files.Commit();
    return kept;
}

} // namespace tavrik
