// The storage rules of the games that the general map settings cannot describe.
#pragma once

#include "map/MapSource.h"
#include "map/MapVariables.h"

#include <array>
#include <cstdint>

namespace tavrik {

// Bytes skipped after every value: Brat interleaves its map with 15 other bytes, Lost Vikings never skips.
int32_t EffectiveSkip(const TMapVariables& map);

// Captain Fizz stores 32 x 32 blocks of bytes whose empty cells become wall tiles joined to their empty
// neighbours. The buffer holds one block at a time and refills itself from the map source.
class WallAutoJoin {
  public:
    static constexpr int32_t BlockSide = 32;
    static constexpr int32_t BlockBytes = BlockSide * BlockSide;

    uint8_t Next(MapSource& source);

  private:
    void Fill(MapSource& source);

    std::array<uint8_t, BlockBytes> Block{};
    int32_t ReadPosition = 0;
    bool Filled = false;
};

// The wall tile for an empty cell from which of its neighbours (up, right, down, left) are empty too.
uint8_t JoinedWallTile(bool up, bool right, bool down, bool left);

// Yo! Joe! keeps the ninth bit of every tile number in a plane this far behind the map, Quadralien a second
// layer this far behind.
inline constexpr int64_t YoJoePlaneDistance = 19200;
inline constexpr int64_t QuadralienLayerDistance = 1024;

// The rules that read a second byte behind the value; the source position is left where it was.
int32_t ApplySecondPlaneRules(const TMapVariables& map, const MapSource& source, int32_t value);

} // namespace tavrik
