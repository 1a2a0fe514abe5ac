// The palette widget's cells and hints, worked out without the widget.
#include "palette/PaletteDisplay.h"

#include "app/IntegerText.h"

namespace tavrik {

namespace {

// Trailing repeats are dropped, but never below two colours.
int32_t ShownCount(const TIntList& colours) {
    int32_t n = colours.Count();
    while (n > 2 && colours.Get(n - 1) == colours.Get(n - 2))
        --n;
    return n;
}

} // namespace

int32_t PaletteCellSize(int32_t shownCount, int32_t widgetWidth) {
    if (shownCount <= 16) return widgetWidth / 4;
    if (shownCount <= 64) return widgetWidth / 8;
    return widgetWidth / 16;
}

PaletteDisplay DisplayColourPalette(const TIntList& colours, int32_t widgetWidth, int32_t currentCellSize) {
    PaletteDisplay display;
    display.CellSize = currentCellSize;
    if (colours.Empty()) return display;
    const int32_t n = ShownCount(colours);
    for (int32_t i = 0; i < n; ++i)
        display.Colours.push_back(std::to_string(colours.Get(i)));
    display.CellSize = PaletteCellSize(n, widgetWidth);
    return display;
}

std::string ColourToRrggbb(Colour colour) {
    return Hex(uint32_t{RedOf(colour)}, 2) + Hex(uint32_t{GreenOf(colour)}, 2) + Hex(uint32_t{BlueOf(colour)}, 2);
}

std::string FormatPaletteHint(std::string_view format, Colour colour) {
    std::string hint;
    size_t at = 0;
    while (at < format.size()) {
        const std::string_view rest = format.substr(at);
        if (rest.starts_with("%hex")) {
            hint += ColourToRrggbb(colour);
            at += 4;
        } else if (rest.starts_with("%r")) {
            hint += std::to_string(RedOf(colour));
            at += 2;
        } else if (rest.starts_with("%g")) {
            hint += std::to_string(GreenOf(colour));
            at += 2;
        } else if (rest.starts_with("%b")) {
            hint += std::to_string(BlueOf(colour));
            at += 2;
        } else {
            hint += format[at++];
        }
    }
    return hint;
}

} // namespace tavrik
