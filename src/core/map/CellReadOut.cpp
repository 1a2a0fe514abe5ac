// The cell read-out of the map views.
#include "map/CellReadOut.h"

#include "app/IntegerText.h"

#include <algorithm>

namespace tavrik {

namespace {

// "$8012 = tile 18 ($12)", or "$12" when no rule changed the value.
std::string ValueText(const TMapCell& cell) {
    std::string text = DollarHex(static_cast<uint32_t>(cell.RawValue));
    if (cell.TileIndex != cell.RawValue)
        text +=
            " = tile " + std::to_string(cell.TileIndex) + " (" + DollarHex(static_cast<uint32_t>(cell.TileIndex)) + ")";
    return text;
}

// A read before the start of memory (a negative skip at offset 0) shows its 32-bit pattern, as it always has.
std::string OffsetText(int64_t offset) {
    return offset < 0 ? DollarHex(static_cast<uint32_t>(offset)) : DollarHexWide(static_cast<uint64_t>(offset));
}

} // namespace

std::optional<std::string> CellReadOut(int32_t mapNumber, int32_t bx, int32_t by, const TMapVariables& map) {
    if (map.MapTileWidth <= 0 || map.MapTileHeight <= 0 || map.WidthInTiles <= 0 || map.HeightInTiles <= 0)
        return std::nullopt;
    const int32_t column = std::clamp(bx / map.MapTileWidth, int32_t{0}, map.WidthInTiles - 1);
    const int32_t row = std::clamp(by / map.MapTileHeight, int32_t{0}, map.HeightInTiles - 1);
    if (row > map.CellRows || column > map.CellColumns) return std::nullopt;
    const TMapCell* cell = CellAt(map, row, column);
    if (cell == nullptr) return std::nullopt;
    const std::string name = mapNumber == 2 ? "Map 2:" : "Map:";
    return name + " " + OffsetText(cell->SourceOffset) + ": (" + std::to_string(column) + ", " +
           std::to_string(row) + ") = " + ValueText(*cell);
}

} // namespace tavrik
