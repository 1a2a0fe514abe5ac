// The Amiga screen of a save state rebuilt from its copper list and saved custom registers: planes,
// resolution, interlace, HAM6 and HAM8, extra-half-brite, dual playfield, AGA colours, per-line colour changes.
#pragma once

#include "memory/MemoryImage.h"
#include "screen/CopperDisplay.h"
#include "screen/Screen.h"

#include <optional>

namespace tavrik {

// How BPLCON0 and its neighbours lay out the planes of one field.
struct DisplayMode {
    bool Aga = false;
    int32_t Planes = 0;
    bool Hires = false;
    bool SuperHires = false;
    bool Interlaced = false;
    bool Ham = false;
    bool DualPlayfield = false;
    bool Ehb = false;
    int32_t Width = 0;     // fetched pixels per line
    int32_t Height = 0;    // displayed lines of one field
    int32_t RowBytes = 0;  // bytes fetched per plane and line
};

DisplayMode ReadDisplayMode(const DisplayRegisters& registers, bool aga);

// Largest picture side accepted, far above any real display.
inline constexpr int32_t MaxScreenSide = 4096;

// Throws tavrik::Error with a clear message when the state holds no usable display (no chip RAM, no copper
// list, no planes, no lines). baseColours, when given, replaces the saved colour registers.
RebuiltScreen RebuildAmigaScreen(const MemoryState& memory,
                                 const std::optional<std::array<Colour, 256>>& baseColours = std::nullopt);

} // namespace tavrik
