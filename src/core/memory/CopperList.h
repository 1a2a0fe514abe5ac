// Following a copper list through chip RAM: the listing of its instructions, the palette its colour
// writes set up to a chosen display line, and the bitplane mode it selects.
#pragma once

#include "app/Address.h"
#include "app/Colour.h"
#include "memory/MemoryImage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// The custom register names by offset $000 to $1FE (index = offset div 2); unused offsets are empty.
extern const std::array<std::string_view, 256> CustomRegisterNames;

// A walk ends after this many instructions, which ends a list that loops forever.
inline constexpr int32_t MaxCopperInstructions = 10000;

struct CopperWalk {
    // Every line of the listing, headings first, as the "Info" tab's copper list memo shows them.
    std::vector<std::string> Lines;
    // EcsPalette with the colour writes met before the stop line.
    std::array<PaletteEntry, 32> Palette{};
    // The last BPLCON0 written with any bitplanes; 0 when none was.
    uint16_t LastBplcon0 = 0;
    // Set when the walk met an address outside chip RAM's reach; Lines holds what was listed before it,
    // and the palette must not be used.
    std::string Error;
};

// Walks the copper list at file offset start; the stop line is the last display line whose waits do
// not end the walk (0 to 254). Never throws for anything in memory, and reads only inside the image.
CopperWalk WalkCopperList(const MemoryState& memory, uint32_t start, int32_t stopLine);

// "Game uses N bitplanes", or the dual-playfield split, for a BPLCON0 value.
std::string BitplaneSummary(uint16_t bplcon0);

// The start of a walk from the text of EditGfxPaletteAddress: nothing for an empty text or one that
// is no number; a leading "+" (or the chip-relative display mode) counts from ChipRamOffset.
// The sum is 32-bit, as ParseAddress adds; a start that wraps below chip RAM is the walk's error.
std::optional<uint32_t> ProcessStartAddress(std::string_view text, const AddressMode& mode);

// Where the Copperlist action starts: the saved COP1LC inside the memory image (32-bit sum).
uint32_t CopperlistActionStart(const MemoryState& memory);

} // namespace tavrik
