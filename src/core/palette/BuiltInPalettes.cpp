// The built-in palettes read from their group texts.
#include "palette/BuiltInPalettes.h"

#include <string>

namespace tavrik {

std::vector<Colour> ColoursFromGroupText(std::string_view groups) {
    constexpr size_t GroupLength = 6;
    std::vector<Colour> colours;
    for (size_t at = 0; at + GroupLength <= groups.size(); at += GroupLength)
        colours.push_back(ColourTextToColour("$" + std::string(groups.substr(at, GroupLength))));
    return colours;
}

const std::vector<Colour>& DefaultPaletteColours() {
    static const std::vector<Colour> colours = ColoursFromGroupText(DefaultPaletteText);
    return colours;
}

const std::vector<Colour>& C64PaletteColours() {
    static const std::vector<Colour> colours = ColoursFromGroupText(C64PaletteText);
    return colours;
}

} // namespace tavrik
