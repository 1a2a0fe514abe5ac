// What the palette widget shows for a colour list, and the hint it shows over a cell.
#pragma once

#include "app/Colour.h"
#include "app/IntList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

struct PaletteDisplay {
    // The cells' colour texts: each Colour in decimal.
    std::vector<std::string> Colours;
    int32_t CellSize = 16;
};

// The cells for a colour list in a widget of the given width. Trailing repeats of the last colour
// are not shown, but at least two colours are. An empty list shows nothing and keeps currentCellSize.
PaletteDisplay DisplayColourPalette(const TIntList& colours, int32_t widgetWidth, int32_t currentCellSize);

// The cell size for n shown colours: 4 cells per row up to 16 colours, 8 up to 64, 16 above.
int32_t PaletteCellSize(int32_t shownCount, int32_t widgetWidth);

// The hint format of the palette widget: two lines, the second after a carriage return.
inline constexpr std::string_view PaletteHintFormat = "RGB(%r, %g, %b)\rHex: %hex";

// The format with %r, %g and %b replaced by the colour's channels in decimal and %hex by RRGGBB.
std::string FormatPaletteHint(std::string_view format, Colour colour);

// The colour as six upper-case hexadecimal digits RRGGBB.
std::string ColourToRrggbb(Colour colour);

} // namespace tavrik
