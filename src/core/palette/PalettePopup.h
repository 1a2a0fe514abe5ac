// The palette popup menu: its colour items, when it opens, and the "Custom..." colour box.
#pragma once

#include "app/Colour.h"
#include "palette/WorkingPalette.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrik {

struct PaletteMenuColour {
    std::string_view Caption;
    Colour Value;
};

// The colour items of PopupMenuPalette in menu order; "Custom...", the divider and
// "Set as Search Background" follow them.
inline constexpr std::array<PaletteMenuColour, 8> PaletteMenuColours{{
    {"Black", 0x000000},
    {"White", 0xFFFFFF},
    {"Red", 0x0000FF},
    {"Yellow", 0x00FFFF},
    {"Green", 0x00FF00},
    {"Aqua", 0xFFFF00},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
}};

inline constexpr Colour NoPopupColour = 0xFF00FF;

struct PalettePopupState {
    int32_t PopupCell = -1;
    Colour PopupColour = NoPopupColour;
};

// A right click on the palette widget over cell (-1 when over no cell): records the cell and its
// colour, and tells whether the menu opens (only over a cell of the colour list).
bool OpenPalettePopup(const WorkingPalette& palette, int32_t cell, PalettePopupState& state);

inline constexpr const char* CustomColourTitle = "Replace colour";
inline constexpr const char* CustomColourPrompt = "Colour in RRGGBB format:";

// The text the "Custom..." box starts with: the colour as RRGGBB.
std::string CustomColourInitialText(Colour colour);

// The colour typed as RRGGBB: "$" + characters 5-6 + 3-4 + 1-2 of the answer read as integer text,
// which is the Colour form $BBGGRR. Nothing when that text is not a number.
std::optional<Colour> CustomColourAnswer(std::string_view answer);

// The text form of the same answer ("$BBGGRR"), which the search colour strip is given.
std::string CustomColourAnswerText(std::string_view answer);

} // namespace tavrik
