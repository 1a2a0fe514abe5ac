// Tiled's file formats: the TMX map with its external TSX tileset, and the JSON map with the tileset
// embedded; both name the tile sheet PNG written beside them.
#pragma once

#include "app/FileWriter.h"
#include "tiled/TiledMap.h"

#include <string>

namespace tavrik {

enum class TiledFormat { Tmx, Json };

// The format a map file's name asks for: JSON for ".tmj" and ".json" (in any case), TMX otherwise.
TiledFormat TiledFormatOfPath(const std::string& mapPath);

// The files beside a map file: OUT.tmx gets OUT.tsx and OUT-tiles.png.
std::string TilesetPathFor(const std::string& mapPath);
std::string SheetPathFor(const std::string& mapPath);

// The texts of the files. File names are written as given (relative to the file that names them).
std::string TmxText(const TiledMap& map, const std::string& tilesetFile);
std::string TsxText(const TiledTileset& tileset, const std::string& name, const std::string& sheetFile);
std::string TiledJsonText(const TiledMap& map, const std::string& name, const std::string& sheetFile);

// Adds the map file at mapPath in format to files, together with the files it names (the tile sheet, and
// the tileset of a TMX map): they are written when files is committed, all of them or none. Throws
// tavrik::Error naming the file that cannot be written.
void AddTiledMap(FileSet& files, const TiledMap& map, const std::string& mapPath, TiledFormat format);
// The same written at once.
void WriteTiledMap(const TiledMap& map, const std::string& mapPath, TiledFormat format);

} // namespace tavrik
