// The steps of decoding one map cell, in the order the values were made to be read.
#include "map/CellDecoder.h"

#include "app/Checked.h"

#include <utility>

namespace tavrik {

namespace {

bool Is(const TMapVariables& map, CustomGame game) { return map.CustomGameId == static_cast<int32_t>(game); }

// Right shifts are unsigned; the count is taken modulo 32 either way.
int32_t ShiftValue(int32_t value, int32_t shift) {
    const auto bits = static_cast<uint32_t>(value);
    if (shift < 0) return static_cast<int32_t>(bits << ((-static_cast<int64_t>(shift)) % 32));
    return static_cast<int32_t>(bits >> (shift % 32));
}

} // namespace

bool IsPointerMap(const TMapVariables& map) {
    return map.MemoryType == static_cast<int32_t>(MapMemoryType::Pointers) ||
           map.MemoryType == static_cast<int32_t>(MapMemoryType::WordPointers);
}

int64_t BytesPerTile(const TMapVariables& map, int32_t bitplanes, int32_t skipBetweenTiles) {
    const int64_t bits = CheckedMul(CheckedMul<int64_t>(map.MapTileWidth, map.MapTileHeight), int64_t{bitplanes});
    return CheckedAdd(bits / 8, int64_t{skipBetweenTiles});
}

CellDecoder::CellDecoder(const TMapVariables& map, std::span<const uint8_t> source, ReplacementRules rules,
                         TilePointerBase pointers, FlipSwitches flips)
    : Source(source), Map(map), Rules(std::move(rules)), Pointers(pointers), Flips(flips), Skip(EffectiveSkip(map)) {
    Source.Position = map.Address;
    if (Is(map, CustomGame::CaptainFizz)) Walls.emplace();
}

int32_t CellDecoder::ReadValue() {
    if (Walls) return Walls->Next(Source);
    switch (static_cast<MapMemoryType>(Map.MemoryType)) {
    case MapMemoryType::Word:
    case MapMemoryType::WordPointers: return Source.ReadWordBE();
    case MapMemoryType::Longword:
    case MapMemoryType::Pointers: return static_cast<int32_t>(Source.ReadLongBE());
    default: return Source.ReadByte();
    }
}

// Replacements, shift, mask and the pointer conversion; the flips are read before the shift.
int32_t CellDecoder::TileNumber(int32_t value) const {
    value = ShiftValue(value, Map.Shift);
    value = value & Map.Mask & ~(Map.FlipYMask | Map.FlipXMask);
    if (!IsPointerMap(Map)) return value;
    const int64_t tile = (int64_t{value} + Pointers.ChipRamOffset - Pointers.RipAddress) / Pointers.BytesPerTile;
    return ApplyReplacementRules(Rules, static_cast<int32_t>(static_cast<uint32_t>(tile)));
}

TMapCell CellDecoder::Decode() {
    TMapCell decoded;
    decoded.SourceOffset = Source.Position;
    // Lost Vikings reads the two halves of every 32-bit group in swapped order.
    int64_t swapMove = 0;
    if (Is(Map, CustomGame::LostVikings)) swapMove = Source.Position % 4 == 0 ? 2 : -2;
    Source.Position += swapMove;
    int32_t value = ReadValue();
    Source.Position += Skip;
    Source.Position -= swapMove;
    value = ApplySecondPlaneRules(Map, Source, value);
    decoded.RawValue = value;
    if (Is(Map, CustomGame::BattleSquadron)) value /= 80;
    if (Map.MemoryType >= 0 && Map.MemoryType <= static_cast<int32_t>(MapMemoryType::Longword))
        value = ApplyReplacementRules(Rules, value);
    decoded.FlipX = Flips.FlipXEnabled && (value & Map.FlipXMask) != 0;
    decoded.FlipY = Flips.FlipYEnabled && (value & Map.FlipYMask) != 0;
    decoded.TileIndex = TileNumber(value);
    return decoded;
}

} // namespace tavrik
