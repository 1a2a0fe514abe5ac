// Map search results as combo box items and as map tab settings.
#include "search/MapMatch.h"

#include "app/IntegerText.h"

#include <cstdlib>

namespace tavrik {

std::string MapMatchItemText(const MapMatch& match) {
    const std::string shift = " shift " + std::to_string(match.Shift);
    if (match.Vertical != 0) return "Vert $" + Hex(match.Address) + " Height " + std::to_string(match.Height) + shift;
    return "Horiz $" + Hex(match.Address) + " Width " + std::to_string(match.Width) + shift;
}

void ApplyMapMatch(const MapMatch& match, MapControls& controls) {
    controls.Address = DollarHex(static_cast<uint32_t>(match.Address));
    if (match.Width != 0) controls.WidthInTiles = std::to_string(match.Width);
    if (controls.WidthInTiles == "0") controls.WidthInTiles = "40";
    if (match.Height != 0) controls.HeightInTiles = std::to_string(match.Height);
    if (controls.HeightInTiles == "0") controls.HeightInTiles = "40";
    controls.MemoryTypeIndex = static_cast<int32_t>(match.MemoryType);
    controls.DirectionIndex = match.Vertical;
    controls.Shift = std::to_string(match.Shift);
    controls.Mask = DollarHex(match.Mask);
    controls.Adjust = std::to_string(std::llabs(static_cast<long long>(match.Offset)));
}

} // namespace tavrik
