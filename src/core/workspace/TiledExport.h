// "Export Tiled Map...": one of the workspace's maps, as last drawn, written for the Tiled map editor.
#pragma once

#include "tiled/TiledFiles.h"
#include "workspace/Workspace.h"

#include <cstdint>
#include <string>

namespace tavrik {

struct TiledExportOptions {
    TiledFormat Format = TiledFormat::Tmx;
    // Keep each distinct tile the map shows once, mirror images counting as one ("Unique tiles").
    bool UniqueTiles = false;
};

// Writes map 1 or 2 to path (with OUT.tsx and OUT-tiles.png beside an OUT.tmx, OUT-tiles.png beside a
// JSON map) and returns the status text "Tiles: N of M kept" (N the exported tileset's tiles, M the full
// tile sheet's). Throws tavrik::Error with the message to show when the map has not been drawn, its tiles
// are missing, or a file cannot be written; then none of the files is written.
std::string ExportTiledMap(const Workspace& ws, int32_t mapNumber, const std::string& path,
                           const TiledExportOptions& options);
// The same files added to a set that the caller commits with others.
std::string AddTiledExport(FileSet& files, const Workspace& ws, int32_t mapNumber, const std::string& path,
                           const TiledExportOptions& options);

} // namespace tavrik
