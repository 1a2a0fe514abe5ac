// Generated inputs for the map search tests and benchmarks: game-like memory with maps planted in it, and
// tile sheets with screenshots composed of their tiles.
#pragma once

#include "imageio/Image.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace tavrik::test {

// Random bytes broken by runs of zeros and of small numbers, as a game's memory looks.
std::vector<uint8_t> NoisyMemory(size_t size, std::mt19937& random);

// Where a map lies in memory and how its cells are stored.
struct MapLayout {
    int64_t Address = 0; // byte offset of cell (0, 0)
    int32_t Width = 0;   // cells across the screen
    int32_t Height = 0;  // cells down
    int32_t BytesPerValue = 1;
    bool Vertical = false; // columns stored one after another
};

// Writes value(x, y) big-endian into each cell's place (cells beyond the memory are left out).
void PlantMap(std::vector<uint8_t>& memory, const MapLayout& layout,
              const std::function<uint32_t(int32_t x, int32_t y)>& value);

// The index memo's lines for the columns x rows cells of tile(x, y) from (x0, y0).
std::vector<std::string> GridText(const std::function<int32_t(int32_t x, int32_t y)>& tile, int32_t x0, int32_t y0,
                                  int32_t columns, int32_t rows);

// A 24-bit tile sheet of columns x rows tiles in few colours, so that pixels repeat between tiles.
Image RandomTileSheet(int32_t columns, int32_t rows, int32_t tileWidth, int32_t tileHeight, int32_t colours,
                      std::mt19937& random);

// Draws tile t of the sheet at (x, y) of the picture, flipped by the flip code (1 upside down, 2 mirrored).
void DrawTile(const Image& sheet, int32_t tileWidth, int32_t tileHeight, int32_t tile, int32_t flipCode, Image& picture,
              int32_t x, int32_t y);

// Screenshots as players and emulators make them, from a picture of the game's screen.
// count sprites of 12 x 12 pixels in colours no tile has, pasted at random places (over tiles).
void PasteSprites(Image& picture, int32_t count, std::mt19937& random);
// The picture scaled by a whole factor (nearest neighbour) inside a border of the given width and colour.
Image ScaledWithBorder(const Image& picture, int32_t factor, int32_t border, Colour borderColour);
// Each channel's 4-bit level shown as level x 16 instead of level x 17.
void ShowLevelsTimesSixteen(Image& picture);

} // namespace tavrik::test
