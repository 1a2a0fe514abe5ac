// The colour of each pixel of a displayed Amiga line from its plane values: plain colour registers,
// extra-half-brite, HAM6, HAM8 and dual playfield.
#pragma once

#include "screen/AmigaScreen.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrik {

// values holds one pixel's plane bits each (plane 1 in bit 0); colours are the registers in effect on the line.
std::vector<Colour> ColourLine(const DisplayMode& mode, const DisplayRegisters& registers,
                               const std::array<Colour, 256>& colours, std::span<const uint8_t> values);

} // namespace tavrik
