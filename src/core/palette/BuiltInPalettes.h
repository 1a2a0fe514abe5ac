// The palettes built into the program: the default palette of a new project and the C64 palette.
#pragma once

#include "app/Colour.h"

#include <string_view>
#include <vector>

namespace tavrik {

// Each built-in palette is a text of six-hex-digit groups RRGGBB, one group per entry, in order.
inline constexpr std::string_view DefaultPaletteText = "000000a0a0a0ee0000aa0000dd8800ffee0088ff00008800"
                                                       "00bb6600dddd00aaff0077cc0000ff7700ffcc00eecc0088"
                                                       "662200ee5522aa5522ffccaa333333444444555555666666"
                                                       "777777888888999999aaaaaaccccccddddddeeeeeeffffff";

inline constexpr std::string_view C64PaletteText = "000000ffffffa80000a8ffffcc44cc00cc552844e0eeee77"
                                                   "dd8855804c40ffa890585858989498aaff6660b0ffd0d0d0";

// Reads a text of RRGGBB groups, each through ColourTextToColour("$" + group); a trailing
// incomplete group is ignored.
std::vector<Colour> ColoursFromGroupText(std::string_view groups);

// The 32 colours of the default palette.
const std::vector<Colour>& DefaultPaletteColours();
// The 16 colours of the C64 palette.
const std::vector<Colour>& C64PaletteColours();

} // namespace tavrik
