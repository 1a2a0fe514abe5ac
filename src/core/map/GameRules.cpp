// The per-game map rules.
#include "map/GameRules.h"

namespace tavrik {

int32_t EffectiveSkip(const TMapVariables& map) {
    switch (static_cast<CustomGame>(map.CustomGameId)) {
    case CustomGame::Brat: return 15;
    case CustomGame::LostVikings: return 0;
    default: return map.SkipBytes;
    }
}

uint8_t JoinedWallTile(bool up, bool right, bool down, bool left) {
    return static_cast<uint8_t>(0x29 + (up ? 1 : 0) + (right ? 2 : 0) + (down ? 4 : 0) + (left ? 8 : 0));
}

void WallAutoJoin::Fill(MapSource& source) {
    std::array<uint8_t, BlockBytes> raw{};
    for (uint8_t& byte : raw)
        byte = source.ReadByte();
    // A neighbour outside the block counts as not empty.
    auto emptyAt = [&raw](int32_t row, int32_t column) {
        return row >= 0 && row < BlockSide && column >= 0 && column < BlockSide && raw[row * BlockSide + column] == 0;
    };
    for (int32_t row = 0; row < BlockSide; ++row)
        for (int32_t column = 0; column < BlockSide; ++column) {
            const uint8_t byte = raw[row * BlockSide + column];
            Block[row * BlockSide + column] = byte != 0
                                                  ? byte
                                                  : JoinedWallTile(emptyAt(row - 1, column), emptyAt(row, column + 1),
                                                                   emptyAt(row + 1, column), emptyAt(row, column - 1));
        }
    ReadPosition = 0;
    Filled = true;
}

uint8_t WallAutoJoin::Next(MapSource& source) {
    if (!Filled) Fill(source);
    const uint8_t value = Block[ReadPosition++];
    if (ReadPosition == BlockBytes) {
        Filled = false;
        ReadPosition = 0;
    }
    return value;
}

int32_t ApplySecondPlaneRules(const TMapVariables& map, const MapSource& source, int32_t value) {
    switch (static_cast<CustomGame>(map.CustomGameId)) {
    case CustomGame::YoJoe:
        if (source.ByteAt(source.Position + YoJoePlaneDistance - 1) & 0x80)
            value = static_cast<int32_t>(static_cast<uint32_t>(value) + 256u);
        return value;
    case CustomGame::Quadralien:
        return value == 0 ? source.ByteAt(source.Position + QuadralienLayerDistance - 1) : value;
    default: return value;
    }
}

} // namespace tavrik
