// The palette popup's rules, kept apart from the menu and the widget.
#include "palette/PalettePopup.h"

#include "app/IntegerText.h"
#include "palette/PaletteDisplay.h"

namespace tavrik {

namespace {

// Characters first to first + 1 (1-based) of the text, as far as the text reaches.
std::string_view TwoCharacters(std::string_view text, size_t first) {
    const size_t start = first - 1;
    if (start >= text.size()) return {};
    return text.substr(start, 2);
}

} // namespace

bool OpenPalettePopup(const WorkingPalette& palette, int32_t cell, PalettePopupState& state) {
    state.PopupCell = cell;
    state.PopupColour = NoPopupColour;
    if (cell < 0 || cell >= palette.Colours.Count()) return false;
    state.PopupColour = static_cast<Colour>(palette.Colours.Get(cell));
    return true;
}

std::string CustomColourInitialText(Colour colour) { return ColourToRrggbb(colour); }

std::string CustomColourAnswerText(std::string_view answer) {
    std::string text = "$";
    text += TwoCharacters(answer, 5);
    text += TwoCharacters(answer, 3);
    text += TwoCharacters(answer, 1);
    return text;
}

std::optional<Colour> CustomColourAnswer(std::string_view answer) {
    const std::optional<int32_t> value = ParseIntegerText(CustomColourAnswerText(answer));
    if (!value) return std::nullopt;
    return static_cast<Colour>(*value);
}

} // namespace tavrik
