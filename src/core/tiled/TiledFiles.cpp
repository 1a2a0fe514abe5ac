// Writing Tiled's XML and JSON map files. The attributes are those Tiled itself writes for an orthogonal
// map of one tile layer, so that the editor and its command-line renderer open the files unchanged.
#include "tiled/TiledFiles.h"

#include "app/Error.h"
#include "app/IntegerText.h"
#include "imageio/PngFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace tavrik {

namespace {

namespace fs = std::filesystem;

// The format version these files follow; later versions of Tiled read them as well.
constexpr const char* FormatVersion = "1.8";

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string ColourText(Colour colour) {
    return "#" + Hex(RedOf(colour), 2) + Hex(GreenOf(colour), 2) + Hex(BlueOf(colour), 2);
}

std::string Attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + XmlEscaped(value) + "\"";
}
std::string Attribute(const char* name, int64_t value) { return Attribute(name, std::to_string(value)); }

// The gids row by row, separated by commas, a line per row.
std::string GidRows(const TiledMap& map) {
    std::string text;
    for (int32_t row = 0; row < map.Height; ++row) {
        for (int32_t column = 0; column < map.Width; ++column) {
            text += std::to_string(map.GidAt(row, column));
            if (column + 1 < map.Width || row + 1 < map.Height) text += ',';
        }
        text += "\n";
    }
    return text;
}

std::string Stem(const std::string& path) { return fs::path(path).stem().string(); }
std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

std::string SiblingPath(const std::string& path, const std::string& nameEnd) {
    const fs::path p(path);
    return (p.parent_path() / (p.stem().string() + nameEnd)).string();
}

} // namespace

TiledFormat TiledFormatOfPath(const std::string& mapPath) {
    std::string extension = fs::path(mapPath).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".tmj" || extension == ".json" ? TiledFormat::Json : TiledFormat::Tmx;
}

std::string TilesetPathFor(const std::string& mapPath) { return SiblingPath(mapPath, ".tsx"); }
std::string SheetPathFor(const std::string& mapPath) { return SiblingPath(mapPath, "-tiles.png"); }

std::string TmxText(const TiledMap& map, const std::string& tilesetFile) {
    const TiledTileset& tileset = map.Tileset;
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map") + Attribute("version", FormatVersion) +
           Attribute("orientation", "orthogonal") + Attribute("renderorder", "right-down") +
           Attribute("width", map.Width) + Attribute("height", map.Height) + Attribute("tilewidth", tileset.TileWidth) +
           Attribute("tileheight", tileset.TileHeight) + Attribute("infinite", 0) +
           Attribute("backgroundcolor", ColourText(map.Background)) + Attribute("nextlayerid", 2) +
           Attribute("nextobjectid", 1) + ">\n <tileset" + Attribute("firstgid", 1) + Attribute("source", tilesetFile) +
           "/>\n <layer" + Attribute("id", 1) + Attribute("name", "Level") + Attribute("width", map.Width) +
           Attribute("height", map.Height) + ">\n  <data encoding=\"csv\">\n" + GidRows(map) +
           "</data>\n </layer>\n</map>\n";
}

std::string TsxText(const TiledTileset& tileset, const std::string& name, const std::string& sheetFile) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tileset") + Attribute("version", FormatVersion) +
           Attribute("name", name) + Attribute("tilewidth", tileset.TileWidth) +
           Attribute("tileheight", tileset.TileHeight) + Attribute("tilecount", tileset.TileCount) +
           Attribute("columns", tileset.Columns) + ">\n <image" + Attribute("source", sheetFile) +
           Attribute("width", tileset.Sheet.Width()) + Attribute("height", tileset.Sheet.Height()) + "/>\n</tileset>\n";
}

std::string TiledJsonText(const TiledMap& map, const std::string& name, const std::string& sheetFile) {
    const TiledTileset& tileset = map.Tileset;
    using Json = nlohmann::ordered_json;
    const Json tilesetJson = {{"firstgid", 1},
                              {"name", name},
                              {"tilewidth", tileset.TileWidth},
                              {"tileheight", tileset.TileHeight},
                              {"tilecount", tileset.TileCount},
                              {"columns", tileset.Columns},
                              {"margin", 0},
                              {"spacing", 0},
                              {"image", sheetFile},
                              {"imagewidth", tileset.Sheet.Width()},
                              {"imageheight", tileset.Sheet.Height()}};
    const Json layer = {{"id", 1},         {"name", "Level"},    {"type", "tilelayer"},  {"x", 0},
                        {"y", 0},          {"width", map.Width}, {"height", map.Height}, {"opacity", 1},
                        {"visible", true}, {"data", map.Gids}};
    const Json document = {{"type", "map"},
                           {"version", FormatVersion},
                           {"orientation", "orthogonal"},
                           {"renderorder", "right-down"},
                           {"width", map.Width},
                           {"height", map.Height},
                           {"tilewidth", tileset.TileWidth},
                           {"tileheight", tileset.TileHeight},
                           {"infinite", false},
                           {"backgroundcolor", ColourText(map.Background)},
                           {"nextlayerid", 2},
                           {"nextobjectid", 1},
                           {"tilesets", Json::array({tilesetJson})},
                           {"layers", Json::array({layer})}};
    try {
        return document.dump() + "\n";
    } catch (const Json::type_error&) {
        // JSON text is UTF-8: a name in another encoding would name a file that is not there.
        throw Error("Cannot write a JSON map naming " + sheetFile + ": the name is not UTF-8 text");
    }
}

void AddTiledMap(FileSet& files, const TiledMap& map, const std::string& mapPath, TiledFormat format) {
    const fs::path folder = fs::path(mapPath).parent_path();
    if (!folder.empty() && !fs::is_directory(folder))
        throw Error("Cannot write " + mapPath + ": the folder " + folder.string() + " does not exist");
    const std::string sheetPath = SheetPathFor(mapPath);
    files.Add(sheetPath, EncodePng(map.Tileset.Sheet));
    if (format == TiledFormat::Json) {
        files.Add(mapPath, TiledJsonText(map, Stem(mapPath), FileName(sheetPath)));
        return;
    }
    const std::string tilesetPath = TilesetPathFor(mapPath);
    files.Add(tilesetPath, TsxText(map.Tileset, Stem(mapPath), FileName(sheetPath)));
    files.Add(mapPath, TmxText(map, FileName(tilesetPath)));
}

void WriteTiledMap(const TiledMap& map, const std::string& mapPath, TiledFormat format) {
    FileSet files;
    AddTiledMap(files, map, mapPath, format);
    files.Commit();
}

} // namespace tavrik
