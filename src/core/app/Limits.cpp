// The limits' checks and messages.
#include "app/Limits.h"

#include <cstdio>

namespace tavrik {

namespace {

std::string Size(int64_t width, int64_t height) { return std::to_string(width) + " x " + std::to_string(height); }

std::string ByteCount(uint64_t bytes) {
    constexpr uint64_t kilo = 1024;
    const char* units[] = {"bytes", "KB", "MB", "GB", "TB"};
    double amount = static_cast<double>(bytes);
    size_t unit = 0;
    while (amount >= kilo && unit + 1 < std::size(units)) {
        amount /= kilo;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", amount, units[unit]);
    return text;
}

} // namespace

void CheckRipSize(int32_t width, int32_t height) {
    const std::string rip = "A rip of " + Size(width, height) + " pixels";
    if (width > RipSideLimit || height > RipSideLimit)
        throw Error(rip + " is larger than the limit of " + std::to_string(RipSideLimit) + " pixels across or down");
    if (int64_t{width} * height > RipPixelLimit)
        throw Error(rip + " is larger than the limit of " + std::to_string(RipPixelLimit) + " pixels");
}

void CheckMatchTiles(int32_t tileWidth, int32_t tileHeight, int32_t sheetWidth, int32_t sheetHeight) {
    if (tileWidth < MatchTileSideMinimum || tileHeight < MatchTileSideMinimum)
        throw Error("Tiles of " + Size(tileWidth, tileHeight) + " pixels are too small to match: the limit is " +
                    Size(MatchTileSideMinimum, MatchTileSideMinimum));
    const int64_t tiles = int64_t{sheetWidth / tileWidth} * (sheetHeight / tileHeight);
    if (tiles > MatchTileLimit)
        throw Error("A tile sheet of " + std::to_string(tiles) + " tiles is too many to match: the limit is " +
                    std::to_string(MatchTileLimit) + " tiles");
}

std::string OutOfMemoryMessage(std::string_view what, uint64_t bytes) {
    return "Not enough memory: " + std::string(what) + " needs " + ByteCount(bytes);
}

} // namespace tavrik
