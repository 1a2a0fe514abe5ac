// The map tabs' reading rules: fields are stored as soon as they are read, and the first field that is not
// a number ends the reading quietly.
#include "map/MapSettings.h"

#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace tavrik {

namespace {

// Ends a reading quietly; caught where the reading started.
struct ReadingStopped {};

void Read(const std::string& text, int32_t& field) {
    const std::optional<int32_t> value = ParseIntegerText(text);
    if (!value) throw ReadingStopped{};
    field = *value;
}

// The fields both readers share, in the order the tab is read; the custom game sits between the two
// halves only for ReadMapSettings.
void ReadLeadingFields(const MapControls& c, TMapVariables& map, const AddressMode& addresses) {
    map.Address = ParseAddress(c.Address, addresses);
    Read(c.WidthInTiles, map.WidthInTiles);
    Read(c.HeightInTiles, map.HeightInTiles);
    Read(c.Mask, map.Mask);
    Read(c.Shift, map.Shift);
    map.MemoryType = c.MemoryTypeIndex;
    map.Direction = c.DirectionIndex;
    Read(c.Adjust, map.Adjust);
    Read(c.TrimTiles, map.TrimTiles);
    Read(c.SkipBytes, map.SkipBytes);
    Read(c.FlipYMask, map.FlipYMask);
    Read(c.FlipXMask, map.FlipXMask);
    Read(c.TilesPerBlockAcross, map.TilesPerBlockAcross);
    Read(c.TilesPerBlockDown, map.TilesPerBlockDown);
    map.TilesPerBlockDirection = c.TilesPerBlockDirectionIndex;
}

// A map narrower or lower than one block becomes 0 wide or high and draws nothing.
void RoundToBlocks(TMapVariables& map) {
    map.WidthInTiles = std::max(map.WidthInTiles, 1);
    map.HeightInTiles = std::max(map.HeightInTiles, 1);
    map.TilesPerBlockAcross = std::max(map.TilesPerBlockAcross, 1);
    map.TilesPerBlockDown = std::max(map.TilesPerBlockDown, 1);
    map.WidthInTiles = map.WidthInTiles / map.TilesPerBlockAcross * map.TilesPerBlockAcross;
    map.HeightInTiles = map.HeightInTiles / map.TilesPerBlockDown * map.TilesPerBlockDown;
}

// "Actual tile size:" gives the second map the size of its blocks; a part that is no number is left alone.
void ReadSecondMapTileSize(const EditableComboText& tileSize, TMapVariables& secondMap) {
    if (tileSize.ItemIndex <= 0 && tileSize.Text == SameAsTiles) return;
    std::string rest = tileSize.Text;
    const std::string head = SplitAt(rest, "x");
    if (const std::optional<int32_t> width = ParseIntegerText(Trim(head))) secondMap.MapTileWidth = *width;
    if (const std::optional<int32_t> height = ParseIntegerText(Trim(rest))) secondMap.MapTileHeight = *height;
}

void FinishReading(const MapControls& controls, TMapVariables& map, TMapVariables& secondMap) {
    RoundToBlocks(map);
    if (map.MapNumber == 1) ReadSecondMapTileSize(controls.TileSize, secondMap);
}

} // namespace

int32_t CustomGameIdOf(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, CustomGame>, 7> games{{
        {"Action Fighter", CustomGame::ActionFighter},
        {"Yo! Joe!", CustomGame::YoJoe},
        {"Quadralien", CustomGame::Quadralien},
        {"Lost Vikings", CustomGame::LostVikings},
        {"Captain Fizz", CustomGame::CaptainFizz},
        {"Battle Squadron", CustomGame::BattleSquadron},
        {"Brat", CustomGame::Brat},
    }};
    for (const auto& [name, game] : games)
        if (name == text) return static_cast<int32_t>(game);
    return 0;
}

void ReadMapSettings(const MapControls& controls, TMapVariables& map, TMapVariables& secondMap,
                     const AddressMode& addresses) {
    try {
        ReadLeadingFields(controls, map, addresses);
    } catch (const ReadingStopped&) {
        return;
    }
    map.CustomGame = controls.CustomGame;
    map.CustomGameId = CustomGameIdOf(controls.CustomGame);
    FinishReading(controls, map, secondMap);
}

bool ReadCreateMapSettings(const MapControls& controls, TMapVariables& firstMap, TMapVariables& secondMap,
                           const AddressMode& addresses) {
    try {
        ReadLeadingFields(controls, firstMap, addresses);
    } catch (const ReadingStopped&) {
        return false;
    }
    FinishReading(controls, firstMap, secondMap);
    return true;
}

std::string MaskPresetText(int32_t itemIndex) {
    static constexpr std::array<uint32_t, 9> numbers{0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF, 0x3FFF, 0x7FFF, 0xFFFF};
    if (itemIndex < 0 || static_cast<size_t>(itemIndex) >= numbers.size()) return "$ffffffff";
    return DollarHex(numbers[static_cast<size_t>(itemIndex)]);
}

} // namespace tavrik
