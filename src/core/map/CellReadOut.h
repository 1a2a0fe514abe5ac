// The read-out of the map cell under the pointer: where its value was read, where it sits and what it
// holds, for the map tab's status bar panel (panel 3 for the first map, 4 for the second).
#pragma once

#include "map/MapVariables.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavrik {

// The text for a pointer at picture pixel (bx, by) of map mapNumber's view, such as
// "Map: $2A40: (3, 5) = $8012 = tile 18 ($12)". A pointer outside the picture reports the nearest edge
// cell of WidthInTiles x HeightInTiles (not of the drawn size, so a trimmed map's edge may show cells of
// an earlier draw). Nothing when the tile or map size is not above 0 or the cell was never decoded.
std::optional<std::string> CellReadOut(int32_t mapNumber, int32_t bx, int32_t by, const TMapVariables& map);

} // namespace tavrik
