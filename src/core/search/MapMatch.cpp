// Map search results as combo box items and as map tab settings.
#include "search/MapMatch.h"

#include "app/IntegerText.h"

#include <cstdlib>

namespace tavrik {

std::string MapMatchItemText(const MapMatch& match) {
    const std::string shift = " shift " + std::to_string(match.Shift);
    const std::string address = HexWide(static_cast<uint64_t>(match.Address));
    if (match.Vertical != 0) return "Vert $" + address + " Height " + std::to_string(match.Height) + shift;
    return "Horiz $" + address + " Width " + std::to_string(match.Width) + shift;
}

int32_t LevelWidth(const MapMatch& match) { return match.Vertical != 0 ? match.MapRows : match.Width; }

int32_t LevelHeight(const MapMatch& match) { return match.Vertical != 0 ? match.Height : match.MapRows; }

void ApplyMapMatch(const MapMatch& match, MapControls& controls, const AddressMode& addresses) {
    const bool level = match.MapRows > 0;
    controls.Address = FormatAddress(level ? match.MapAddress : match.Address, addresses);
    const int32_t width = level ? LevelWidth(match) : match.Width;
    const int32_t height = level ? LevelHeight(match) : match.Height;
    if (width != 0) controls.WidthInTiles = std::to_string(width);
    if (controls.WidthInTiles == "0") controls.WidthInTiles = "40";
    if (height != 0) controls.HeightInTiles = std::to_string(height);
    if (controls.HeightInTiles == "0") controls.HeightInTiles = "40";
    controls.MemoryTypeIndex = static_cast<int32_t>(match.MemoryType);
    controls.DirectionIndex = match.Vertical;
    controls.Shift = std::to_string(match.Shift);
    controls.Mask = DollarHex(match.Mask);
    controls.Adjust = std::to_string(std::llabs(static_cast<long long>(match.Offset)));
}

} // namespace tavrik
