// Colours ($00BBGGRR, red in the low byte), colour-table entries and the Amiga colour word conversions.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavrik {

using Colour = uint32_t;

// One entry of an indexed image's colour table, in the byte order blue, green, red, 0.
struct PaletteEntry {
    uint8_t Blue = 0;
    uint8_t Green = 0;
    uint8_t Red = 0;
    uint8_t Reserved = 0;
    bool operator==(const PaletteEntry&) const = default;
};

constexpr uint8_t RedOf(Colour c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GreenOf(Colour c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(Colour c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
constexpr Colour MakeColour(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) | (static_cast<Colour>(blue) << 16);
}
constexpr PaletteEntry EntryFromColour(Colour c) { return PaletteEntry{BlueOf(c), GreenOf(c), RedOf(c), 0}; }
constexpr Colour ColourFromEntry(PaletteEntry e) { return MakeColour(e.Red, e.Green, e.Blue); }

// An Amiga 12-bit colour word $0RGB, each nibble times 17; bits 12-15 are ignored.
constexpr Colour AmigaColourToColour(uint16_t word) {
    return MakeColour(static_cast<uint8_t>(((word >> 8) & 15) * 17), static_cast<uint8_t>(((word >> 4) & 15) * 17),
                      static_cast<uint8_t>((word & 15) * 17));
}

// Reads "$RRGGBB" (any integer text; empty counts as 0) into a Colour; text that is no number gives black.
Colour ColourTextToColour(std::string_view text);

} // namespace tavrik
