// Reading back what the Tiled export wrote: a literal drawing of a Tiled map (each gid's tile copied
// pixel by pixel with its flips over the background), the gids of a TMX or JSON file, and Tiled's own
// command-line renderer.
#pragma once

#include "imageio/Image.h"
#include "tiled/TiledMap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik::test {

// The map as 24-bit colours.
Image DrawTiledMap(const TiledMap& map);

// The CSV data of a TMX file's one layer, row by row.
std::vector<uint32_t> TmxGids(const std::string& tmxPath);
// The data of a Tiled JSON map's one layer.
std::vector<uint32_t> TiledJsonGids(const std::string& jsonPath);

// Draws a TMX or JSON map file with Tiled's tmxrasterizer (run off-screen) and reads the picture back as
// 24-bit colours, laid over the background colour as the editor shows it (the renderer leaves empty
// cells transparent). Tests calling it begin with TAVRIK_SKIP_WITHOUT_TILED().
Image RasterizeWithTiled(const std::string& mapPath, Colour background);

// Counts the pixels whose colours differ (both images must have one size), reporting the first few.
int CountColourDifferences(const Image& a, const Image& b);

} // namespace tavrik::test
