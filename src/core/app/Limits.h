// The sizes beyond which a picture, a rip, a map grid or a tile match can be of no use, held in one place so
// that the window, the command line and projects refuse the same inputs with the same words; and the message
// for memory that could not be had.
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

namespace tavrik {

// A picture in memory: a larger one is refused rather than allocated (about 1.5 GB at 24 bits).
inline constexpr int64_t PicturePixelLimit = int64_t{1} << 29;
// A picture file (ILBM, BMP) stating a larger size is damaged: 64 Mpixels is beyond any screen or game
// graphics. It is refused before anything is allocated.
inline constexpr int64_t PictureFilePixelLimit = int64_t{1} << 26;
// A map picture side of this many pixels or more is refused before anything is allocated.
inline constexpr int64_t MapImageSideLimit = 32768;
// The cells of a map's grid (24 bytes each): more are refused like a picture too large to make.
inline constexpr int64_t MapGridCellLimit = int64_t{1} << 25;

// A tile sheet wider or taller than this is beyond any screen and any game's graphics.
inline constexpr int32_t RipSideLimit = 16384;
// 32 Mpixels: a whole 4 MB of memory at one bitplane, or 32 MB at eight.
inline constexpr int64_t RipPixelLimit = int64_t{1} << 25;
// A tile smaller than this says too little about a picture to tell one tile from another.
inline constexpr int32_t MatchTileSideMinimum = 4;
// Tile numbers of a word map; a sheet with more tiles is no tile set of a game.
inline constexpr int64_t MatchTileLimit = 65536;

// Throws tavrik::Error naming the limit when a rip of width x height pixels exceeds it.
void CheckRipSize(int32_t width, int32_t height);
// Throws tavrik::Error naming the limit when tiles of tileWidth x tileHeight cut from a sheet of sheetWidth x
// sheetHeight pixels cannot be matched usefully.
void CheckMatchTiles(int32_t tileWidth, int32_t tileHeight, int32_t sheetWidth, int32_t sheetHeight);

// "Not enough memory: <what> needs 1.6 GB".
inline constexpr std::string_view NotEnoughMemoryMessage = "Not enough memory to finish this action";
std::string OutOfMemoryMessage(std::string_view what, uint64_t bytes);

// Runs allocate; running out of memory becomes a tavrik::Error saying what needed how much.
template <typename Allocate> decltype(auto) Allocating(std::string_view what, uint64_t bytes, Allocate&& allocate);

} // namespace tavrik

#include "app/Error.h"

namespace tavrik {

template <typename Allocate> decltype(auto) Allocating(std::string_view what, uint64_t bytes, Allocate&& allocate) {
    try {
        return allocate();
    } catch (const std::bad_alloc&) {
        throw Error(OutOfMemoryMessage(what, bytes));
    }
}

} // namespace tavrik
