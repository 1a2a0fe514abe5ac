// Colour text conversion.
#include "app/Colour.h"

#include "app/IntegerText.h"

namespace tavrik {

Colour ColourTextToColour(std::string_view text) {
    if (text.empty()) return 0;
    const std::optional<int32_t> value = ParseIntegerText(text);
    if (!value) return 0;
    const uint32_t v = static_cast<uint32_t>(*value);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

} // namespace tavrik
