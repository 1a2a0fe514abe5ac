// Tiled's file formats: the TMX map with its external TSX tileset, and the JSON map with the tileset
// embedded; both name the tile sheet PNG written beside them.
#pragma once

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

// Writes the map file at mapPath in format together with the files it names: the tile sheet first and
// the map last, each written beside its name and then renamed over it. Throws tavrik::Error naming the
// file that could not be written.
void WriteTiledMap(const TiledMap& map, const std::string& mapPath, TiledFormat format);

} // namespace tavrik
