// The literal Tiled reference of the export tests.
#include "support/TiledReference.h"

#include "support/PictureTestFiles.h"
#include "support/TextFiles.h"

#include "imageio/PngFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace tavrik::test {

Image DrawTiledMap(const TiledMap& map) {
    const TiledTileset& tileset = map.Tileset;
    const int32_t w = tileset.TileWidth, h = tileset.TileHeight;
    Image picture(map.Width * w, map.Height * h, PixelFormat::Rgb24);
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            picture.SetRgb(x, y, map.Background);
    for (int32_t row = 0; row < map.Height; ++row)
        for (int32_t column = 0; column < map.Width; ++column) {
            const uint32_t gid = map.GidAt(row, column);
            if (gid == 0) continue;
            const int32_t tile = static_cast<int32_t>((gid & TiledTileBits) - 1);
            if (tile >= tileset.TileCount) throw std::runtime_error("gid past the tileset");
            const bool flipX = (gid & TiledFlipXBit) != 0, flipY = (gid & TiledFlipYBit) != 0;
            for (int32_t dy = 0; dy < h; ++dy)
                for (int32_t dx = 0; dx < w; ++dx) {
                    const int32_t sx = (tile % tileset.Columns) * w + (flipX ? w - 1 - dx : dx);
                    const int32_t sy = (tile / tileset.Columns) * h + (flipY ? h - 1 - dy : dy);
                    picture.SetRgb(column * w + dx, row * h + dy, tileset.Sheet.ColourAt(sx, sy));
                }
        }
    return picture;
}

std::vector<uint32_t> TmxGids(const std::string& tmxPath) {
    const std::string text = ReadText(tmxPath);
    const std::string open = "<data encoding=\"csv\">";
    const size_t start = text.find(open);
    const size_t end = text.find("</data>");
    if (start == std::string::npos || end == std::string::npos) throw std::runtime_error("no CSV data in " + tmxPath);
    std::vector<uint32_t> gids;
    std::istringstream csv(text.substr(start + open.size(), end - start - open.size()));
    for (std::string number; std::getline(csv, number, ',');)
        gids.push_back(static_cast<uint32_t>(std::stoul(number)));
    return gids;
}

std::vector<uint32_t> TiledJsonGids(const std::string& jsonPath) {
    const nlohmann::json map = ReadJsonFile(jsonPath);
    std::vector<uint32_t> gids;
    for (const nlohmann::json& gid : map.at("layers").at(0).at("data"))
        gids.push_back(static_cast<uint32_t>(gid.get<int64_t>()));
    return gids;
}

Image RasterizeWithTiled(const std::string& mapPath, Colour background) {
    const std::string picture = mapPath + ".rasterized.png";
    const std::string laid = mapPath + ".rasterized.ppm";
    RunCommand("QT_QPA_PLATFORM=offscreen tmxrasterizer --no-smoothing " + Quoted(mapPath) + " " + Quoted(picture) +
               " 2>/dev/null");
    char colour[32];
    std::snprintf(colour, sizeof colour, "rgb:%02x/%02x/%02x", RedOf(background), GreenOf(background),
                  BlueOf(background));
    RunCommand("pngtopnm -mix -background=" + std::string(colour) + " " + Quoted(picture) + " > " + Quoted(laid) +
               " 2>/dev/null");
    const Pnm pnm = ReadPnm(laid);
    Image result(pnm.Width, pnm.Height, PixelFormat::Rgb24);
    for (int y = 0; y < pnm.Height; ++y)
        for (int x = 0; x < pnm.Width; ++x)
            result.SetRgb(x, y, MakeColour(pnm.At(x, y).R, pnm.At(x, y).G, pnm.At(x, y).B));
    return result;
}

int CountColourDifferences(const Image& a, const Image& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        ADD_FAILURE() << "sizes differ: " << a.Width() << "x" << a.Height() << " and " << b.Width() << "x"
                      << b.Height();
        return -1;
    }
    int differing = 0;
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t x = 0; x < a.Width(); ++x)
            if (a.ColourAt(x, y) != b.ColourAt(x, y) && differing++ < 5)
                ADD_FAILURE() << "pixel " << x << ", " << y << ": " << std::hex << a.ColourAt(x, y) << " and "
                              << b.ColourAt(x, y);
    return differing;
}

} // namespace tavrik::test
