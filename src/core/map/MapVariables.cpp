// The map record's start-up state and bounded cell look-up.
#include "map/MapVariables.h"

namespace tavrik {

TMapVariables NewMapVariables(int32_t mapNumber) {
    TMapVariables map;
    map.MapNumber = mapNumber;
    if (mapNumber == 2) {
        map.MapTileWidth = 32;
        map.MapTileHeight = 32;
    }
    return map;
}

const TMapCell* CellAt(const TMapVariables& map, int32_t row, int32_t column) {
    if (row < 0 || column < 0 || static_cast<size_t>(row) >= map.Cells.size()) return nullptr;
    const std::vector<TMapCell>& cells = map.Cells[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cells.size()) return nullptr;
    return &cells[static_cast<size_t>(column)];
}

} // namespace tavrik
